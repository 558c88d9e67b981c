// The record filters of the character searches, on GBK bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pinyin_spelling.h"
#include "xinhua_scan.h"

namespace lexomir {

// Pinyin search: the first reading (before the first comma) or the rest
// (everything after it) begins with prefix; a field without a comma, or
// starting with one, is taken whole.
bool readingsBeginWith(std::string_view pinyinField, std::string_view prefix);

// Combined search: the first byte of the first reading or of the reading
// after the first comma equals the one-byte letter.
bool initialLetterMatches(std::string_view pinyinField, std::string_view letter);

// The blank-separated words of keywordsText, in order, never an empty word.
std::vector<std::string> buildKeywordList(std::string_view keywordsText);

// Range 1: a keyword occurs in jijie; range 2: in jijie or xiangjie.
// Character-aligned GBK search; this is the reference the database layer's
// faster matcher must agree with.
bool anyKeywordOccurs(const std::vector<std::string>& keywords, std::string_view jijie,
                      std::string_view xiangjie, int meaningRange);

// Whether any keyword occurs in the explanations of record id.
using MeaningFilter = std::function<bool(std::int32_t id)>;
using MeaningFilterFactory =
    std::function<MeaningFilter(const std::vector<std::string>& keywords, int meaningRange)>;

// Whether record id has a tone-marked reading that begins with the spelling's
// letters in its tone.
using ToneFilter = std::function<bool(std::int32_t id)>;
using ToneFilterFactory = std::function<ToneFilter(const PinyinSpelling& spelling)>;

CharacterFilter pinyinFilter(std::string prefix);
// The pinyin filter; the tone filter is asked only for the records it passes.
CharacterFilter tonedPinyinFilter(std::string prefix, ToneFilter tone);
// Every record whose character stands at a character boundary of typed.
CharacterFilter hanziFilter(std::string typed);
// radical equal, and remaining 0 (any) or strokes == group + remaining;
// a negative remaining finds nothing.
CharacterFilter radicalFilter(std::string radical, int strokeGroup, int remaining);
CharacterFilter strokeCountFilter(int totalStrokes);

struct CombinedCriteria {
    std::string letter;   // one byte, or empty when off
    std::string radical;  // one GBK character, or empty when off
    int minStrokes = 0;   // 0 when off
    std::vector<std::string> keywords;
    int meaningRange = 0;  // 0 off, 1 brief, 2 brief or detailed
};
// The meaning filter is asked only for records that pass the other criteria.
CharacterFilter combinedFilter(CombinedCriteria criteria, MeaningFilter meaning);

}  // namespace lexomir
