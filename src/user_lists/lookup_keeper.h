// Everything the window keeps of what it shows, behind a few calls: each
// entry shown goes into the history and onto its page's trail, back and
// forward walk that trail, and ★ adds or removes the page's entry in the word
// list. The window only tells what it shows and shows what it gets back.
#pragma once

#include <optional>

#include "lookup_store.h"
#include "page_trail.h"

namespace lexomir {

class LookupKeeper {
  public:
    explicit LookupKeeper(LookupStore& store) : m_store(store) {}

    // A detail view shows an entry the user opened; its kind names the page.
    void shown(const LookedUpEntry& entry);
    // The entry before or after the page's current one, now current and
    // recorded as shown; nothing at that end of the trail.
    std::optional<LookedUpEntry> back(EntryKind page);
    std::optional<LookedUpEntry> forward(EntryKind page);
    bool canGoBack(EntryKind page) const { return trail(page).canGoBack(); }
    bool canGoForward(EntryKind page) const { return trail(page).canGoForward(); }
    // The entry the page shows, or nothing before the first.
    std::optional<LookedUpEntry> current(EntryKind page) const;

    // Whether the page's entry is in the word list (false when it shows none).
    bool isWord(EntryKind page);
    // Adds the page's entry to the word list or removes it: whether it is
    // listed now; nothing when the page shows no entry or the change failed.
    std::optional<bool> toggleWord(EntryKind page);

    LookupStore& store() { return m_store; }

  private:
    PageTrail& trail(EntryKind page) {
        return page == EntryKind::Character ? m_characters : m_idioms;
    }
    const PageTrail& trail(EntryKind page) const {
        return page == EntryKind::Character ? m_characters : m_idioms;
    }
    std::optional<LookedUpEntry> shownAgain(const LookedUpEntry* entry);

    LookupStore& m_store;
    PageTrail m_characters;
    PageTrail m_idioms;
};

}  // namespace lexomir
