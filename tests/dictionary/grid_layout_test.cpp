#include "grid_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;

struct LayoutCase : testing::NamedCase {
    int width;
    std::size_t found;
    int columns;
    int rows;
};

class CharacterGridLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CharacterGridLayoutTest, TwoColumnsFewerThanFitAndOneRowMore) {
    const LayoutCase& c = GetParam();
    const GridLayout layout = characterGridLayout(c.width, 35, c.found);
    EXPECT_EQ(layout.columns, c.columns);
    EXPECT_EQ(layout.rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, CharacterGridLayoutTest,
                         ::testing::Values(LayoutCase{"NothingFound", 979, 0, 25, 1},
                                           LayoutCase{"LessThanARow", 979, 3, 25, 1},
                                           LayoutCase{"ExactlyOneRow", 979, 25, 25, 2},
                                           LayoutCase{"OneIntoTheSecondRow", 979, 26, 25, 2},
                                           LayoutCase{"ExactlyTwoRows", 979, 50, 25, 3},
                                           LayoutCase{"WiderGrid", 1050, 0, 28, 1},
                                           LayoutCase{"WiderGridOneRowAndOne", 1050, 29, 28, 2},
                                           LayoutCase{"JustBelowAColumnMore", 1049, 0, 27, 1},
                                           LayoutCase{"ThreeColumnWidthsGiveOne", 105, 7, 1, 8},
                                           LayoutCase{"AllCharacters", 979, 20823, 25, 833}),
                         testing::CaseName());

class NarrowCharacterGridTest : public ::testing::TestWithParam<int> {};

TEST_P(NarrowCharacterGridTest, KeepsAtLeastOneColumn) {
    for (std::size_t found : {std::size_t{0}, std::size_t{1}, std::size_t{7}}) {
        const GridLayout layout = characterGridLayout(GetParam(), 35, found);
        ASSERT_GE(layout.columns, 1) << "width " << GetParam();
        EXPECT_EQ(layout.rows, static_cast<int>(found) / layout.columns + 1)
            << "width " << GetParam() << ", found " << found;
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, NarrowCharacterGridTest,
                         ::testing::Values(104, 70, 69, 34, 0, -10));

class IdiomGridLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(IdiomGridLayoutTest, AsManyColumnsAsFitAndOneRowMore) {
    const LayoutCase& c = GetParam();
    const GridLayout layout = idiomGridLayout(c.width, 200, c.found);
    EXPECT_EQ(layout.columns, c.columns);
    EXPECT_EQ(layout.rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, IdiomGridLayoutTest,
                         ::testing::Values(LayoutCase{"NothingFound", 979, 0, 4, 1},
                                           LayoutCase{"EightMatches", 979, 8, 4, 3},
                                           LayoutCase{"SevenMatches", 979, 7, 4, 2},
                                           LayoutCase{"HalfWidth", 400, 5, 2, 3},
                                           LayoutCase{"OneColumnWidth", 200, 3, 1, 4},
                                           LayoutCase{"NarrowerThanAColumn", 199, 3, 1, 4},
                                           LayoutCase{"NoWidth", 0, 0, 1, 1}),
                         testing::CaseName());

struct CellCase : testing::NamedCase {
    int columns;
    int column;
    int row;
    std::size_t found;
    std::optional<std::size_t> expected;
};

class CellListIndexTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellListIndexTest, MapsRowAndColumnToTheFoundList) {
    const CellCase& c = GetParam();
    EXPECT_EQ(cellListIndex(c.columns, c.column, c.row, c.found), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellListIndexTest,
    ::testing::Values(CellCase{"FirstCell", 25, 0, 0, 1, 0},
                      CellCase{"RowTwoColumnThree", 25, 3, 2, 60, 2 * 25 + 3},
                      CellCase{"RowTwoColumnThreeWider", 28, 3, 2, 60, 2 * 28 + 3},
                      CellCase{"IdiomRowOneColumnTwo", 4, 2, 1, 8, 6},
                      CellCase{"LastFoundEntry", 4, 3, 1, 8, 7},
                      CellCase{"JustPastTheFoundList", 4, 0, 2, 8, std::nullopt},
                      CellCase{"FarPastTheFoundList", 25, 24, 832, 5, std::nullopt},
                      CellCase{"NothingFound", 25, 0, 0, 0, std::nullopt},
                      CellCase{"NegativeRow", 4, 2, -1, 8, std::nullopt},
                      CellCase{"NegativeColumnInRowZero", 4, -1, 0, 8, std::nullopt},
                      CellCase{"NoSelection", 4, -1, -1, 8, std::nullopt}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir
