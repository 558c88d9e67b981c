// The Song-style font the windows use, at a size in pixels.
#pragma once

#include <QFont>

namespace lexomir {

// "SimSun" is rarely installed on Linux; the application maps it to a Song/Ming
// style CJK font through QFont's family substitutions.
inline constexpr const char* kSongFamily = "SimSun";

inline QFont songFont(int pixelSize) {
    QFont font(QString::fromLatin1(kSongFamily));
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace lexomir
