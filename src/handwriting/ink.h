// Strokes as the recogniser and the stroke data see them: points in screen
// orientation (x to the right, y down), any scale and offset.
#pragma once

#include <vector>

namespace lexomir::handwriting {

struct Point {
    float x = 0;
    float y = 0;
};

using Stroke = std::vector<Point>;
using Ink = std::vector<Stroke>;

// The stroke data's own box: 1024 units wide, y pointing up, with the
// baseline at 900, so that a point (x, y) of a path or centre line stands at
// (x, 900 - y) on screen.
inline constexpr float kGlyphBoxSize = 1024;
inline constexpr float kGlyphBaseline = 900;

inline Point glyphToScreen(Point glyphPoint) {
    return {glyphPoint.x, kGlyphBaseline - glyphPoint.y};
}

}  // namespace lexomir::handwriting
