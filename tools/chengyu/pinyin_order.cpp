#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

#include "chengyu_builder.h"
#include "utf8_decoder.h"

namespace lexomir::chengyu {
namespace {

struct ToneMark {
    char32_t codePoint;
    char letter;
    int tone;
};

constexpr int kNeutralTone = 5;

constexpr std::array<ToneMark, 31> kToneMarks{{
    {U'ā', 'a', 1}, {U'á', 'a', 2}, {U'ǎ', 'a', 3}, {U'à', 'a', 4}, {U'ē', 'e', 1},
    {U'é', 'e', 2}, {U'ě', 'e', 3}, {U'è', 'e', 4}, {U'ī', 'i', 1}, {U'í', 'i', 2},
    {U'ǐ', 'i', 3}, {U'ì', 'i', 4}, {U'ō', 'o', 1}, {U'ó', 'o', 2}, {U'ǒ', 'o', 3},
    {U'ò', 'o', 4}, {U'ū', 'u', 1}, {U'ú', 'u', 2}, {U'ǔ', 'u', 3}, {U'ù', 'u', 4},
    {U'ǖ', 'v', 1}, {U'ǘ', 'v', 2}, {U'ǚ', 'v', 3}, {U'ǜ', 'v', 4}, {U'ü', 'v', kNeutralTone},
    {U'ń', 'n', 2}, {U'ň', 'n', 3}, {U'ǹ', 'n', 4}, {U'ḿ', 'm', 2}, {U'ê', 'e', kNeutralTone},
    {U'ế', 'e', 2},
}};

char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
    const std::optional<char32_t> codePoint = data::decodeUtf8(text, pos);
    if (!codePoint) throw BuildError("malformed UTF-8");
    return *codePoint;
}

std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t pos = 0; pos < text.size();) out.push_back(nextCodePoint(text, pos));
    return out;
}

std::pair<std::string, int> parseSyllable(std::string_view syllable, std::string_view whole) {
    std::string letters;
    int tone = kNeutralTone;
    for (std::size_t pos = 0; pos < syllable.size();) {
        const char32_t c = nextCodePoint(syllable, pos);
        if (c >= U'a' && c <= U'z') {
            letters += static_cast<char>(c);
            continue;
        }
        const auto mark = std::find_if(kToneMarks.begin(), kToneMarks.end(),
                                       [c](const ToneMark& m) { return m.codePoint == c; });
        if (mark == kToneMarks.end())
            throw BuildError("pinyin \"" + std::string(whole) + "\": unexpected character");
        letters += mark->letter;
        if (mark->tone != kNeutralTone) tone = mark->tone;
    }
    return {letters, tone};
}

}  // namespace

PinyinKey pinyinKey(std::string_view pinYin) {
    if (pinYin.empty()) throw BuildError("empty pinyin");
    PinyinKey key;
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = pinYin.find(' ', start);
        const std::string_view syllable =
            pinYin.substr(start, blank == std::string_view::npos ? blank : blank - start);
        if (syllable.empty())
            throw BuildError("pinyin \"" + std::string(pinYin) + "\": empty syllable");
        auto [letters, tone] = parseSyllable(syllable, pinYin);
        key.syllables.push_back(std::move(letters));
        key.tones.push_back(tone);
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    return key;
}

void sortByPinyin(std::vector<IdiomRow>& rows) {
    struct Keyed {
        PinyinKey key;
        std::vector<char32_t> idiom;
        IdiomRow row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (auto& row : rows)
        keyed.push_back({pinyinKey(row.pinYin), codePoints(row.chengYu), std::move(row)});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(a.key.syllables, a.key.tones, a.idiom) <
               std::tie(b.key.syllables, b.key.tones, b.idiom);
    });
    rows.clear();
    for (auto& k : keyed) rows.push_back(std::move(k.row));
}

std::size_t chineseCharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char32_t c : codePoints(utf8)) {
        if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
            (c >= 0xF900 && c <= 0xFAFF))
            ++count;
    }
    return count;
}

}  // namespace lexomir::chengyu
