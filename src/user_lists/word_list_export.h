// The word list as a file to learn from or to open in a spreadsheet: the
// character or idiom, its pinyin and its brief explanation, in UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "looked_up_entry.h"
#include "lookup_store.h"

namespace lexomir {

enum class WordListFormat {
    Text,  // a line per word, its three fields separated by tabs, LF line ends
    Csv,   // RFC 4180 with a header line and CR LF, after a UTF-8 byte order mark
};

// UTF-8. Throws TextConversionError for text that is not GBK.
std::string formatWordList(const std::vector<LookedUpEntry>& words, WordListFormat format);

// Writes the list to file through a temporary file beside it, so that only a
// complete list replaces an older file; what went wrong, or nothing.
std::optional<StoreError> exportWordList(const std::filesystem::path& file,
                                         const std::vector<LookedUpEntry>& words,
                                         WordListFormat format) noexcept;

}  // namespace lexomir
