#include "scan_session.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QWidget>
#include <utility>

#include "scan_pacer.h"

namespace lexomir {

void ScanSession::setSearchButtons(std::vector<QWidget*> buttons) {
    m_searchButtons = std::move(buttons);
}

void ScanSession::enableSearchButtons(bool enabled) {
    for (QWidget* button : m_searchButtons) button->setEnabled(enabled);
}

ScanSession::Search::Search(ScanSession& session)
    : m_session(session), m_started(!session.m_searching) {
    if (!m_started) return;
    m_session.m_searching = true;
    m_session.enableSearchButtons(false);
}

ScanSession::Search::~Search() {
    if (!m_started) return;
    m_session.m_searching = false;
    m_session.enableSearchButtons(true);
}

ScanSession::Scan::Scan(ScanSession& session, Grid grid, bool readsDatabase) : m_session(session) {
    m_session.m_scan = RunningScan{grid, readsDatabase};
    m_session.m_stopRequested = false;
}

ScanSession::Scan::~Scan() {
    m_session.m_scan.reset();
}

ScanHook ScanSession::progressHook(QProgressBar& bar) {
    return [this, &bar, pacer = ScanPacer(bar.maximum(), bar.width(), bar.value())](
               std::int32_t record) mutable {
        const bool forced =
            record >= m_forcedEventPasses.first && record <= m_forcedEventPasses.second;
        // The pacer sees every record, so that it knows when the scan began.
        const bool eventPass = pacer.eventPassDue(record) || forced;
        if (pacer.barMoveDue(record, eventPass)) bar.setValue(record);
        if (eventPass) QCoreApplication::processEvents();
        return !m_windowClosed && !m_stopRequested;
    };
}

bool ScanSession::mayShowDetail(Grid grid) const {
    if (!m_scan) return true;
    if (m_scan->grid == grid) return false;
    return grid != Grid::Idioms || !m_scan->readsDatabase;
}

}  // namespace lexomir
