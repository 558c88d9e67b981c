// The stroke names of cnchar-order, from the table extract-strokes.mjs
// writes (zi, names joined by "、"), for the 笔顺 line of the entries.
#pragma once

#include <istream>
#include <map>
#include <string>
#include <vector>

#include "xinhua_builder.h"

namespace lexomir::xinhua {

using StrokeOrderTable = std::map<std::string, std::string>;  // UTF-8 zi -> names

// Throws BuildError naming the line for a row that is not "zi<TAB>names".
StrokeOrderTable readStrokeOrderTable(std::istream& in);

struct StrokeOrderSummary {
    std::size_t named = 0;         // entries that got their stroke names
    std::size_t countDiffers = 0;  // left out: the names disagree with the stroke count
};

// Gives every entry its names where the table has as many as the entry's
// stroke count.
StrokeOrderSummary addStrokeOrder(std::vector<XinHuaEntry>& entries, const StrokeOrderTable& table);

}  // namespace lexomir::xinhua
