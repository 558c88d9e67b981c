// Arbitrary bytes through the GBK helpers and the GBK <-> UTF-8 conversion.
//
// Input: three FuzzedDataProvider strings (text, needle, replacement), a
// number from the end, and the rest as the text to convert.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "gbk_codec.h"
#include "gbk_text.h"
#include "text_format.h"

namespace lexomir::fuzzing {
namespace {

bool isControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Whether position (0-based) starts a character when text is read left to
// right in GBK units.
bool startsCharacter(std::string_view text, std::size_t position) {
    std::size_t pos = 0;
    while (pos < position) pos += isGbkLeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    return pos == position;
}

void checkTrim(std::string_view text) {
    const std::string trimmed = trimControl(text);
    FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
    if (!trimmed.empty()) FUZZ_CHECK(!isControl(trimmed.front()) && !isControl(trimmed.back()));
    FUZZ_CHECK(trimControl(trimmed) == trimmed);
    if (!text.empty() && !isControl(text.front()) && !isControl(text.back())) {
        FUZZ_CHECK(trimmed == text);
    }
}

void checkFindAndReplace(const std::string& text, std::string_view needle, std::string_view to) {
    const std::size_t found = gbkFind(text, needle);
    if (found != 0) {
        FUZZ_CHECK(!needle.empty() && found + needle.size() - 1 <= text.size());
        FUZZ_CHECK(std::string_view(text).substr(found - 1, needle.size()) == needle);
        FUZZ_CHECK(startsCharacter(text, found - 1));
    }
    if (needle.empty()) FUZZ_CHECK(found == 0);
    // Replacing a text by itself changes nothing; nothing to replace neither.
    FUZZ_CHECK(gbkReplaceAll(text, needle, needle) == text);
    const std::string replaced = gbkReplaceAll(text, needle, to);
    if (found == 0) FUZZ_CHECK(replaced == text);
}

void checkFormat(const std::string& a, const std::string& b, int number) {
    // %s stops at the first NUL, like every C string.
    const std::string cA(a.c_str());
    const std::string cB(b.c_str());
    FUZZ_CHECK(formatText("%s", a.c_str()) == cA);
    FUZZ_CHECK(formatText("%s|%s", a.c_str(), b.c_str()) == cA + "|" + cB);
    FUZZ_CHECK(formatText("%d%s", number, a.c_str()) == std::to_string(number) + cA);
    const int precision = number < 0 ? -(number % 64) : number % 64;
    FUZZ_CHECK(formatText("%.*s", precision, a.c_str()) ==
               cA.substr(0, static_cast<std::size_t>(precision)));
}

template <typename Convert>
std::optional<std::string> tryConvert(Convert convert, std::string_view text) {
    try {
        return convert(text);
    } catch (const TextConversionError&) {
        return std::nullopt;
    }
}

// What converted cleanly must come back unchanged; what ends in the middle
// of a multi-byte character must be refused.
void checkConversion(std::string_view bytes) {
    if (const auto utf8 = tryConvert(gbkToUtf8, bytes)) {
        FUZZ_CHECK(utf8ToGbk(*utf8) == bytes);
        if (!bytes.empty() && static_cast<unsigned char>(bytes.back()) >= 0x80) {
            FUZZ_CHECK(!tryConvert(gbkToUtf8, bytes.substr(0, bytes.size() - 1)));
        }
    }
    if (const auto gbk = tryConvert(utf8ToGbk, bytes)) {
        FUZZ_CHECK(gbkToUtf8(*gbk) == bytes);
        if (!bytes.empty() && static_cast<unsigned char>(bytes.back()) >= 0x80) {
            FUZZ_CHECK(!tryConvert(utf8ToGbk, bytes.substr(0, bytes.size() - 1)));
        }
    }
}

}  // namespace
}  // namespace lexomir::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lexomir::fuzzing;
    FuzzedDataProvider data(bytes, size);
    const int number = data.ConsumeIntegral<int>();
    const std::string text = data.ConsumeRandomLengthString(256);
    const std::string needle = data.ConsumeRandomLengthString(16);
    const std::string replacement = data.ConsumeRandomLengthString(16);
    const std::string convertible = data.ConsumeRemainingBytesAsString();

    checkTrim(text);
    checkFindAndReplace(text, needle, replacement);
    checkFormat(text, needle, number);
    checkConversion(convertible);
    checkConversion(text);
    return 0;
}
