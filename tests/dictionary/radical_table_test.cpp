#include "radical_table.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gbk_text.h"
#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;

const std::vector<int> kEmptyCells = {0,   9,   40,  85,  139, 169, 202, 227, 245,
                                      259, 266, 275, 280, 285, 288, 290, 292, 294};

TEST(RadicalTable, HasTheEmptyCellsAtTheirPlacesAndRadicalsElsewhere) {
    const RadicalTable& table = BuShouTable();
    const std::set<int> empty(kEmptyCells.begin(), kEmptyCells.end());
    int radicals = 0;
    for (int i = 0; i < RadicalTable::kCellCount; ++i) {
        if (empty.count(i)) {
            EXPECT_EQ(table.cell(i), "") << "cell " << i;
        } else {
            ASSERT_EQ(table.cell(i).size(), 2u) << "cell " << i;
            EXPECT_TRUE(isGbkLeadByte(static_cast<unsigned char>(table.cell(i)[0])))
                << "cell " << i;
            ++radicals;
        }
    }
    EXPECT_EQ(radicals, 277);
}

struct GroupCase {
    int group;
    int firstCell;         // the empty cell that opens the group
    const char* radicals;  // UTF-8, blank-separated, in table order
};

void PrintTo(const GroupCase& c, std::ostream* out) {
    *out << "group " << c.group;
}

class RadicalGroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(RadicalGroupTest, HoldsItsRadicalsInOrder) {
    const RadicalTable& table = BuShouTable();
    const GroupCase& c = GetParam();
    std::istringstream words(c.radicals);
    std::string radical;
    int cellIndex = c.firstCell;
    EXPECT_EQ(table.cell(cellIndex), "");
    EXPECT_EQ(table.strokeGroup(cellIndex), c.group);
    while (words >> radical) {
        ++cellIndex;
        EXPECT_EQ(table.cell(cellIndex), gbk(radical)) << "cell " << cellIndex;
        EXPECT_EQ(table.strokeGroup(cellIndex), c.group) << "cell " << cellIndex;
    }
    EXPECT_EQ(table.cell(cellIndex + 1), "") << "group " << c.group << " runs on";
}

INSTANTIATE_TEST_SUITE_P(
    Groups, RadicalGroupTest,
    ::testing::Values(
        GroupCase{1, 0, "一 丨 丿 丶 乛 乙 乚 亅"},
        GroupCase{
            2, 9,
            "十 厂 匸 刂 卜 冂 亻 八 人 入 勹 儿 匕 几 亠 冫 丷 冖 讠 凵 卩 阝 刀 力 又 厶 廴 "
            "亅 二 匚"},
        GroupCase{
            3, 40,
            "干 工 土 士 扌 艹 寸 廾 大 兀 尢 弋 小 口 囗 山 巾 彳 彡 犭 夕 夂 饣 广 门 氵 忄 "
            "宀 辶 彐 尸 己 巳 弓 子 屮 女 飞 马 彑 纟 幺 巛 川"},
        GroupCase{
            4, 85,
            "王 无 韦 耂 木 支 犬 歹 车 牙 戈 旡 比 瓦 止 攴 日 曰 月 贝 水 见 牛 牜 手 气 毛 "
            "攵 长 片 斤 爪 父 爫 氏 欠 风 殳 文 方 火 斗 灬 户 礻 心 肀 爿 毋 卝 厄 爻 尣"},
        GroupCase{
            5, 139,
            "玉 示 甘 石 龙 歺 业 目 田 罒 皿 钅 生 矢 禾 白 瓜 鸟 疒 立 穴 衤 疋 皮 癶 矛 母 "
            "玄 用"},
        GroupCase{
            6, 169,
            "耒 老 耳 臣 覀 而 页 至 虍 虫 肉 缶 舌 竹 ⺮ 臼 自 血 舟 齐 衣 羊 米 聿 艮 艸 羽 "
            "糸 糹 色 先 行"},
        GroupCase{7, 202,
                  "麦 镸 走 赤 車 豆 酉 辰 豕 卤 貝 里 足 邑 身 谷 豸 龟 角 言 辛 見 克 辵"},
        GroupCase{8, 227, "青 長 雨 非 齿 虎 門 隹 阜 金 釒 飠 鱼 隶 采 靣 靑"},
        GroupCase{9, 245, "革 頁 面 韭 骨 香 鬼 食 風 音 首 韋 飛"},
        GroupCase{10, 259, "髟 馬 鬲 鬥 高 鬯"}, GroupCase{11, 266, "黄 麥 鳥 魚 麻 鹿 鹵 黒"},
        GroupCase{12, 275, "鼎 黑 黍 黹"}, GroupCase{13, 280, "鼓 黽 鼠 幹"},
        GroupCase{14, 285, "鼻 齊"}, GroupCase{15, 288, "齒"}, GroupCase{16, 290, "龍"},
        GroupCase{17, 292, "龠"}),
    [](const auto& info) { return "Group" + std::to_string(info.param.group); });

struct StrokeGroupCase {
    int cell;
    const char* radical;  // UTF-8, empty for an empty cell
    int group;
};

void PrintTo(const StrokeGroupCase& c, std::ostream* out) {
    *out << "cell " << c.cell << " (" << c.radical << ")";
}

class StrokeGroupTest : public ::testing::TestWithParam<StrokeGroupCase> {};

TEST_P(StrokeGroupTest, CountsTheEmptyCellsUpToTheCell) {
    const StrokeGroupCase& c = GetParam();
    EXPECT_EQ(BuShouTable().cell(c.cell), gbk(c.radical));
    EXPECT_EQ(BuShouTable().strokeGroup(c.cell), c.group);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrokeGroupTest,
    ::testing::Values(StrokeGroupCase{0, "", 1}, StrokeGroupCase{1, "一", 1},
                      StrokeGroupCase{8, "亅", 1}, StrokeGroupCase{9, "", 2},
                      StrokeGroupCase{10, "十", 2}, StrokeGroupCase{37, "亅", 2},
                      StrokeGroupCase{54, "口", 3}, StrokeGroupCase{184, "⺮", 6},
                      StrokeGroupCase{259, "", 10}, StrokeGroupCase{293, "龠", 17},
                      StrokeGroupCase{294, "", 18}));

TEST(RadicalTable, BambooRadicalIsStoredAsFe71) {
    EXPECT_EQ(BuShouTable().cell(184), "\xFE\x71");
}

TEST(RadicalTable, StrokeGroupWalkStopsAtTheLastCell) {
    EXPECT_EQ(BuShouTable().strokeGroup(294), 18);
    EXPECT_EQ(BuShouTable().strokeGroup(5000), 18);
}

TEST(RadicalTable, ListItemsAreRadicalsAndStrokeHeaders) {
    const RadicalTable& table = BuShouTable();
    const std::vector<std::string> items = table.listItems();
    ASSERT_EQ(items.size(), 294u);
    int headers = 0;
    int radicals = 0;
    for (int i = 0; i < RadicalTable::kListedCells; ++i) {
        if (table.cell(i).empty()) {
            ++headers;
            EXPECT_EQ(items[i], gbk(std::to_string(headers) + "画")) << "item " << i;
        } else {
            ++radicals;
            EXPECT_EQ(items[i], table.cell(i)) << "item " << i;
        }
    }
    EXPECT_EQ(headers, 17);
    EXPECT_EQ(radicals, 277);
    EXPECT_EQ(items[0], gbk("1画"));
    EXPECT_EQ(items[259], gbk("10画"));
    EXPECT_EQ(items[259].size(), 4u);
    EXPECT_EQ(items[292], gbk("17画"));
    EXPECT_EQ(items[293], gbk("龠"));
}

struct ContainsCase : testing::NamedCase {
    std::string radical;
    bool expected;
};

class RadicalContainsTest : public ::testing::TestWithParam<ContainsCase> {};

TEST_P(RadicalContainsTest, TellsARadicalOfTheTable) {
    EXPECT_EQ(BuShouTable().contains(GetParam().radical), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadicalContainsTest,
    ::testing::Values(ContainsCase{"FirstRadical", gbk("一"), true},
                      ContainsCase{"LastRadical", gbk("龠"), true},
                      ContainsCase{"BambooRadical", "\xFE\x71", true},
                      ContainsCase{"RadicalWithAsciiSecondByte", gbk("亅"), true},
                      ContainsCase{"NotARadical", gbk("中"), false},
                      ContainsCase{"EmptyTextIsNoRadical", "", false},
                      ContainsCase{"OneByte", "a", false},
                      ContainsCase{"RadicalWithExtraBytes", gbk("一") + "a", false},
                      ContainsCase{"TwoRadicals", gbk("一丨"), false},
                      ContainsCase{"StrokeHeader", gbk("1画"), false}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir
