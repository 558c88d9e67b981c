// What a search found, in file order: each entry's record number with the
// text its grid cell shows, kept together so that a cell can never pair one
// entry's text with another's number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lexomir {

struct FoundEntry {
    std::int32_t record = 0;  // 1-based, the id of its database row
    std::string text;         // GBK: the character, or the idiom
};

using FoundList = std::vector<FoundEntry>;

std::vector<std::int32_t> recordNumbers(const FoundList& found);
// The texts one after another, as a found-characters string.
std::string joinedTexts(const FoundList& found);

}  // namespace lexomir
