// BuShouTable: the radicals the character page offers, grouped by stroke
// count. 295 cells of 3 bytes: a 2-byte GBK radical and its NUL, or an empty
// cell that opens the next stroke group (cell 294 only ends the table).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lexomir {

class RadicalTable {
  public:
    static constexpr int kCellCount = 295;
    static constexpr int kCellWidth = 3;
    static constexpr int kListedCells = 294;  // cells 0..293 become list items

    // The cell's text: a 2-byte radical, or empty.
    std::string_view cell(int index) const;
    // The radical of list item index, or empty for a stroke-group heading or
    // an index outside the list.
    std::string_view listedRadical(int index) const;
    // Number of empty cells among cells 0..index (clamped to the table).
    int strokeGroup(int index) const;
    bool contains(std::string_view radical) const;
    // Cells 0..293 as list items: radicals, and "%d画" for empty cells.
    std::vector<std::string> listItems() const;
    // The first list item whose text is gbkText: a radical or a heading
    // such as "3画".
    std::optional<int> listIndexOf(std::string_view gbkText) const;

  private:
    friend const RadicalTable& BuShouTable();
    RadicalTable();
    std::array<char, kCellCount * kCellWidth> m_bytes{};
};

const RadicalTable& BuShouTable();

}  // namespace lexomir
