// How found entries are laid out in the result grids, row by row.
#pragma once

#include <cstddef>
#include <optional>

namespace lexomir {

// Neither a result grid nor the memo under it is ever lower than this, in
// pixels.
inline constexpr int kMinimumPaneHeight = 30;

struct GridLayout {
    int columns = 1;
    int rows = 1;
};

// Characters: width / defaultColumnWidth - 2 columns; idioms:
// width / defaultColumnWidth. At least one column either way; rows are
// found / columns + 1, so an exact multiple leaves an empty last row.
GridLayout characterGridLayout(int gridWidth, int defaultColumnWidth, std::size_t foundCount);
GridLayout idiomGridLayout(int gridWidth, int defaultColumnWidth, std::size_t foundCount);

// The list index of cell (column, row), or nothing when it is negative or at
// or beyond foundCount.
std::optional<std::size_t> cellListIndex(int columns, int column, int row, std::size_t foundCount);

}  // namespace lexomir
