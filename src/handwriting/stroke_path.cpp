#include "stroke_path.h"

#include <charconv>
#include <string>

namespace lexomir::handwriting {
namespace {

int pointsOf(PathCommandKind kind) {
    switch (kind) {
        case PathCommandKind::Move:
        case PathCommandKind::Line:
            return 1;
        case PathCommandKind::Quad:
            return 2;
        case PathCommandKind::Cubic:
            return 3;
        case PathCommandKind::Close:
            return 0;
    }
    return 0;
}

bool isCommandLetter(char c) {
    return c == 'M' || c == 'L' || c == 'Q' || c == 'C' || c == 'Z';
}

class PathReader {
  public:
    explicit PathReader(std::string_view path) : m_path(path) {}

    void skipSeparators() {
        while (m_at < m_path.size() && (m_path[m_at] == ' ' || m_path[m_at] == ',' ||
                                        m_path[m_at] == '\t' || m_path[m_at] == '\n'))
            ++m_at;
    }
    bool atEnd() {
        skipSeparators();
        return m_at >= m_path.size();
    }
    bool atNumber() {
        skipSeparators();
        if (m_at >= m_path.size()) return false;
        const char c = m_path[m_at];
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }
    char command() {
        skipSeparators();
        const char c = m_path[m_at];
        if (!isCommandLetter(c)) fail(std::string("unknown command '") + c + "'");
        ++m_at;
        return c;
    }
    float number() {
        skipSeparators();
        std::size_t start = m_at;
        if (start < m_path.size() && m_path[start] == '+') ++start;
        float value = 0;
        const char* first = m_path.data() + start;
        const char* last = m_path.data() + m_path.size();
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end == first) fail("a number is missing or malformed");
        m_at = static_cast<std::size_t>(end - m_path.data());
        return value;
    }
    [[noreturn]] void fail(const std::string& what) const {
        throw PathSyntaxError("stroke path, at byte " + std::to_string(m_at + 1) + ": " + what);
    }

  private:
    std::string_view m_path;
    std::size_t m_at = 0;
};

}  // namespace

std::vector<PathCommand> parseStrokePath(std::string_view path) {
    PathReader reader(path);
    std::vector<PathCommand> commands;
    if (reader.atEnd()) reader.fail("the path is empty");
    while (!reader.atEnd()) {
        const auto kind = static_cast<PathCommandKind>(reader.command());
        if (commands.empty() && kind != PathCommandKind::Move) reader.fail("a path starts with M");
        const int count = pointsOf(kind);
        bool first = true;
        // A command letter may be followed by several point groups.
        while (first || (count > 0 && reader.atNumber())) {
            PathCommand command{kind, {}, count};
            for (int i = 0; i < count; ++i) {
                const float x = reader.number();
                const float y = reader.number();
                command.points[static_cast<std::size_t>(i)] = {x, y};
            }
            commands.push_back(command);
            first = false;
        }
    }
    return commands;
}

}  // namespace lexomir::handwriting
