#include "page_trail.h"

namespace lexomir {

void PageTrail::open(const LookedUpEntry& entry) {
    if (const LookedUpEntry* shown = current(); shown && isSameEntry(*shown, entry)) return;
    if (!m_entries.empty()) m_entries.resize(m_current + 1);
    m_entries.push_back(entry);
    if (m_entries.size() > kLimit) m_entries.erase(m_entries.begin());
    m_current = m_entries.size() - 1;
}

const LookedUpEntry* PageTrail::current() const {
    return m_entries.empty() ? nullptr : &m_entries[m_current];
}

const LookedUpEntry* PageTrail::back() {
    if (!canGoBack()) return nullptr;
    return &m_entries[--m_current];
}

const LookedUpEntry* PageTrail::forward() {
    if (!canGoForward()) return nullptr;
    return &m_entries[++m_current];
}

}  // namespace lexomir
