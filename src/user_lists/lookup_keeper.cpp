#include "lookup_keeper.h"

namespace lexomir {

void LookupKeeper::shown(const LookedUpEntry& entry) {
    trail(entry.kind).open(entry);
    m_store.recordShown(entry);
}

std::optional<LookedUpEntry> LookupKeeper::shownAgain(const LookedUpEntry* entry) {
    if (entry == nullptr) return std::nullopt;
    m_store.recordShown(*entry);
    return *entry;
}

std::optional<LookedUpEntry> LookupKeeper::back(EntryKind page) {
    return shownAgain(trail(page).back());
}

std::optional<LookedUpEntry> LookupKeeper::forward(EntryKind page) {
    return shownAgain(trail(page).forward());
}

std::optional<LookedUpEntry> LookupKeeper::current(EntryKind page) const {
    const LookedUpEntry* entry = trail(page).current();
    return entry ? std::optional<LookedUpEntry>(*entry) : std::nullopt;
}

bool LookupKeeper::isWord(EntryKind page) {
    const LookedUpEntry* entry = trail(page).current();
    return entry != nullptr && m_store.containsWord(*entry);
}

std::optional<bool> LookupKeeper::toggleWord(EntryKind page) {
    const LookedUpEntry* entry = trail(page).current();
    if (entry == nullptr) return std::nullopt;
    return m_store.toggleWord(*entry);
}

}  // namespace lexomir
