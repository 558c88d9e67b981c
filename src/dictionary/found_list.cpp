#include "found_list.h"

namespace lexomir {

std::vector<std::int32_t> recordNumbers(const FoundList& found) {
    std::vector<std::int32_t> records;
    records.reserve(found.size());
    for (const FoundEntry& entry : found) records.push_back(entry.record);
    return records;
}

std::string joinedTexts(const FoundList& found) {
    std::string texts;
    for (const FoundEntry& entry : found) texts += entry.text;
    return texts;
}

}  // namespace lexomir
