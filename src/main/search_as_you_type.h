// Search as you type in one field: once typing has paused, the field's search
// runs as its button would, but never on a blank field, which shows no
// message and clears nothing. A keystroke while that field's grid is being
// refilled stops the scan, so that only the newest text is searched next and
// no older searches queue up behind it.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "scan_session.h"

class QLineEdit;

namespace lexomir {

class SearchAsYouType : public QObject {
  public:
    static constexpr std::chrono::milliseconds kPause{200};

    // search runs the field's search; grid is the one it fills.
    SearchAsYouType(QLineEdit& field, ScanSession& session, ScanSession::Grid grid,
                    std::function<void()> search);

    // The program set the field's text: searched once the window is free.
    void searchSoon() { m_due.start(0); }
    // The field's search ran another way (its button, Enter).
    void cancel() { m_due.stop(); }
    bool isPending() const { return m_due.isActive(); }

  private:
    void typed();
    void searchIfFree();

    QLineEdit& m_field;
    ScanSession& m_session;
    ScanSession::Grid m_grid;
    std::function<void()> m_search;
    QTimer m_due;
};

}  // namespace lexomir
