// Turning what the user chose in the controls into a search, or into the
// message that refuses it. The window's handlers read their controls, call
// one of these, and either show the refusal or run the scan.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>

#include "character_filters.h"

namespace lexomir {

// The edit that gets the focus after a refusal.
enum class InputFocus { None, LedtPinYin, LedtZiYi, LedtChengYu };

struct Refusal {
    std::string message;  // GBK
    InputFocus focus = InputFocus::None;
};

struct CharacterSearch {
    CharacterFilter filter;
    bool showsFirstEntry = false;  // the search by typed characters
    bool usesDatabase = false;     // the meaning criterion or a tone is in use
    std::string notice;            // GBK; shown before the scan when not empty
};

using CharacterSearchPlan = std::variant<Refusal, CharacterSearch>;

// The stroke lists offer counts up to this: remaining strokes 0 to 69, total
// and minimum strokes 1 to 69.
inline constexpr int kMostListedStrokes = 69;

// LedtPinYin takes both kinds of input: trimmed text that is a pinyin
// spelling (readPinyinSpelling) or whose first byte is a-z is pinyin, any
// other is typed characters.
bool isPinyinPrefix(std::string_view trimmedText);

// RdoPinYin: the text of LedtPinYin, searched as a pinyin prefix or as typed
// characters. A spelling is searched by its folded letters; when it gives a
// tone, the factory's tone filter (asked for only then) keeps the records in
// that tone, and without a factory nothing is found.
CharacterSearchPlan planTypedSearch(std::string_view typedText,
                                    const ToneFilterFactory& toneFilters = {});

// RdoBuShou: the selected indexes of CboBuShou (= BuShouTable cell) and
// CboBiHua (= remaining strokes, 0 for any).
CharacterSearchPlan planRadicalSearch(int radicalIndex, int remainingIndex);

// RdoBiHua: the selected index of CboAllBiHua (total strokes - 1).
CharacterSearchPlan planStrokeSearch(int totalStrokesIndex);

struct CombinedControls {
    int letterIndex = 0;        // CboZiMu2: 0 off, 1..26 = a..z
    int radicalIndex = 0;       // CboBuShou2: 0 off, i = BuShouTable cell i - 1
    int minStrokesIndex = 0;    // CboBiHua2: 0 off, k = k strokes
    std::string keywordsText;   // LedtZiYi, GBK
    int meaningRangeIndex = 0;  // CboZiYi: 0 off, 1 brief, 2 brief or detailed
};

// Checks the radical first, then the meaning keywords. The factory is asked
// for the meaning filter only when the meaning criterion is in use.
CharacterSearchPlan planCombinedSearch(const CombinedControls& controls,
                                       const MeaningFilterFactory& meaningFilters);

using IdiomSearchPlan = std::variant<Refusal, std::string /* pattern */>;

// Brings trimmed idiom text to the index's simplified characters
// (simplifyUnknownCharacters); may throw.
using IdiomTextSimplifier = std::function<std::string(std::string_view trimmedText)>;

// The text of LedtChengYu: trimmed; empty is refused; otherwise simplified
// when a simplifier is given, and made the pattern.
IdiomSearchPlan planIdiomSearch(std::string_view inputText,
                                const IdiomTextSimplifier& simplify = {});

// What text copied in another program looks up, blanks around it aside:
// one to three Chinese characters the characters, four to twelve an idiom.
// Anything else (letters, punctuation, longer text) looks up nothing.
enum class CopiedTextLookup { Nothing, Characters, Idiom };
CopiedTextLookup copiedTextLookup(std::string_view gbkText);

// "共找到 %d 个汉字！" / "共找到 %d 个成语！" in GBK.
std::string charactersFoundMessage(std::size_t count);
std::string idiomsFoundMessage(std::size_t count);

}  // namespace lexomir
