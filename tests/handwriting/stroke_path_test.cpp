#include "stroke_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "named_case.h"

namespace lexomir::handwriting {
namespace {

struct PathCase : testing::NamedCase {
    std::string path;
    std::string kinds;          // one letter per command
    std::vector<float> values;  // every coordinate, in order
};

class StrokePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(StrokePathTest, ReadsCommandsAndPoints) {
    const std::vector<PathCommand> commands = parseStrokePath(GetParam().path);
    std::string kinds;
    std::vector<float> values;
    for (const PathCommand& command : commands) {
        kinds += static_cast<char>(command.kind);
        for (int i = 0; i < command.pointCount; ++i) {
            values.push_back(command.points[static_cast<std::size_t>(i)].x);
            values.push_back(command.points[static_cast<std::size_t>(i)].y);
        }
    }
    EXPECT_EQ(kinds, GetParam().kinds);
    EXPECT_EQ(values, GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrokePathTest,
    ::testing::Values(
        PathCase{"LineAndClose", "M 1 2 L 3 4 Z", "MLZ", {1, 2, 3, 4}},
        PathCase{"QuadAndCubic",
                 "M 0 0 Q 1 2 3 4 C 5 6 7 8 9 10 Z",
                 "MQCZ",
                 {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        PathCase{"RepeatedPointsRepeatTheCommand",
                 "M 0 0 L 1 1 2 2 Q 3 3 4 4 5 5 6 6",
                 "MLLQQ",
                 {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6}},
        PathCase{"DecimalsSignsAndCommas", "M-1.5,2.25L+3 -4e1Z", "MLZ", {-1.5f, 2.25f, 3, -40}},
        PathCase{"NoBlanksAroundLetters", "M1 2Q3 4 5 6Z", "MQZ", {1, 2, 3, 4, 5, 6}}),
    testing::CaseName());

struct BadPathCase : testing::NamedCase {
    std::string path;
};

class BadStrokePathTest : public ::testing::TestWithParam<BadPathCase> {};

TEST_P(BadStrokePathTest, IsRefusedWithThePlace) {
    try {
        parseStrokePath(GetParam().path);
        FAIL() << "accepted";
    } catch (const PathSyntaxError& error) {
        EXPECT_NE(std::string(error.what()).find("at byte"), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BadStrokePathTest,
                         ::testing::Values(BadPathCase{"Empty", "  "},
                                           BadPathCase{"NotStartingWithMove", "L 1 2"},
                                           BadPathCase{"MissingY", "M 1"},
                                           BadPathCase{"UnknownCommand", "M 1 2 A 3 4"},
                                           BadPathCase{"RelativeCommand", "M 1 2 l 3 4"},
                                           BadPathCase{"NotANumber", "M x 2"},
                                           BadPathCase{"CubicCutShort", "M 0 0 C 1 2 3 4 5"}),
                         testing::CaseName());

}  // namespace
}  // namespace lexomir::handwriting
