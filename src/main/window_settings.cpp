#include "window_settings.h"

#include <QFileInfo>
#include <algorithm>

namespace lexomir {
namespace {

constexpr const char* kSection = "window";
constexpr int kTitleBarHeight = 24;

int readInteger(const QSettings& settings, const char* key, int fallback) {
    bool ok = false;
    const int value = settings.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

SavedWindowState stateFromInteger(int value) {
    switch (value) {
        case 1:
            return SavedWindowState::Minimised;
        case 2:
            return SavedWindowState::Maximised;
        default:
            return SavedWindowState::Normal;
    }
}

bool writeInteger(QSettings& settings, const char* key, int value) {
    settings.setValue(QLatin1String(key), QString::number(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

WindowSettings readWindowSettings(QSettings& settings) {
    WindowSettings values;
    settings.beginGroup(QLatin1String(kSection));
    values.left = readInteger(settings, "left", values.left);
    values.top = readInteger(settings, "top", values.top);
    values.width = readInteger(settings, "width", values.width);
    values.height = readInteger(settings, "height", values.height);
    values.state = stateFromInteger(readInteger(settings, "state", 0));
    values.GridXinHua = std::max(WindowSettings::kGridHeightFloor,
                                 readInteger(settings, "GridXinHua", values.GridXinHua));
    values.GridChengYu = std::max(WindowSettings::kGridHeightFloor,
                                  readInteger(settings, "GridChengYu", values.GridChengYu));
    settings.endGroup();
    return values;
}

bool writeWindowSettings(QSettings& settings, const WindowSettings& values, bool withGeometry) {
    // QSettings would create a missing data folder; the program writes nothing but the file.
    if (!QFileInfo(QFileInfo(settings.fileName()).absolutePath()).isDir()) return false;
    settings.beginGroup(QLatin1String(kSection));
    bool ok = true;
    if (withGeometry) {
        ok = writeInteger(settings, "left", values.left) &&
             writeInteger(settings, "top", values.top) &&
             writeInteger(settings, "width", values.width) &&
             writeInteger(settings, "height", values.height);
    }
    ok = ok && writeInteger(settings, "state", static_cast<int>(values.state)) &&
         writeInteger(settings, "GridXinHua", values.GridXinHua) &&
         writeInteger(settings, "GridChengYu", values.GridChengYu);
    settings.endGroup();
    return ok;
}

bool titleBarOnAScreen(const QRect& frame, const QList<QRect>& screens) {
    const QRect titleBar(frame.left(), frame.top(), std::max(frame.width(), 1), kTitleBarHeight);
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QRect& screen) { return screen.intersects(titleBar); });
}

}  // namespace lexomir
