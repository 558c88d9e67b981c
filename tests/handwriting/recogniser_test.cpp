#include "recogniser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "named_case.h"

namespace lexomir::handwriting {
namespace {

// Strokes on a 100 by 100 screen box, y down.
Stroke polyline(std::initializer_list<Point> corners) {
    Stroke stroke{*corners.begin()};
    for (auto it = corners.begin() + 1; it != corners.end(); ++it) {
        const Point a = stroke.back();
        for (int s = 1; s <= 10; ++s)
            stroke.push_back({a.x + (it->x - a.x) * s / 10, a.y + (it->y - a.y) * s / 10});
    }
    return stroke;
}

Stroke backwards(Stroke stroke) {
    std::reverse(stroke.begin(), stroke.end());
    return stroke;
}

Ink moved(Ink ink, float scale, Point offset) {
    for (Stroke& stroke : ink)
        for (Point& p : stroke) p = {p.x * scale + offset.x, p.y * scale + offset.y};
    return ink;
}

const Stroke kHorizontal = polyline({{10, 50}, {90, 50}});
const Stroke kVertical = polyline({{50, 10}, {50, 90}});
const Stroke kDot = polyline({{45, 40}, {55, 55}});
const Ink kYi = {kHorizontal};
const Ink kShu = {kVertical};
const Ink kDian = {kDot};
const Ink kShi = {polyline({{10, 45}, {90, 45}}), kVertical};
const Ink kGan = {polyline({{25, 15}, {75, 15}}), polyline({{10, 40}, {90, 40}}),
                  polyline({{50, 15}, {50, 90}})};
// A component on the right, then 辶 (dot, zigzag, sweep) written last.
const Ink kComponent = {polyline({{45, 15}, {85, 15}}), polyline({{40, 35}, {90, 35}}),
                        polyline({{65, 15}, {65, 70}})};
const Ink kWalk = {polyline({{15, 15}, {22, 25}}),
                   polyline({{10, 40}, {25, 40}, {15, 65}, {25, 72}}),
                   polyline({{15, 85}, {95, 95}})};
Ink concatenated(const Ink& first, const Ink& second) {
    Ink ink = first;
    ink.insert(ink.end(), second.begin(), second.end());
    return ink;
}
const Ink kYu = concatenated(kComponent, kWalk);
const Ink kWalkFirst = concatenated(kWalk, kComponent);

TEST(NormaliseInk, CentresAndScalesKeepingProportions) {
    const Ink wide = {polyline({{100, 100}, {300, 200}})};
    const Ink normalised = normaliseInk(wide);
    ASSERT_EQ(normalised.size(), 1u);
    EXPECT_FLOAT_EQ(normalised[0].front().x, -0.5f);
    EXPECT_FLOAT_EQ(normalised[0].front().y, -0.25f);
    EXPECT_FLOAT_EQ(normalised[0].back().x, 0.5f);
    EXPECT_FLOAT_EQ(normalised[0].back().y, 0.25f);

    const Ink shifted = normaliseInk(moved(kGan, 3.5f, {-40, 700}));
    const Ink original = normaliseInk(kGan);
    for (std::size_t s = 0; s < original.size(); ++s)
        for (std::size_t p = 0; p < original[s].size(); ++p) {
            EXPECT_NEAR(shifted[s][p].x, original[s][p].x, 1e-5);
            EXPECT_NEAR(shifted[s][p].y, original[s][p].y, 1e-5);
        }
}

TEST(NormaliseInk, SinglePointAndEmptyStrokes) {
    const Ink normalised = normaliseInk({{}, {{7, 9}}, {}});
    ASSERT_EQ(normalised.size(), 1u);
    EXPECT_FLOAT_EQ(normalised[0][0].x, 0);
    EXPECT_FLOAT_EQ(normalised[0][0].y, 0);
    EXPECT_TRUE(normaliseInk({}).empty());
    EXPECT_EQ(resampleStroke({{1, 1}}).size(), kResampledPoints);
}

struct AlignmentCase : testing::NamedCase {
    Ink written, templateInk;
    int matched, missing, extra, joined, split, swapped, backwards;
    int movedComponent = 0;
};

class AlignmentTest : public ::testing::TestWithParam<AlignmentCase> {};

TEST_P(AlignmentTest, UsesTheExpectedAllowances) {
    const AlignmentCase& c = GetParam();
    const Alignment a = alignStrokes(c.written, c.templateInk, AlignmentPrices{});
    EXPECT_EQ(a.matched, c.matched);
    EXPECT_EQ(a.missing, c.missing);
    EXPECT_EQ(a.extra, c.extra);
    EXPECT_EQ(a.joined, c.joined);
    EXPECT_EQ(a.split, c.split);
    EXPECT_EQ(a.swapped, c.swapped);
    EXPECT_EQ(a.backwards, c.backwards);
    EXPECT_EQ(a.movedComponent, c.movedComponent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlignmentTest,
    ::testing::Values(
        AlignmentCase{{"OneStroke"}, kYi, kYi, 1, 0, 0, 0, 0, 0, 0},
        AlignmentCase{{"OneStrokeBackwards"}, {backwards(kHorizontal)}, kYi, 1, 0, 0, 0, 0, 0, 1},
        AlignmentCase{{"TwoStrokesJoined"},
                      {polyline({{10, 45}, {90, 45}, {50, 10}, {50, 90}})},
                      kShi,
                      0,
                      0,
                      0,
                      1,
                      0,
                      0,
                      0},
        AlignmentCase{{"OneStrokeSplit"},
                      {polyline({{50, 10}, {50, 50}}), polyline({{50, 50}, {50, 90}})},
                      kShu,
                      0,
                      0,
                      0,
                      0,
                      1,
                      0,
                      0},
        AlignmentCase{
            {"NeighboursSwapped"}, {kGan[0], kGan[2], kGan[1]}, kGan, 1, 0, 0, 0, 0, 1, 0},
        AlignmentCase{{"StrokeMissing"}, {kGan[1], kGan[2]}, kGan, 2, 1, 0, 0, 0, 0, 0},
        AlignmentCase{{"StrokeExtra"},
                      {kHorizontal, polyline({{15, 85}, {19, 91}})},
                      kYi,
                      1,
                      0,
                      1,
                      0,
                      0,
                      0,
                      0},
        AlignmentCase{{"WalkRadicalLast"}, kYu, kYu, 6, 0, 0, 0, 0, 0, 0},
        AlignmentCase{{"WalkRadicalFirst"}, kWalkFirst, kYu, 6, 0, 0, 0, 0, 0, 0, 1}),
    testing::CaseName());

struct RecognitionCase : testing::NamedCase {
    Ink written;
    std::string expected;
};

class RecognitionTest : public ::testing::TestWithParam<RecognitionCase> {};

TEST_P(RecognitionTest, RanksTheWrittenCharacterFirst) {
    const Recogniser recogniser({{"yi", kYi},
                                 {"shu", kShu},
                                 {"dian", kDian},
                                 {"shi", kShi},
                                 {"gan", kGan},
                                 {"yu", kYu},
                                 {"walk-first", kWalkFirst}});
    const std::vector<std::string> found = recogniser.recognise(GetParam().written, 3);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), GetParam().expected);
    EXPECT_LE(found.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecognitionTest,
    ::testing::Values(RecognitionCase{{"Horizontal"}, moved(kYi, 2, {300, 40}), "yi"},
                      RecognitionCase{{"VerticalDrawnUpwards"}, {backwards(kVertical)}, "shu"},
                      RecognitionCase{{"Dot"}, moved(kDian, 0.5f, {0, 0}), "dian"},
                      RecognitionCase{{"CrossInOneStroke"},
                                      {polyline({{10, 45}, {90, 45}, {50, 10}, {50, 90}})},
                                      "shi"},
                      RecognitionCase{{"WalkRadicalWrittenLast"}, moved(kYu, 4, {-100, 50}), "yu"},
                      RecognitionCase{{"WalkRadicalWrittenFirst"}, kWalkFirst, "walk-first"}),
    testing::CaseName());

TEST(Recogniser, FindsTheWalkRadicalWrittenFirst) {
    const Recogniser recogniser({{"gan", kGan}, {"yu", kYu}, {"shi", kShi}});
    EXPECT_EQ(recogniser.recognise(moved(kWalkFirst, 2, {30, 30}), 1),
              std::vector<std::string>{"yu"});
}

TEST(Recogniser, NoInkNoCandidates) {
    const Recogniser recogniser({{"yi", kYi}});
    EXPECT_TRUE(recogniser.recognise({}, 10).empty());
    EXPECT_TRUE(recogniser.recognise({{}}, 10).empty());
    EXPECT_TRUE(recogniser.recognise(kYi, 0).empty());
}

}  // namespace
}  // namespace lexomir::handwriting
