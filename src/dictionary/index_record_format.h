// Byte layouts of the two index files in dat/. Every record size and field
// offset lives here once; the data builder, the scans and the tests share it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lexomir {

// XinHua.dat: 20823 records of 57 bytes, no header. Text is GBK; each text
// field ends in a NUL inside its own width. Records come common characters
// first, so every search lists them first: by the level of the 2013 list of
// common characters (1, 2, 3, unlisted), then first reading without tone,
// tone, strokes and code point. Record k is row k of XinHua.db.
namespace xinhua_record {
inline constexpr std::size_t kSize = 57;
inline constexpr std::size_t kCharacterOffset = 0;  // one 2-byte GBK character + NUL
inline constexpr std::size_t kCharacterWidth = 3;
inline constexpr std::size_t kPinyinOffset = 3;  // toneless readings, comma-separated, NUL-ended
inline constexpr std::size_t kPinyinWidth = 20;
inline constexpr std::size_t kRadicalOffset = 23;  // one 2-byte GBK radical + NUL
inline constexpr std::size_t kRadicalWidth = 3;
inline constexpr std::size_t kStrokesOffset = 26;  // total strokes, unsigned 8-bit
inline constexpr std::size_t kTailOffset = 27;     // never read; written as zeros
inline constexpr std::size_t kTailWidth = 30;
inline constexpr std::int32_t kRecordCount = 20823;
static_assert(kTailOffset + kTailWidth == kSize);
}  // namespace xinhua_record

// ChengYu.dat: 13000 records of 35 bytes, no header: the GBK idiom text, a
// NUL, then ignored bytes (written as zeros).
namespace chengyu_record {
inline constexpr std::size_t kSize = 35;
inline constexpr std::size_t kMaxTextBytes = kSize - 1;
inline constexpr std::int32_t kRecordCount = 13000;
}  // namespace chengyu_record

}  // namespace lexomir
