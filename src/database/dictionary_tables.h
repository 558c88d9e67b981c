// The tables of XinHua.db and ChengYu.db. Each table and column name lives
// here once: the data builders create the tables by these names and the
// reader looks rows up by them. Row id is the record number in the index file
// of the same name; text columns hold UTF-8.
#pragma once

#include <string_view>

namespace lexomir {

namespace xhzd_table {
inline constexpr std::string_view kName = "xhzd";
inline constexpr std::string_view kId = "id";
inline constexpr std::string_view kZi = "zi";              // the character
inline constexpr std::string_view kPinyin = "pinyin";      // tone-marked readings
inline constexpr std::string_view kPy = "py";              // the record's toneless readings
inline constexpr std::string_view kBushou = "bushou";      // the radical
inline constexpr std::string_view kBihua = "bihua";        // total strokes, an integer
inline constexpr std::string_view kWubi = "wubi";          // the Wubi code
inline constexpr std::string_view kJijie = "jijie";        // the brief explanation
inline constexpr std::string_view kXiangjie = "xiangjie";  // the detailed explanation
inline constexpr std::string_view kBishun = "bishun";      // stroke names, "、" between
}  // namespace xhzd_table

// For each character beyond ASCII that the explanations hold, as its UTF-8
// bytes: the records whose jijie holds it and those whose xiangjie does, each
// a list of record numbers (meaning_index.h has the blob's layout).
namespace meaning_index_table {
inline constexpr std::string_view kName = "meaning_index";
inline constexpr std::string_view kCharacter = "character";
inline constexpr std::string_view kJijie = "jijie";
inline constexpr std::string_view kXiangjie = "xiangjie";
}  // namespace meaning_index_table

namespace chengyu_table {
inline constexpr std::string_view kName = "ChengYu";
inline constexpr std::string_view kId = "id";
inline constexpr std::string_view kChengYu = "ChengYu";  // the idiom
inline constexpr std::string_view kPinYin = "PinYin";    // tone-marked pinyin
inline constexpr std::string_view kDianGu = "DianGu";    // the explanation
inline constexpr std::string_view kChuChu = "ChuChu";    // the source
inline constexpr std::string_view kLiZi = "LiZi";        // an example
}  // namespace chengyu_table

}  // namespace lexomir
