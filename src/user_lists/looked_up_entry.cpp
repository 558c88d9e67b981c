#include "looked_up_entry.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "gbk_text.h"

namespace lexomir {
namespace {

constexpr std::string_view kEllipsis = "\xA1\xAD";  // …

// The text up to its first line break ("<br>", CR or LF), trimmed, and cut
// to kBriefCharacters characters.
std::string firstLine(std::string_view text) {
    std::size_t end = text.size();
    if (const std::size_t br = gbkFind(text, "<br>"); br != 0) end = br - 1;
    end = std::min(end, text.substr(0, end).find_first_of("\r\n"));
    const std::string line = trimControl(text.substr(0, end));
    const std::vector<std::string_view> characters = gbkCharacters(line);
    if (characters.size() <= kBriefCharacters) return line;
    const std::string_view last = characters[kBriefCharacters - 2];
    const std::size_t kept = static_cast<std::size_t>(last.data() + last.size() - line.data());
    return line.substr(0, kept) + std::string(kEllipsis);
}

}  // namespace

bool isSameEntry(const LookedUpEntry& a, const LookedUpEntry& b) {
    return a.kind == b.kind && a.text == b.text;
}

LookedUpEntry lookedUpCharacter(std::int32_t record, const CharacterEntry& entry) {
    return {EntryKind::Character, record, entry.zi, entry.pinyin, firstLine(entry.jijie)};
}

LookedUpEntry lookedUpIdiom(std::int32_t record, const IdiomEntry& entry) {
    return {EntryKind::Idiom, record, entry.ChengYu, entry.PinYin, firstLine(entry.DianGu)};
}

}  // namespace lexomir
