// Helpers on GBK byte strings: a Chinese character is two bytes whose first
// byte is 0x81 or above; ASCII is one byte. Positions are 1-based, 0 = none.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lexomir {

inline bool isGbkLeadByte(unsigned char byte) {
    return byte >= 0x81;
}

// Exactly one character of GBK's two-byte area: lead byte 0x81-0xFE, trail
// byte 0x40-0xFE but not 0x7F. GB18030's four-byte forms fail: their second
// byte is a digit.
bool isGbkTwoByteCharacter(std::string_view bytes);

// The characters of text in order: single bytes below 0x80, GB18030's
// four-byte sequences (how text outside GBK arrives), otherwise two bytes; a
// lead byte at the very end stands alone.
std::vector<std::string_view> gbkCharacters(std::string_view text);
// The views would outlive a temporary string.
std::vector<std::string_view> gbkCharacters(std::string&& text) = delete;

// One Chinese character of GBK's three areas of hanzi (GBK/2, GBK/3, GBK/4),
// traditional ones included; not a symbol, punctuation or a full-width letter.
bool isGbkHanzi(std::string_view character);

// A set of two-byte characters, one bit for each of the 65536 byte pairs.
class GbkCharacterSet {
  public:
    // Adds every two-byte character at a character boundary of text.
    void addCharactersOf(std::string_view text);
    // Exactly two bytes, the first a lead byte, and added before.
    bool contains(std::string_view character) const;

  private:
    std::bitset<65536> m_pairs;
};

// Removes leading and trailing bytes of value 0x20 or less.
std::string trimControl(std::string_view text);

// Position (1-based) of the first occurrence of needle in haystack that does
// not begin on the second byte of a two-byte character; 0 when there is none
// or needle is empty.
std::size_t gbkFind(std::string_view haystack, std::string_view needle);

// Replaces every character-aligned occurrence of from by to, left to right.
std::string gbkReplaceAll(std::string text, std::string_view from, std::string_view to);

}  // namespace lexomir
