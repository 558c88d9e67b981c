// What the window may do while it scans. A scan runs on the user-interface
// thread and processes events between records once it has run for a while
// (ScanPacer says when), so the window's own handlers may run in the middle
// of it. The rules they
// keep:
//  - One search at a time: the search buttons are off while a search handler
//    runs, and a search handler entered anyway (a queued call) does nothing.
//  - A grid being refilled still shows the last result while its found list
//    is rebuilt, so it takes no double click until it is filled. (A character
//    scan that ends in a database error puts the last list back, to match.)
//  - While a scan reads the character database, the idiom grid takes no
//    double click either: its detail would switch the connection.
//  - Right clicks, switching pages and the Help menu work throughout; a count
//    shown during a scan is the count so far.
//  - Closing the window stops the scan at its next record; the scan then
//    shows nothing more: no first entry, and no scan after a notice.
//  - A search that is out of date (the user typed on) is stopped the same
//    way; its grid keeps the last result.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "record_scan.h"

class QProgressBar;
class QWidget;

namespace lexomir {

class ScanSession {
  public:
    enum class Grid { Characters, Idioms };

    // The buttons that start a search.
    void setSearchButtons(std::vector<QWidget*> buttons);

    // Held for a search handler's whole run. When another search runs,
    // started() is false and the handler returns at once.
    class Search {
      public:
        explicit Search(ScanSession& session);
        ~Search();
        Search(const Search&) = delete;
        Search& operator=(const Search&) = delete;
        bool started() const { return m_started; }

      private:
        ScanSession& m_session;
        bool m_started;
    };

    // Held from a scan's first record until its grid is filled.
    class Scan {
      public:
        Scan(ScanSession& session, Grid grid, bool readsDatabase);
        ~Scan();
        Scan(const Scan&) = delete;
        Scan& operator=(const Scan&) = delete;

      private:
        ScanSession& m_session;
    };

    // Before each record: moves the bar and processes events when they are
    // due, and stops the scan once the window is closed.
    ScanHook progressHook(QProgressBar& bar);
    // Also processes events before each of the records first to last (a
    // test's chosen moments).
    void forceEventPasses(std::int32_t first, std::int32_t last) {
        m_forcedEventPasses = {first, last};
    }

    bool isSearching() const { return m_searching; }
    bool isScanning() const { return m_scan.has_value(); }
    std::optional<Grid> scanningGrid() const {
        return m_scan ? std::optional<Grid>(m_scan->grid) : std::nullopt;
    }
    // The running scan stops at its next record, and shows nothing more.
    void stopScan() { m_stopRequested = m_scan.has_value(); }
    bool wasStopped() const { return m_stopRequested; }
    bool mayShowDetail(Grid grid) const;
    // The window closes: a running scan stops at its next record.
    void closeWindow() { m_windowClosed = true; }
    bool isWindowClosed() const { return m_windowClosed; }

  private:
    struct RunningScan {
        Grid grid;
        bool readsDatabase;
    };

    void enableSearchButtons(bool enabled);

    std::vector<QWidget*> m_searchButtons;
    bool m_searching = false;
    std::optional<RunningScan> m_scan;
    bool m_windowClosed = false;
    bool m_stopRequested = false;  // for the running scan, or the last one
    std::pair<std::int32_t, std::int32_t> m_forcedEventPasses{0, -1};
};

}  // namespace lexomir
