// Arbitrary XinHua.dat records and arbitrary control values through every
// character search: the plan, its record filter, and a scan over the record.
//
// Input: 57 record bytes, then the typed text, the keywords, the brief and
// the detailed explanation (FuzzedDataProvider strings); the control indexes
// come from the end of the input.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "character_filters.h"
#include "fuzz_support.h"
#include "gbk_text.h"
#include "index_record_format.h"
#include "radical_table.h"
#include "search_plans.h"
#include "xinhua_scan.h"

namespace lexomir::fuzzing {
namespace {

struct Controls {
    // Whether the record is given the radical the search asks for, so that
    // the stroke arithmetic behind a matching radical is reached often.
    bool recordHasRadical = false;
    int radicalIndex = 0;
    int remainingIndex = 0;
    int totalStrokesIndex = 0;
    CombinedControls combined;
};

bool beginsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The part of a pinyin field after its first comma, when the comma is not
// the field's first byte.
std::string_view laterReadings(std::string_view field) {
    const std::size_t comma = field.find(',');
    if (comma == std::string_view::npos || comma == 0) return {};
    return field.substr(comma + 1);
}

std::string_view listedRadical(int cellIndex) {
    if (cellIndex < 0 || cellIndex >= RadicalTable::kListedCells) return {};
    return BuShouTable().cell(cellIndex);
}

// CboBuShou2: 0 is off, i is cell i - 1.
std::string_view combinedRadical(int radicalIndex) {
    return radicalIndex > 0 ? listedRadical(radicalIndex - 1) : std::string_view{};
}

std::vector<char> withRadical(std::vector<char> recordBytes, std::string_view radical) {
    if (radical.size() != 2) return recordBytes;
    std::copy(radical.begin(), radical.end(), recordBytes.begin() + xinhua_record::kRadicalOffset);
    recordBytes[xinhua_record::kRadicalOffset + 2] = '\0';
    return recordBytes;
}

void checkGbkFind(std::string_view haystack, std::string_view needle) {
    const std::size_t found = gbkFind(haystack, needle);
    if (found == 0) return;
    FUZZ_CHECK(!needle.empty() && found + needle.size() - 1 <= haystack.size());
    FUZZ_CHECK(haystack.substr(found - 1, needle.size()) == needle);
}

// One scan over a file holding only this record must find exactly what the
// filter accepts, and only as a two-byte character.
void checkScan(const CharacterFilter& filter, const std::vector<char>& recordBytes, bool passes) {
    static MemoryFile file;
    file.assign(std::string_view(recordBytes.data(), recordBytes.size()));
    IndexFile index(file.path(), xinhua_record::kSize, 1);
    FoundList VecXinHua;
    const ScanOutcome outcome = scanXinHua(index, filter, nullptr, VecXinHua);
    FUZZ_CHECK(outcome.end == ScanEnd::Completed);
    const std::string_view character = XinHuaRecord(recordBytes.data()).character();
    const bool found = passes && character.size() == 2;
    FUZZ_CHECK(VecXinHua.size() == (found ? 1u : 0u));
    FUZZ_CHECK(joinedTexts(VecXinHua) == (found ? character : std::string_view{}));
}

void checkTypedSearch(std::string_view typedText, const std::vector<char>& recordBytes,
                      std::int32_t id) {
    const XinHuaRecord record(recordBytes.data());
    const std::string typed = trimControl(typedText);
    const CharacterSearchPlan plan = planTypedSearch(typedText);
    if (const auto* refusal = std::get_if<Refusal>(&plan)) {
        FUZZ_CHECK(typed.empty() && !refusal->message.empty());
        return;
    }
    const auto& search = std::get<CharacterSearch>(plan);
    FUZZ_CHECK(!typed.empty() && search.filter);
    const bool byPinyin = isPinyinPrefix(typed);
    FUZZ_CHECK(search.showsFirstEntry == !byPinyin);
    const bool passes = search.filter(id, record);
    if (byPinyin) {
        // A spelling searches its folded letters; with a tone and no database
        // to ask, nothing.
        const std::optional<PinyinSpelling> spelling = readPinyinSpelling(typed);
        const std::string prefix = spelling ? spelling->letters : typed;
        FUZZ_CHECK(search.usesDatabase == (spelling && spelling->tone != 0));
        const std::string_view field = record.pinyin();
        if (passes)
            FUZZ_CHECK(beginsWith(field, prefix) || beginsWith(laterReadings(field), prefix));
        if (!search.usesDatabase && prefix.find(',') == std::string::npos &&
            beginsWith(field, prefix))
            FUZZ_CHECK(passes);
        if (search.usesDatabase) FUZZ_CHECK(!passes);
    } else {
        // The 64K-bit set must agree with the plain character-aligned search.
        const std::string_view character = record.character();
        FUZZ_CHECK(passes == (character.size() == 2 && gbkFind(typed, character) != 0));
    }
    checkScan(search.filter, recordBytes, passes);
}

void checkRadicalSearch(int radicalIndex, int remainingIndex, const XinHuaRecord& record,
                        std::int32_t id) {
    const std::string_view radical = listedRadical(radicalIndex);
    const CharacterSearchPlan plan = planRadicalSearch(radicalIndex, remainingIndex);
    if (const auto* refusal = std::get_if<Refusal>(&plan)) {
        FUZZ_CHECK(radical.size() != 2 && !refusal->message.empty());
        return;
    }
    FUZZ_CHECK(radical.size() == 2);
    const bool passes = std::get<CharacterSearch>(plan).filter(id, record);
    if (passes) FUZZ_CHECK(record.radical() == radical && remainingIndex >= 0);
    if (passes && remainingIndex > 0) {
        const long long group = BuShouTable().strokeGroup(radicalIndex);
        FUZZ_CHECK(static_cast<long long>(record.strokes()) == group + remainingIndex);
    }
    if (record.radical() == radical && remainingIndex == 0) FUZZ_CHECK(passes);
}

void checkStrokeSearch(int totalStrokesIndex, const XinHuaRecord& record, std::int32_t id) {
    const CharacterSearchPlan plan = planStrokeSearch(totalStrokesIndex);
    const auto* search = std::get_if<CharacterSearch>(&plan);
    FUZZ_CHECK(search && search->filter);
    const bool passes = search->filter(id, record);
    FUZZ_CHECK(passes == (static_cast<long long>(record.strokes()) ==
                          static_cast<long long>(totalStrokesIndex) + 1));
}

void checkKeywords(const std::vector<std::string>& keywords, std::string_view keywordsText,
                   std::string_view jijie, std::string_view xiangjie) {
    FUZZ_CHECK(keywords.empty() == trimControl(keywordsText).empty());
    for (const std::string& keyword : keywords) {
        FUZZ_CHECK(!keyword.empty() && keyword.find(' ') == std::string::npos);
        FUZZ_CHECK(static_cast<unsigned char>(keyword.front()) > 0x20);
        checkGbkFind(jijie, keyword);
        checkGbkFind(xiangjie, keyword);
    }
    const bool inBrief = anyKeywordOccurs(keywords, jijie, {}, 1);
    const bool inDetailed = anyKeywordOccurs(keywords, xiangjie, {}, 1);
    FUZZ_CHECK(anyKeywordOccurs(keywords, jijie, xiangjie, 1) == inBrief);
    FUZZ_CHECK(anyKeywordOccurs(keywords, jijie, xiangjie, 2) == (inBrief || inDetailed));
}

void checkCombinedSearch(const CombinedControls& controls, const XinHuaRecord& record,
                         std::int32_t id, std::string_view jijie, std::string_view xiangjie) {
    const std::vector<std::string> keywords = buildKeywordList(controls.keywordsText);
    checkKeywords(keywords, controls.keywordsText, jijie, xiangjie);

    bool factoryAsked = false;
    bool meaningAsked = false;
    const MeaningFilterFactory factory = [&](const std::vector<std::string>& words, int range) {
        factoryAsked = true;
        FUZZ_CHECK(words == keywords && range == controls.meaningRangeIndex);
        return [&, words, range](std::int32_t recordId) {
            meaningAsked = true;
            FUZZ_CHECK(recordId == id);
            return anyKeywordOccurs(words, jijie, xiangjie, range);
        };
    };
    const CharacterSearchPlan plan = planCombinedSearch(controls, factory);

    const std::string_view radical = combinedRadical(controls.radicalIndex);
    const bool badRadical = controls.radicalIndex > 0 && radical.size() != 2;
    const bool usesMeaning = controls.meaningRangeIndex > 0;
    if (const auto* refusal = std::get_if<Refusal>(&plan)) {
        FUZZ_CHECK(!refusal->message.empty() && !factoryAsked);
        FUZZ_CHECK(badRadical || (usesMeaning && keywords.empty()));
        FUZZ_CHECK((refusal->focus == InputFocus::LedtZiYi) == !badRadical);
        return;
    }
    FUZZ_CHECK(!badRadical && !(usesMeaning && keywords.empty()));
    const auto& search = std::get<CharacterSearch>(plan);
    FUZZ_CHECK(search.usesDatabase == usesMeaning && factoryAsked == usesMeaning);
    FUZZ_CHECK(search.notice.empty() == !usesMeaning);

    const bool passes = search.filter(id, record);
    const std::string_view field = record.pinyin();
    const bool letterOn = controls.letterIndex >= 1 && controls.letterIndex <= 26;
    const char letter = letterOn ? static_cast<char>('a' + controls.letterIndex - 1) : '\0';
    const bool letterHolds = !letterOn || beginsWith(field, std::string_view(&letter, 1)) ||
                             beginsWith(laterReadings(field), std::string_view(&letter, 1));
    const bool radicalHolds = radical.empty() || record.radical() == radical;
    const bool strokesHold = static_cast<int>(record.strokes()) >= controls.minStrokesIndex;
    // The meaning, the slow criterion, is asked last and only when needed.
    if (meaningAsked) FUZZ_CHECK(letterHolds && radicalHolds && strokesHold);
    if (passes) FUZZ_CHECK(letterHolds && radicalHolds && strokesHold);
    if (passes && usesMeaning)
        FUZZ_CHECK(anyKeywordOccurs(keywords, jijie, xiangjie, controls.meaningRangeIndex));
    if (letterHolds && radicalHolds && strokesHold && !usesMeaning) FUZZ_CHECK(passes);
}

Controls consumeControls(FuzzedDataProvider& data) {
    Controls controls;
    controls.recordHasRadical = data.ConsumeBool();
    controls.radicalIndex = controlIndex(data);
    controls.remainingIndex = controlIndex(data);
    controls.totalStrokesIndex = controlIndex(data);
    controls.combined.letterIndex = controlIndex(data);
    controls.combined.radicalIndex = controlIndex(data);
    controls.combined.minStrokesIndex = controlIndex(data);
    controls.combined.meaningRangeIndex = controlIndex(data);
    return controls;
}

}  // namespace
}  // namespace lexomir::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lexomir;
    using namespace lexomir::fuzzing;
    FuzzedDataProvider data(bytes, size);

    // Exactly 57 bytes on the heap, so that reading past the record is caught.
    std::vector<char> recordBytes = data.ConsumeBytes<char>(xinhua_record::kSize);
    recordBytes.resize(xinhua_record::kSize, '\0');
    const XinHuaRecord record(recordBytes.data());

    Controls controls = consumeControls(data);
    const std::int32_t id =
        data.ConsumeIntegralInRange<std::int32_t>(1, xinhua_record::kRecordCount);
    const std::string typed = data.ConsumeRandomLengthString(64);
    controls.combined.keywordsText = data.ConsumeRandomLengthString(64);
    const std::string jijie = data.ConsumeRandomLengthString(512);
    const std::string xiangjie = data.ConsumeRemainingBytesAsString();

    checkTypedSearch(typed, recordBytes, id);
    checkStrokeSearch(controls.totalStrokesIndex, record, id);
    if (!controls.recordHasRadical) {
        checkRadicalSearch(controls.radicalIndex, controls.remainingIndex, record, id);
        checkCombinedSearch(controls.combined, record, id, jijie, xiangjie);
        return 0;
    }
    const std::vector<char> radicalRecord =
        withRadical(recordBytes, listedRadical(controls.radicalIndex));
    checkRadicalSearch(controls.radicalIndex, controls.remainingIndex,
                       XinHuaRecord(radicalRecord.data()), id);
    const std::vector<char> combinedRecord =
        withRadical(recordBytes, combinedRadical(controls.combined.radicalIndex));
    checkCombinedSearch(controls.combined, XinHuaRecord(combinedRecord.data()), id, jijie,
                        xiangjie);
    return 0;
}
