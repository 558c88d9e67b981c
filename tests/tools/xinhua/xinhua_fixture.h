// Small candidate rows for the builder tests.
#pragma once

#include <string>

#include "character_source.h"

namespace lexomir::xinhua::test {

inline char32_t firstCodePoint(const std::string& utf8) {
    if (utf8.size() < 3) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    return (char32_t(byte(0) & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) |
           char32_t(byte(2) & 0x3F);
}

// readings as in the table: "dīng/ding/1 zhēng/zheng/1". level 0 is an
// unlisted character, 1-3 a required one. The rarity defaults to the code
// point, which keeps it unique among distinct characters.
inline CharacterSource source(const std::string& zi, const std::string& readings, int strokes,
                              const std::string& modern, const std::string& candidates,
                              int level = 0, long rarity = -1, const std::string& wubi = "abcd",
                              const std::string& jijie = "gloss",
                              const std::string& xiangjie = "detail",
                              const std::string& variants = "") {
    const std::string row =
        zi + "\t" + readings + "\t" + std::to_string(strokes) + "\t" + modern + "\t" + candidates +
        "\t" + std::to_string(level) + "\t" +
        std::to_string(rarity < 0 ? static_cast<long>(firstCodePoint(zi)) : rarity) + "\t" + wubi +
        "\t" + jijie + "\t" + xiangjie + "\t" + variants;
    return parseCharacterRow(row, 1);
}

}  // namespace lexomir::xinhua::test
