// What one page showed this run, for Alt+Left and Alt+Right: a list of entries
// with a cursor on the one shown, as a web browser keeps its pages. Opening
// an entry after going back drops the entries that lay ahead.
#pragma once

#include <cstddef>
#include <vector>

#include "looked_up_entry.h"

namespace lexomir {

class PageTrail {
  public:
    // The oldest are forgotten beyond this many.
    static constexpr std::size_t kLimit = 500;

    // The page shows an entry the user opened (a search, a click, the
    // history list); opening the one shown again changes nothing.
    void open(const LookedUpEntry& entry);
    // The entry shown, or null before the first.
    const LookedUpEntry* current() const;
    // Moves the cursor and returns the entry to show, or null at that end.
    const LookedUpEntry* back();
    const LookedUpEntry* forward();
    bool canGoBack() const { return m_current > 0; }
    bool canGoForward() const { return m_current + 1 < m_entries.size(); }

  private:
    std::vector<LookedUpEntry> m_entries;
    std::size_t m_current = 0;  // meaningful while m_entries is not empty
};

}  // namespace lexomir
