// Strokes.db, the outlines and centre lines of the characters' strokes, read
// only. The file is optional: the program works without it, and a damaged
// one is a StrokeDataError, never a crash.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ink.h"
#include "recogniser.h"
#include "sqlite_handles.h"

namespace lexomir::handwriting {

// what() says what is wrong and names the file.
class StrokeDataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One character's strokes in stroke order, in the stroke data's box (y up).
struct CharacterStrokes {
    std::vector<std::string> outlines;  // SVG path strings
    Ink medians;
};

// "x,y x,y;x,y ..." into centre lines; throws StrokeDataError on anything else.
Ink parseCentreLines(std::string_view text);
std::vector<std::string> splitOutlines(std::string_view text);

class StrokeDatabase {
  public:
    // Opens the file read-only and checks its table; throws StrokeDataError
    // when it is missing, not a database or lacks the table or a column.
    explicit StrokeDatabase(std::filesystem::path file);

    const std::filesystem::path& file() const { return m_file; }
    // The strokes of a GBK character, or nothing when the data lacks it.
    std::optional<CharacterStrokes> lookUp(std::string_view gbkCharacter) const;
    // The centre lines of every character wanted(gbk) accepts, in screen
    // orientation, in the order of the file (code points).
    std::vector<CharacterTemplate> readTemplates(
        const std::function<bool(const std::string& gbkCharacter)>& wanted) const;
    // The conversion notice the file carries.
    std::string notice() const;

  private:
    [[noreturn]] void fail(const std::string& what) const;

    std::filesystem::path m_file;
    SqliteConnection m_db;
};

}  // namespace lexomir::handwriting
