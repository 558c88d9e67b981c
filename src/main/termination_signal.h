// SIGTERM and SIGINT close the main window the normal way, so that a session
// ending or a test harness stopping the program still gets the settings written.
#pragma once

#include <QObject>

class QWidget;

namespace lexomir {

// Catches the signals from now on; call before the application object exists,
// so a signal that comes during start-up waits for the window.
void catchTerminationSignals();

class CloseOnTermination : public QObject {
  public:
    explicit CloseOnTermination(QWidget& window);

  private:
    void closeWindow();

    QWidget& m_window;
};

}  // namespace lexomir
