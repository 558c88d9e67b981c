// Pinyin typed the way people write it (Lü, lǚ, Zhong, zhōng, zhong1, lv4),
// folded to the form the index holds its readings in: lower-case ASCII
// without tones, v for ü. GBK text; letters outside GBK (the capitals Ü, Ā,
// ...) come as GB18030 four-byte sequences and are folded too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lexomir {

struct PinyinSpelling {
    std::string letters;  // a-z, v for ü
    int tone = 0;         // 1-4; 0 when none was given or 5 (any tone)
};

// The spelling of text made only of Latin letters (ASCII, ü, the tone-marked
// vowels, also as capitals or with combining marks), optionally followed by
// one tone digit 1-5, with at most one tone in all; nothing for other text.
std::optional<PinyinSpelling> readPinyinSpelling(std::string_view text);

// Whether one of the tone-marked readings (separated by commas or blanks)
// begins with the wanted letters and carries the wanted tone; a tone then
// belongs to the syllable the typed letters begin, so zhōn keeps zhōng as
// zhōng does. A reading without a mark has no tone 1-4.
bool tonedReadingsMatch(std::string_view tonedReadings, const PinyinSpelling& wanted);

}  // namespace lexomir
