#include "termination_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>

namespace lexomir {
namespace {

// A signal handler can only reach the program through a global; it hands the
// signal to the event loop through this pipe.
int g_signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(g_signalPipe[1], &byte, 1);
}

}  // namespace

void catchTerminationSignals() {
    if (g_signalPipe[0] >= 0 || pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

CloseOnTermination::CloseOnTermination(QWidget& window) : m_window(window) {
    if (g_signalPipe[0] < 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &CloseOnTermination::closeWindow);
}

void CloseOnTermination::closeWindow() {
    char buffer[16];
    while (read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
    }
    m_window.close();
}

}  // namespace lexomir
