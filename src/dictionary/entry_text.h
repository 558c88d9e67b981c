// The full entry texts the detail views show.
#pragma once

#include <cstdint>
#include <string>

namespace lexomir {

// One row of table xhzd, GBK.
struct CharacterEntry {
    std::string zi, pinyin, py, bushou;
    std::int32_t bihua = 0;
    std::string wubi, jijie, xiangjie;
    std::string bishun;  // stroke names joined by "、", or empty
};

// One row of table ChengYu, GBK.
struct IdiomEntry {
    std::string ChengYu, PinYin, DianGu, ChuChu, LiZi;
};

// CR LF line ends; every character-aligned "<br>" becomes CR LF. A 笔顺
// line follows the first line where the stroke names are known.
std::string formatCharacterEntry(const CharacterEntry& entry);
// CR LF line ends; values inserted unchanged.
std::string formatIdiomEntry(const IdiomEntry& entry);

}  // namespace lexomir
