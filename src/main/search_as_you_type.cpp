#include "search_as_you_type.h"

#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <utility>

namespace lexomir {
namespace {

// As the searches trim: nothing but bytes of 0x20 or less.
bool isBlank(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0x20; });
}

}  // namespace

SearchAsYouType::SearchAsYouType(QLineEdit& field, ScanSession& session, ScanSession::Grid grid,
                                 std::function<void()> search)
    : QObject(&field),
      m_field(field),
      m_session(session),
      m_grid(grid),
      m_search(std::move(search)) {
    m_due.setSingleShot(true);
    connect(&m_field, &QLineEdit::textEdited, this, &SearchAsYouType::typed);
    connect(&m_due, &QTimer::timeout, this, &SearchAsYouType::searchIfFree);
}

void SearchAsYouType::typed() {
    if (m_session.scanningGrid() == m_grid) m_session.stopScan();
    m_due.start(kPause);
}

// Another search, or a modal dialog, has the window: the search waits for it.
void SearchAsYouType::searchIfFree() {
    if (m_session.isWindowClosed() || isBlank(m_field.text())) return;
    if (m_session.isSearching() || QApplication::activeModalWidget()) return m_due.start(kPause);
    m_search();
}

}  // namespace lexomir
