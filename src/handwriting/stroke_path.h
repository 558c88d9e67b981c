// The outline of one stroke, an SVG path string of absolute commands
// M (move), L (line), Q (quadratic), C (cubic) and Z (close), in the stroke
// data's box (y up).
#pragma once

#include <array>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "ink.h"

namespace lexomir::handwriting {

class PathSyntaxError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class PathCommandKind : char { Move = 'M', Line = 'L', Quad = 'Q', Cubic = 'C', Close = 'Z' };

// One command with its end point last: Move and Line carry 1 point, Quad 2,
// Cubic 3, Close none.
struct PathCommand {
    PathCommandKind kind = PathCommandKind::Move;
    std::array<Point, 3> points{};
    int pointCount = 0;
};

// Throws PathSyntaxError, naming the offending place, for an unknown command,
// a missing or malformed number, or a path that does not start with M.
// Repeated coordinate pairs after a command repeat it, as SVG allows.
std::vector<PathCommand> parseStrokePath(std::string_view path);

}  // namespace lexomir::handwriting
