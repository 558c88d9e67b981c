#include "grid_layout.h"

#include <algorithm>

namespace lexomir {
namespace {

GridLayout layoutWithColumns(int columns, std::size_t foundCount) {
    // A grid narrower than its minimum still gets one column.
    const int safeColumns = std::max(columns, 1);
    return {safeColumns, static_cast<int>(foundCount / static_cast<std::size_t>(safeColumns)) + 1};
}

int columnsThatFit(int gridWidth, int defaultColumnWidth) {
    return defaultColumnWidth > 0 ? gridWidth / defaultColumnWidth : 1;
}

}  // namespace

GridLayout characterGridLayout(int gridWidth, int defaultColumnWidth, std::size_t foundCount) {
    return layoutWithColumns(columnsThatFit(gridWidth, defaultColumnWidth) - 2, foundCount);
}

GridLayout idiomGridLayout(int gridWidth, int defaultColumnWidth, std::size_t foundCount) {
    return layoutWithColumns(columnsThatFit(gridWidth, defaultColumnWidth), foundCount);
}

std::optional<std::size_t> cellListIndex(int columns, int column, int row, std::size_t foundCount) {
    if (columns <= 0 || column < 0 || row < 0 || column >= columns) return std::nullopt;
    const long long index = static_cast<long long>(columns) * row + column;
    if (static_cast<unsigned long long>(index) >= foundCount) return std::nullopt;
    return static_cast<std::size_t>(index);
}

}  // namespace lexomir
