// Code points of UTF-8 text, for the builders' checks and orderings.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace lexomir::data {

// The code point of the sequence at pos, moving pos past it; nothing (and pos
// unchanged) for a sequence that is malformed or cut off.
inline std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (pos >= text.size()) return std::nullopt;
    const unsigned char lead = byte(pos);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || pos + length > text.size()) return std::nullopt;
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (byte(pos + i) & 0x3F);
    }
    pos += length;
    return value;
}

}  // namespace lexomir::data
