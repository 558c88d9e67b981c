#include "window_settings.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

#include "grid_layout.h"

namespace lexomir {
namespace {

constexpr const char* kSection = "window";
constexpr const char* kDetailSection = "detail";
constexpr const char* kDetailTextKey = "textPixels";
constexpr const char* kClipboardSection = "clipboard";
constexpr const char* kClipboardWatchKey = "watch";
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

// Whether the file's section holds the line key=value, as QSettings writes
// an integer.
bool fileHoldsLine(const QString& fileName, const char* sectionName, const char* key, int value) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = QByteArray(key) + '=' + QByteArray::number(value);
    const QByteArray section = QByteArray("[") + sectionName + ']';
    bool inSection = false;
    while (!file.atEnd()) {
        const QByteArray text = file.readLine().trimmed();
        if (text.startsWith('[')) {
            inSection = text == section;
        } else if (inSection && text == line) {
            return true;
        }
    }
    return false;
}

// In the group the settings are in, which is section.
bool writeInteger(QSettings& settings, const char* section, const char* key, int value) {
    settings.setValue(QLatin1String(key), QString::number(value));
    settings.sync();
    // QSettings keeps the first error it met. Once a malformed file has been
    // read, the status says so for good and tells nothing of this write, so
    // the file itself must show whether the value reached it.
    if (settings.status() == QSettings::FormatError)
        return fileHoldsLine(settings.fileName(), section, key, value);
    return settings.status() == QSettings::NoError;
}

// QSettings would create a missing data folder; the program writes nothing but the file.
bool folderExists(const QSettings& settings) {
    return QFileInfo(QFileInfo(settings.fileName()).absolutePath()).isDir();
}

// In 64 bits: a position read from the file may be near the limits of int,
// where the right or bottom edge would overflow.
bool titleBarOnAScreen(int left, int top, int width, const QList<QRect>& screens) {
    const qint64 barLeft = left;
    const qint64 barTop = top;
    const qint64 barRight = barLeft + std::max(width, 1) - 1;
    const qint64 barBottom = barTop + kTitleBarHeight - 1;
    return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        return barLeft <= screen.right() && barRight >= screen.left() &&
               barTop <= screen.bottom() && barBottom >= screen.top();
    });
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
    values.GridXinHua =
        std::max(kMinimumPaneHeight, readInteger(settings, "GridXinHua", values.GridXinHua));
    values.GridChengYu =
        std::max(kMinimumPaneHeight, readInteger(settings, "GridChengYu", values.GridChengYu));
    settings.endGroup();
    return values;
}

bool writeWindowSettings(QSettings& settings, const WindowSettings& values) {
    if (!folderExists(settings)) return false;
    settings.beginGroup(QLatin1String(kSection));
    const auto write = [&](const char* key, int value) {
        return writeInteger(settings, kSection, key, value);
    };
    const bool ok =
        write("left", values.left) && write("top", values.top) && write("width", values.width) &&
        write("height", values.height) && write("state", static_cast<int>(values.state)) &&
        write("GridXinHua", values.GridXinHua) && write("GridChengYu", values.GridChengYu);
    settings.endGroup();
    return ok;
}

namespace {

// A key of a section of its own, nothing when it is missing or no integer.
std::optional<int> readOwnKey(QSettings& settings, const char* section, const char* key) {
    settings.beginGroup(QLatin1String(section));
    constexpr int kAbsent = std::numeric_limits<int>::min();
    const int value = readInteger(settings, key, kAbsent);
    const bool present = settings.contains(QLatin1String(key));
    settings.endGroup();
    if (!present || value == kAbsent) return std::nullopt;
    return value;
}

bool writeOwnKey(QSettings& settings, const char* section, const char* key, int value) {
    if (!folderExists(settings)) return false;
    settings.beginGroup(QLatin1String(section));
    const bool ok = writeInteger(settings, section, key, value);
    settings.endGroup();
    return ok;
}

}  // namespace

std::optional<int> readDetailTextPixels(QSettings& settings) {
    const std::optional<int> pixels = readOwnKey(settings, kDetailSection, kDetailTextKey);
    if (!pixels) return std::nullopt;
    return std::clamp(*pixels, kSmallestDetailTextPixels, kLargestDetailTextPixels);
}

bool writeDetailTextPixels(QSettings& settings, int pixels) {
    return writeOwnKey(settings, kDetailSection, kDetailTextKey, pixels);
}

std::optional<bool> readClipboardWatch(QSettings& settings) {
    const std::optional<int> watch = readOwnKey(settings, kClipboardSection, kClipboardWatchKey);
    return watch ? std::optional<bool>(*watch != 0) : std::nullopt;
}

bool writeClipboardWatch(QSettings& settings, bool watching) {
    return writeOwnKey(settings, kClipboardSection, kClipboardWatchKey, watching ? 1 : 0);
}

WindowSettings fitToScreens(WindowSettings values, const QList<QRect>& screens) {
    const WindowSettings defaults;
    QRect extent;
    for (const QRect& screen : screens) extent = extent.united(screen);
    const auto fits = [](int size, int limit) { return size >= 1 && size <= limit; };
    if (!fits(values.width, extent.width())) values.width = defaults.width;
    if (!fits(values.height, extent.height())) values.height = defaults.height;
    if (!titleBarOnAScreen(values.left, values.top, values.width, screens)) {
        values.left = defaults.left;
        values.top = defaults.top;
        values.width = defaults.width;
        values.height = defaults.height;
    }
    if (values.GridXinHua > extent.height()) values.GridXinHua = defaults.GridXinHua;
    if (values.GridChengYu > extent.height()) values.GridChengYu = defaults.GridChengYu;
    return values;
}

}  // namespace lexomir
