#include "gbk_text.h"

namespace lexomir {

bool isGbkTwoByteCharacter(std::string_view bytes) {
    if (bytes.size() != 2) return false;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

bool isGbkHanzi(std::string_view character) {
    if (!isGbkTwoByteCharacter(character)) return false;
    const auto lead = static_cast<unsigned char>(character[0]);
    const auto trail = static_cast<unsigned char>(character[1]);
    const bool gbk2 = lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1;
    const bool gbk3 = lead <= 0xA0;
    const bool gbk4 = lead >= 0xAA && trail <= 0xA0;
    return gbk2 || gbk3 || gbk4;
}

namespace {

bool isFourByteSecond(unsigned char byte) {
    return byte >= 0x30 && byte <= 0x39;
}

std::size_t characterLength(std::string_view text, std::size_t pos) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    if (!isGbkLeadByte(byteAt(0)) || pos + 1 >= text.size()) return 1;
    if (pos + 3 < text.size() && isFourByteSecond(byteAt(1)) && isGbkLeadByte(byteAt(2)) &&
        isFourByteSecond(byteAt(3))) {
        return 4;
    }
    return 2;
}

std::size_t pairKey(std::string_view character) {
    return (std::size_t{static_cast<unsigned char>(character[0])} << 8) |
           static_cast<unsigned char>(character[1]);
}

}  // namespace

std::vector<std::string_view> gbkCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = characterLength(text, pos);
        characters.push_back(text.substr(pos, length));
        pos += length;
    }
    return characters;
}

void GbkCharacterSet::addCharactersOf(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (isGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            m_pairs.set(pairKey(text.substr(i, 2)));
            i += 2;
        } else {
            ++i;
        }
    }
}

bool GbkCharacterSet::contains(std::string_view character) const {
    return character.size() == 2 && isGbkLeadByte(static_cast<unsigned char>(character[0])) &&
           m_pairs.test(pairKey(character));
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
