// Offscreen windows on a desktop-sized screen: Qt's offscreen platform
// pretends to an 800 by 600 screen by default, narrower than the main window
// may be, which would send every saved size back to its default.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace lexomir::testing {

// Unless the environment names another platform.
inline void useOffscreenDesktop() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen") return;
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + LEXOMIR_DESKTOP_SCREEN_CONFIG);
}

}  // namespace lexomir::testing
