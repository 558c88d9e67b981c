#include "idiom_search.h"

#include <algorithm>
#include <cstring>

#include "index_record_format.h"

namespace lexomir {
namespace {

constexpr std::string_view kWildcard = "\xA1\xEF";         // ★
constexpr std::string_view kFullWidthEquals = "\xA3\xBD";  // ＝

bool isTwoByteWildcard(std::string_view character) {
    return character == kFullWidthEquals || character == kWildcard;
}

std::string_view idiomText(const char* record) {
    const void* nul = std::memchr(record, '\0', chengyu_record::kSize);
    // A record without a NUL is outside the format; read at most its text width.
    const std::size_t length =
        nul ? static_cast<const char*>(nul) - record : chengyu_record::kMaxTextBytes;
    return {record, length};
}

}  // namespace

std::string buildIdiomPattern(std::string_view trimmedInput) {
    std::string pattern;
    pattern.reserve(trimmedInput.size() * 2 + 1);
    for (char c : gbkReplaceAll(std::string(trimmedInput), kFullWidthEquals, "=")) {
        if (c == '=') {
            pattern.append(kWildcard);
        } else {
            pattern.push_back(c);
        }
    }
    if (pattern.size() % 2 != 0) pattern.push_back(' ');
    return pattern;
}

bool idiomMatches(std::string_view idiomText, std::string_view pattern) {
    if (pattern.size() > idiomText.size()) return false;
    for (std::size_t i = 0; i + 1 < pattern.size(); i += 2) {
        const std::string_view unit = pattern.substr(i, 2);
        if (unit == kWildcard) continue;
        if (unit != idiomText.substr(i, 2)) return false;
    }
    return true;
}

ScanOutcome scanChengYu(IndexFile& file, std::string_view pattern, const ScanHook& beforeRecord,
                        FoundList& VecChengYu) {
    VecChengYu.clear();
    return scanRecords(file, beforeRecord, [&](std::int32_t r, const char* bytes) {
        const std::string_view text = idiomText(bytes);
        if (!idiomMatches(text, pattern)) return;
        VecChengYu.push_back({r, std::string(text)});
    });
}

ScanOutcome collectIdiomCharacters(IndexFile& file, GbkCharacterSet& idiomCharacters) {
    return scanRecords(file, {}, [&](std::int32_t, const char* bytes) {
        idiomCharacters.addCharactersOf(idiomText(bytes));
    });
}

std::string simplifyUnknownCharacters(std::string_view text, const GbkCharacterSet& idiomCharacters,
                                      const SimplifiedForm& simplified) {
    const std::vector<std::string_view> characters = gbkCharacters(text);
    const auto changes = [&](std::string_view character) {
        return character.size() > 1 && !isTwoByteWildcard(character) &&
               !idiomCharacters.contains(character);
    };
    if (std::none_of(characters.begin(), characters.end(), changes)) return std::string(text);

    const std::string whole = simplified(text);
    const std::vector<std::string_view> wholeCharacters = gbkCharacters(whole);
    const bool inStep = wholeCharacters.size() == characters.size();
    std::string result;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (!changes(characters[i])) {
            result.append(characters[i]);
        } else {
            result.append(inStep ? std::string(wholeCharacters[i]) : simplified(characters[i]));
        }
    }
    return result;
}

}  // namespace lexomir
