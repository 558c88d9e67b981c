// One entry a page showed, as the history and the word list keep it: enough
// to list it (text, reading, a brief explanation) and to open it again
// (its record number). Text is GBK, as everywhere inside the program.
#pragma once

#include <cstdint>
#include <string>

#include "entry_text.h"

namespace lexomir {

// Also says which page shows the entry: characters on 新华字典, idioms on 成语字典.
enum class EntryKind { Character, Idiom };

struct LookedUpEntry {
    EntryKind kind = EntryKind::Character;
    std::int32_t record = 0;  // in XinHua.dat or ChengYu.dat, = the database id
    std::string text;         // the character or the idiom
    std::string reading;      // tone-marked pinyin
    std::string brief;        // one short line of explanation
    bool operator==(const LookedUpEntry&) const = default;
};

// The same dictionary entry. Kind and text decide, not the record number,
// which a rebuilt data set may change.
bool isSameEntry(const LookedUpEntry& a, const LookedUpEntry& b);

// At most this many characters of brief, an ellipsis included.
inline constexpr std::size_t kBriefCharacters = 60;

// The entry a detail view shows: its readings and the first line of its
// brief explanation (a character) or of its explanation (an idiom).
LookedUpEntry lookedUpCharacter(std::int32_t record, const CharacterEntry& entry);
LookedUpEntry lookedUpIdiom(std::int32_t record, const IdiomEntry& entry);

}  // namespace lexomir
