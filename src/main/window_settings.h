// The section [window] of dat/set.ini: the main window's place, size and
// state and the heights of the two result grids.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSettings>
#include <QSize>
#include <optional>

namespace lexomir {

enum class SavedWindowState { Normal = 0, Minimised = 1, Maximised = 2 };

struct WindowSettings {
    static constexpr int kDefaultPosition = 10;
    static constexpr int kDefaultClientSize = 400;
    static constexpr int kDefaultGridHeight = 160;

    int left = kDefaultPosition;
    int top = kDefaultPosition;
    int width = kDefaultClientSize;
    int height = kDefaultClientSize;
    SavedWindowState state = SavedWindowState::Normal;
    int GridXinHua = kDefaultGridHeight;
    int GridChengYu = kDefaultGridHeight;
};

// A missing or non-integer key takes its default; a state other than 0, 1, 2
// reads as normal; a grid height below kMinimumPaneHeight reads as that.
WindowSettings readWindowSettings(QSettings& settings);

// Writes the seven keys, each reaching the file at once. False as soon as a
// write fails, or when the settings file's folder does not exist.
bool writeWindowSettings(QSettings& settings, const WindowSettings& values);

// Where the window stands when it is neither maximised nor minimised: the
// corner of its frame and the size of its client area.
struct NormalGeometry {
    QPoint frameCorner;
    QSize clientSize;
};

// The section [detail]: the pixel size of the detail boxes' text, which the
// user makes larger or smaller from the keyboard.
inline constexpr int kDefaultDetailTextPixels = 19;
inline constexpr int kSmallestDetailTextPixels = 10;
inline constexpr int kLargestDetailTextPixels = 48;
// Nothing when the file holds no such size; a size out of bounds is brought
// within them.
std::optional<int> readDetailTextPixels(QSettings& settings);
bool writeDetailTextPixels(QSettings& settings, int pixels);

// The section [clipboard]: whether text copied in other programs is looked
// up. Nothing when the file does not say; any integer but 0 is on.
std::optional<bool> readClipboardWatch(QSettings& settings);
bool writeClipboardWatch(QSettings& settings, bool watching);

// The values as they can be shown on these screens. A width or height below 1
// or beyond the screens' extent takes its default; a window whose title bar
// (the strip along its top) would be on no screen, not even in part, goes back
// to the default place and size; a grid taller than the screens' extent takes
// the default height. Sizes beyond the screens are never of use, and a window
// millions of pixels tall cannot be painted.
WindowSettings fitToScreens(WindowSettings values, const QList<QRect>& screens);

}  // namespace lexomir
