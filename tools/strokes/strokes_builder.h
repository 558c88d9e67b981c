// lexomir-build-strokes' checks and writer: the table extract-strokes.mjs
// writes becomes Strokes.db, the stroke data the window and the CLI read.
#pragma once

#include <filesystem>
#include <istream>
#include <set>
#include <string>
#include <vector>

#include "data_output.h"

namespace lexomir::strokes {

using data::BuildError;

struct StrokeRow {
    std::string zi;  // UTF-8, one character
    int strokeCount = 0;
    std::string outlines;  // path strings separated by ';'
    std::string medians;   // centre lines separated by ';'
};

struct StrokeTable {
    std::string source;  // "hanzi-writer-data 2.0.1", from the table's first line
    std::vector<StrokeRow> rows;
};

// Throws BuildError naming the line for a malformed row: not one character,
// out of code-point order, a path the parser refuses, a centre line that is
// not points, or counts of strokes, outlines and centre lines that differ.
StrokeTable readStrokeTable(std::istream& in);

// The characters of the XinHua.dat in dataFolder, in UTF-8. Throws BuildError
// when the file cannot be read whole.
std::set<std::string> dictionaryCharacters(const std::filesystem::path& dataFolder);

// table without the rows of characters the dictionary lacks: a radical form
// such as ⺌ would be a handwriting candidate that no search finds.
StrokeTable keepingOnly(StrokeTable table, const std::set<std::string>& characters);

// The notice Strokes.db carries: where its content comes from, under which
// licence, and how it was converted.
std::vector<std::string> conversionNotice(const std::string& source);

void writeStrokesDb(const StrokeTable& table, const std::filesystem::path& file);

}  // namespace lexomir::strokes
