#include "radical_table.h"

#include <algorithm>
#include <stdexcept>

#include "gbk_codec.h"

namespace lexomir {
namespace {

// The radicals by stroke count, one group per string. The table is written
// here in UTF-8 for readability and converted once; ⺮ (U+2EAE) becomes
// FE 71 through GB18030.
constexpr std::string_view kRadicalGroups[] = {
    "一丨丿丶乛乙乚亅",
    "十厂匸刂卜冂亻八人入勹儿匕几亠冫丷冖讠凵卩阝刀力又厶廴亅二匚",
    "干工土士扌艹寸廾大兀尢弋小口囗山巾彳彡犭夕夂饣广门氵忄宀辶彐尸己巳弓子屮女飞马彑纟幺巛川",
    "王无韦耂木支犬歹车牙戈旡比瓦止攴日曰月贝水见牛牜手气毛攵长片斤爪父爫氏欠风殳文方火斗灬户礻"
    "心肀爿毋卝厄爻尣",
    "玉示甘石龙歺业目田罒皿钅生矢禾白瓜鸟疒立穴衤疋皮癶矛母玄用",
    "耒老耳臣覀而页至虍虫肉缶舌竹⺮臼自血舟齐衣羊米聿艮艸羽糸糹色先行",
    "麦镸走赤車豆酉辰豕卤貝里足邑身谷豸龟角言辛見克辵",
    "青長雨非齿虎門隹阜金釒飠鱼隶采靣靑",
    "革頁面韭骨香鬼食風音首韋飛",
    "髟馬鬲鬥高鬯",
    "黄麥鳥魚麻鹿鹵黒",
    "鼎黑黍黹",
    "鼓黽鼠幹",
    "鼻齊",
    "齒",
    "龍",
    "龠",
};

}  // namespace

RadicalTable::RadicalTable() {
    std::size_t cell = 0;
    auto putCell = [&](std::string_view text) {
        if (cell >= static_cast<std::size_t>(kCellCount) || text.size() > 2) {
            throw std::logic_error("radical table does not fit its cells");
        }
        std::copy(text.begin(), text.end(), m_bytes.begin() + cell * kCellWidth);
        ++cell;
    };
    for (std::string_view group : kRadicalGroups) {
        putCell({});
        const std::string gbk = utf8ToGbk(group);
        for (std::size_t i = 0; i < gbk.size(); i += 2) putCell(std::string_view(gbk).substr(i, 2));
    }
    putCell({});
    if (cell != static_cast<std::size_t>(kCellCount)) {
        throw std::logic_error("radical table has the wrong number of cells");
    }
}

std::string_view RadicalTable::cell(int index) const {
    if (index < 0 || index >= kCellCount) return {};
    const char* start = m_bytes.data() + static_cast<std::size_t>(index) * kCellWidth;
    return {start, start[0] == '\0' ? 0u : 2u};
}

std::string_view RadicalTable::listedRadical(int index) const {
    return index < kListedCells ? cell(index) : std::string_view{};
}

int RadicalTable::strokeGroup(int index) const {
    const int last = std::min(index, kCellCount - 1);
    int group = 0;
    for (int i = 0; i <= last; ++i) {
        if (cell(i).empty()) ++group;
    }
    return group;
}

bool RadicalTable::contains(std::string_view radical) const {
    if (radical.size() != 2) return false;
    for (int i = 0; i < kCellCount; ++i) {
        if (cell(i) == radical) return true;
    }
    return false;
}

std::vector<std::string> RadicalTable::listItems() const {
    std::vector<std::string> items;
    items.reserve(kListedCells);
    int group = 0;
    const std::string strokesSuffix = utf8ToGbk("画");
    for (int i = 0; i < kListedCells; ++i) {
        const std::string_view text = cell(i);
        if (text.empty()) {
            items.push_back(std::to_string(++group) + strokesSuffix);
        } else {
            items.emplace_back(text);
        }
    }
    return items;
}

std::optional<int> RadicalTable::listIndexOf(std::string_view gbkText) const {
    const std::vector<std::string> items = listItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == gbkText) return static_cast<int>(i);
    }
    return std::nullopt;
}

const RadicalTable& BuShouTable() {
    static const RadicalTable table;
    return table;
}

}  // namespace lexomir
