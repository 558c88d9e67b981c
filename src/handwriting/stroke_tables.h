// The tables of Strokes.db, named once for the builder and the reader.
//
// strokes: one row per character, the outlines and centre lines of its
// strokes in stroke order, in the stroke data's box (see ink.h); text is
// UTF-8.
//   zi        TEXT PRIMARY KEY   the character
//   bihua     INTEGER            how many strokes
//   outlines  TEXT               SVG path strings separated by ";"
//   medians   TEXT               centre lines "x,y x,y ...", separated by ";"
// notice: what the file was made from and how (id, text).
#pragma once

#include <string_view>

namespace lexomir::handwriting {

namespace strokes_table {
inline constexpr std::string_view kName = "strokes";
inline constexpr std::string_view kZi = "zi";
inline constexpr std::string_view kBihua = "bihua";
inline constexpr std::string_view kOutlines = "outlines";
inline constexpr std::string_view kMedians = "medians";
}  // namespace strokes_table

namespace notice_table {
inline constexpr std::string_view kName = "notice";
inline constexpr std::string_view kId = "id";
inline constexpr std::string_view kText = "text";
}  // namespace notice_table

inline constexpr char kStrokeSeparator = ';';
inline constexpr std::string_view kStrokeDataFileName = "Strokes.db";

}  // namespace lexomir::handwriting
