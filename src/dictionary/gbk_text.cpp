#include "gbk_text.h"

namespace lexomir {

bool isGbkTwoByteCharacter(std::string_view bytes) {
    if (bytes.size() != 2) return false;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

std::string trimControl(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
    return std::string(text.substr(begin, end - begin));
}

std::size_t gbkFind(std::string_view haystack, std::string_view needle) {
    if (needle.empty() || needle.size() > haystack.size()) return 0;
    const std::size_t last = haystack.size() - needle.size();
    // Walk character by character so that a match can only start on a
    // character's first byte.
    for (std::size_t pos = 0; pos <= last;) {
        if (haystack[pos] == needle[0] && haystack.compare(pos, needle.size(), needle) == 0) {
            return pos + 1;
        }
        pos += isGbkLeadByte(static_cast<unsigned char>(haystack[pos])) ? 2 : 1;
    }
    return 0;
}

std::string gbkReplaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, from.size(), from) == 0) {
            result.append(to);
            pos += from.size();
            continue;
        }
        const std::size_t width =
            isGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
        result.append(text, pos, width);
        pos += width;
    }
    return result;
}

}  // namespace lexomir
