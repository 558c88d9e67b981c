// Arbitrary column values through the two entry texts of the detail views.
//
// Input: the eight xhzd columns and the five ChengYu columns as
// FuzzedDataProvider strings; bihua comes from the end of the input.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "entry_text.h"
#include "fuzz_support.h"
#include "gbk_text.h"

namespace lexomir::fuzzing {
namespace {

constexpr std::string_view kBreak = "<br>";

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool isAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::size_t countBreaks(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = text.find(kBreak); pos != std::string_view::npos;
         pos = text.find(kBreak, pos + kBreak.size())) {
        ++count;
    }
    return count;
}

void checkCharacterEntry(const CharacterEntry& entry) {
    const std::string text = formatCharacterEntry(entry);
    FUZZ_CHECK(endsWith(text, "\r\n\r\n"));
    // Every character-aligned "<br>" became CR LF, and none can reappear.
    FUZZ_CHECK(gbkFind(text, kBreak) == 0);

    // In plain ASCII every "<br>" is aligned, so the length follows exactly.
    const std::vector<std::string_view> values = {
        entry.zi, entry.pinyin, entry.py, entry.bushou, entry.wubi, entry.jijie, entry.xiangjie};
    CharacterEntry empty;
    empty.bihua = entry.bihua;
    std::size_t expected = formatCharacterEntry(empty).size();
    for (std::string_view value : values) {
        if (!isAscii(value)) return;
        expected += value.size() - 2 * countBreaks(value);
    }
    FUZZ_CHECK(text.size() == expected);
}

void checkIdiomEntry(const IdiomEntry& entry) {
    const std::string text = formatIdiomEntry(entry);
    FUZZ_CHECK(endsWith(text, "\r\n\r\n"));
    const std::size_t valueBytes = entry.ChengYu.size() + entry.PinYin.size() +
                                   entry.DianGu.size() + entry.ChuChu.size() + entry.LiZi.size();
    FUZZ_CHECK(text.size() == formatIdiomEntry(IdiomEntry{}).size() + valueBytes);
    for (const std::string* value :
         {&entry.ChengYu, &entry.PinYin, &entry.DianGu, &entry.ChuChu, &entry.LiZi}) {
        FUZZ_CHECK(text.find(*value) != std::string::npos);
    }
}

}  // namespace
}  // namespace lexomir::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lexomir;
    using namespace lexomir::fuzzing;
    FuzzedDataProvider data(bytes, size);
    CharacterEntry character;
    character.bihua = data.ConsumeIntegral<std::int32_t>();
    for (std::string* column : {&character.zi, &character.pinyin, &character.py, &character.bushou,
                                &character.wubi, &character.jijie}) {
        *column = data.ConsumeRandomLengthString(1024);
    }
    character.xiangjie = data.ConsumeRandomLengthString(4096);
    IdiomEntry idiom;
    for (std::string* column : {&idiom.ChengYu, &idiom.PinYin, &idiom.DianGu, &idiom.ChuChu}) {
        *column = data.ConsumeRandomLengthString(1024);
    }
    idiom.LiZi = data.ConsumeRemainingBytesAsString();

    checkCharacterEntry(character);
    checkIdiomEntry(idiom);
    return 0;
}
