#include "search_plans.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "gbk_codec.h"
#include "gbk_text.h"
#include "idiom_search.h"
#include "messages.h"
#include "radical_table.h"
#include "text_format.h"

namespace lexomir {
namespace {

CharacterSearch searchWith(CharacterFilter filter, bool showsFirstEntry = false) {
    CharacterSearch search;
    search.filter = std::move(filter);
    search.showsFirstEntry = showsFirstEntry;
    return search;
}

Refusal refuse(std::string_view utf8Message, InputFocus focus = InputFocus::None) {
    return Refusal{utf8ToGbk(utf8Message), focus};
}

std::string foundMessage(const char* utf8Format, std::size_t count) {
    return utf8ToGbk(formatText(utf8Format, static_cast<int>(count)));
}

bool startsWithLowerCaseLetter(std::string_view text) {
    return !text.empty() && text.front() >= 'a' && text.front() <= 'z';
}

}  // namespace

bool isPinyinPrefix(std::string_view trimmedText) {
    return startsWithLowerCaseLetter(trimmedText) || readPinyinSpelling(trimmedText).has_value();
}

CharacterSearchPlan planTypedSearch(std::string_view typedText,
                                    const ToneFilterFactory& toneFilters) {
    std::string typed = trimControl(typedText);
    if (typed.empty()) return refuse(messages::kPleaseEnter, InputFocus::LedtPinYin);
    if (const std::optional<PinyinSpelling> spelling = readPinyinSpelling(typed)) {
        if (spelling->tone == 0) return searchWith(pinyinFilter(spelling->letters));
        CharacterSearch search = searchWith(
            tonedPinyinFilter(spelling->letters, toneFilters ? toneFilters(*spelling) : nullptr));
        search.usesDatabase = true;
        return search;
    }
    // Not a spelling, so only its first letter can make it pinyin.
    if (startsWithLowerCaseLetter(typed)) return searchWith(pinyinFilter(std::move(typed)));
    return searchWith(hanziFilter(std::move(typed)), true);
}

CharacterSearchPlan planRadicalSearch(int radicalIndex, int remainingIndex) {
    const RadicalTable& table = BuShouTable();
    const std::string_view radical = table.listedRadical(radicalIndex);
    if (radical.empty()) return refuse(messages::kChooseARadical);
    return searchWith(
        radicalFilter(std::string(radical), table.strokeGroup(radicalIndex), remainingIndex));
}

CharacterSearchPlan planStrokeSearch(int totalStrokesIndex) {
    // A record holds its total in one unsigned byte, so every index from 255
    // on finds nothing; stopping there keeps the + 1 from overflowing.
    constexpr int kMostStoredStrokes = std::numeric_limits<std::uint8_t>::max();
    return searchWith(strokeCountFilter(std::min(totalStrokesIndex, kMostStoredStrokes) + 1));
}

CharacterSearchPlan planCombinedSearch(const CombinedControls& controls,
                                       const MeaningFilterFactory& meaningFilters) {
    CombinedCriteria criteria;
    if (controls.letterIndex >= 1 && controls.letterIndex <= 26) {
        criteria.letter = std::string(1, static_cast<char>('a' + controls.letterIndex - 1));
    }
    if (controls.radicalIndex > 0) {
        const std::string_view radical = BuShouTable().listedRadical(controls.radicalIndex - 1);
        if (radical.empty()) return refuse(messages::kChooseARadical);
        criteria.radical = std::string(radical);
    }
    criteria.minStrokes = std::max(controls.minStrokesIndex, 0);

    CharacterSearch search;
    if (controls.meaningRangeIndex > 0) {
        criteria.keywords = buildKeywordList(controls.keywordsText);
        if (criteria.keywords.empty()) {
            return refuse(messages::kKeywordsNeeded, InputFocus::LedtZiYi);
        }
        criteria.meaningRange = controls.meaningRangeIndex;
        search.notice = utf8ToGbk(messages::kMeaningSearchIsSlow);
        search.usesDatabase = true;
    }
    MeaningFilter meaning;
    if (search.usesDatabase && meaningFilters) {
        meaning = meaningFilters(criteria.keywords, criteria.meaningRange);
    }
    search.filter = combinedFilter(std::move(criteria), std::move(meaning));
    return search;
}

IdiomSearchPlan planIdiomSearch(std::string_view inputText, const IdiomTextSimplifier& simplify) {
    const std::string trimmed = trimControl(inputText);
    if (trimmed.empty()) return refuse(messages::kEnterAnIdiom, InputFocus::LedtChengYu);
    return buildIdiomPattern(simplify ? simplify(trimmed) : trimmed);
}

CopiedTextLookup copiedTextLookup(std::string_view gbkText) {
    // The views point into trimmed, which must outlive them.
    const std::string trimmed = trimControl(gbkText);
    const std::vector<std::string_view> characters = gbkCharacters(trimmed);
    if (characters.empty() || !std::all_of(characters.begin(), characters.end(), isGbkHanzi))
        return CopiedTextLookup::Nothing;
    if (characters.size() <= 3) return CopiedTextLookup::Characters;
    return characters.size() <= 12 ? CopiedTextLookup::Idiom : CopiedTextLookup::Nothing;
}

std::string charactersFoundMessage(std::size_t count) {
    return foundMessage(messages::kCharactersFoundFormat, count);
}

std::string idiomsFoundMessage(std::size_t count) {
    return foundMessage(messages::kIdiomsFoundFormat, count);
}

}  // namespace lexomir
