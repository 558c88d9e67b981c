#include "character_filters.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;
using testing::passes;
using testing::XinHuaIndexRecord;

constexpr int kIntMax = std::numeric_limits<int>::max();

struct ReadingsCase : testing::NamedCase {
    std::string pinyinField;
    std::string prefix;
    bool expected;
};

class ReadingsBeginWithTest : public ::testing::TestWithParam<ReadingsCase> {};

TEST_P(ReadingsBeginWithTest, TestsTheFirstReadingAndTheRest) {
    const ReadingsCase& c = GetParam();
    EXPECT_EQ(readingsBeginWith(c.pinyinField, c.prefix), c.expected);
    // The pinyin search applies exactly this rule to the record's field.
    EXPECT_EQ(passes(pinyinFilter(c.prefix), {"中", c.pinyinField, "丨", 4}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadingsBeginWithTest,
    ::testing::Values(ReadingsCase{"WholeReading", "zhang", "zhang", true},
                      ReadingsCase{"Prefix", "zhang", "zh", true},
                      ReadingsCase{"LongerThanTheReading", "zhang", "zhangg", false},
                      ReadingsCase{"UpperCaseDiffers", "zhang", "Zh", false},
                      ReadingsCase{"NotAPrefix", "chang", "zh", false},
                      ReadingsCase{"FirstOfTwoReadings", "zhang,chang", "zh", true},
                      ReadingsCase{"SecondOfTwoReadings", "chang,zhang", "zhang", true},
                      ReadingsCase{"SecondReadingTooShort", "chang,zhang", "zhangg", false},
                      ReadingsCase{"PrefixRunningOverTheComma", "xing,hang", "xing,", false},
                      ReadingsCase{"PrefixOfTheFieldAcrossTheComma", "xing,hang", "xing,h", false},
                      ReadingsCase{"LeadingCommaTakesTheFieldWhole", ",zhang", "zhang", false},
                      ReadingsCase{"LeadingCommaMatchedWhole", ",zhang", ",zh", true},
                      ReadingsCase{"TrailingComma", "zhang,", "zhang", true},
                      ReadingsCase{"ThreeReadingsFirst", "a,b,c", "a", true},
                      ReadingsCase{"ThreeReadingsSecond", "a,b,c", "b", true},
                      ReadingsCase{"ThreeReadingsRestAsOneText", "a,b,c", "b,c", true},
                      ReadingsCase{"ThirdReadingAloneDoesNotCount", "a,b,c", "c", false},
                      ReadingsCase{"EmptyField", "", "a", false},
                      ReadingsCase{"FullNineteenBytes", "shuang,chuang,zhuan", "zhuan", false},
                      ReadingsCase{"FullNineteenBytesRest", "shuang,chuang,zhuan", "chuang,zhuan",
                                   true}),
    testing::CaseName());

struct InitialLetterCase : testing::NamedCase {
    std::string pinyinField;
    std::string letter;
    bool expected;
};

class InitialLetterTest : public ::testing::TestWithParam<InitialLetterCase> {};

TEST_P(InitialLetterTest, LooksAtTheFirstTwoReadings) {
    const InitialLetterCase& c = GetParam();
    EXPECT_EQ(initialLetterMatches(c.pinyinField, c.letter), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InitialLetterTest,
    ::testing::Values(InitialLetterCase{"SecondReading", "xing,hang", "h", true},
                      InitialLetterCase{"FirstReading", "xing,hang", "x", true},
                      InitialLetterCase{"SingleReading", "hang", "h", true},
                      InitialLetterCase{"OtherLetter", "hang", "x", false},
                      InitialLetterCase{"ThirdReadingDoesNotCount", "a,o,ha", "h", false},
                      InitialLetterCase{"LetterInsideAReading", "zhang", "h", false},
                      InitialLetterCase{"LeadingCommaLooksAtTheCommaOnly", ",hang", "h", false},
                      InitialLetterCase{"UpperCaseReadingNeverMatches", "Hang", "h", false},
                      InitialLetterCase{"UpperCaseLetterNeverMatches", "hang", "H", false},
                      InitialLetterCase{"EmptyField", "", "h", false},
                      InitialLetterCase{"OneByteReadings", "x,h", "h", true}),
    testing::CaseName());

struct KeywordListCase : testing::NamedCase {
    std::string text;                   // UTF-8
    std::vector<std::string> expected;  // UTF-8
};

class BuildKeywordListTest : public ::testing::TestWithParam<KeywordListCase> {};

TEST_P(BuildKeywordListTest, SplitsAtAsciiBlanks) {
    std::vector<std::string> expected;
    for (const std::string& word : GetParam().expected) expected.push_back(gbk(word));
    EXPECT_EQ(buildKeywordList(gbk(GetParam().text)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildKeywordListTest,
    ::testing::Values(KeywordListCase{"Empty", "", {}}, KeywordListCase{"OneWord", "水", {"水"}},
                      KeywordListCase{"TwoWords", "水 火", {"水", "火"}},
                      KeywordListCase{"RunOfBlanksIsOneSeparator", "水  火", {"水", "火"}},
                      KeywordListCase{"ManyWordsInOrder", "a bc   def g", {"a", "bc", "def", "g"}},
                      KeywordListCase{"FullWidthBlankJoins", "水　火", {"水　火"}},
                      KeywordListCase{"CommaJoins", "水,火", {"水,火"}},
                      KeywordListCase{"TabJoins", "水\t火", {"水\t火"}},
                      KeywordListCase{"TabAfterABlankIsDropped", "水 \t火", {"水", "火"}},
                      KeywordListCase{
                          "ControlBytesAfterABlankAreDropped", "水 \x01\r\n 火", {"水", "火"}},
                      KeywordListCase{"DuplicatesStay", "水 水", {"水", "水"}},
                      KeywordListCase{"LeadingBlanksGiveNoEmptyWord", "  水", {"水"}},
                      KeywordListCase{"TrailingBlanksGiveNoEmptyWord", "水  ", {"水"}}),
    testing::CaseName());

struct KeywordOccursCase : testing::NamedCase {
    std::vector<std::string> keywords;
    std::string jijie;
    std::string xiangjie;
    int range;
    bool expected;
};

class AnyKeywordOccursTest : public ::testing::TestWithParam<KeywordOccursCase> {};

TEST_P(AnyKeywordOccursTest, SearchesTheExplanationsOfTheRange) {
    const KeywordOccursCase& c = GetParam();
    EXPECT_EQ(anyKeywordOccurs(c.keywords, c.jijie, c.xiangjie, c.range), c.expected);
}

// "中国" is D6 D0 B9 FA; its middle bytes D0 B9 are the character "泄".
INSTANTIATE_TEST_SUITE_P(
    Cases, AnyKeywordOccursTest,
    ::testing::Values(
        KeywordOccursCase{"InBriefRangeOne", {gbk("水")}, gbk("江水"), "", 1, true},
        KeywordOccursCase{"InBriefRangeTwo", {gbk("水")}, gbk("江水"), "", 2, true},
        KeywordOccursCase{"OnlyDetailedRangeOne", {gbk("水")}, gbk("江"), gbk("水流"), 1, false},
        KeywordOccursCase{"OnlyDetailedRangeTwo", {gbk("水")}, gbk("江"), gbk("水流"), 2, true},
        KeywordOccursCase{"AnyKeywordSuffices", {gbk("水"), gbk("火")}, gbk("大火"), "", 1, true},
        KeywordOccursCase{
            "LaterKeywordInDetailed", {gbk("水"), gbk("火")}, gbk("山"), gbk("火山"), 2, true},
        KeywordOccursCase{
            "NoKeywordOccurs", {gbk("水"), gbk("火")}, gbk("山"), gbk("石"), 2, false},
        KeywordOccursCase{"EmptyList", {}, gbk("水"), gbk("水"), 2, false},
        KeywordOccursCase{"EmptyExplanations", {gbk("水")}, "", "", 2, false},
        KeywordOccursCase{"AcrossACharacterBoundaryBrief", {gbk("泄")}, gbk("中国"), "", 1, false},
        KeywordOccursCase{
            "AcrossACharacterBoundaryDetailed", {gbk("泄")}, "", gbk("中国"), 2, false},
        KeywordOccursCase{"AlignedAfterTheStraddle", {gbk("泄")}, gbk("中国泄"), "", 1, true},
        KeywordOccursCase{"CaseSensitive", {"Water"}, "water", "water", 2, false},
        KeywordOccursCase{"AsciiKeyword", {"river"}, "a river", "", 1, true}),
    testing::CaseName());

struct HanziCase : testing::NamedCase {
    std::string typed;      // GBK
    std::string character;  // UTF-8
    bool expected;
};

class HanziFilterTest : public ::testing::TestWithParam<HanziCase> {};

TEST_P(HanziFilterTest, FindsTypedCharactersAtCharacterBoundaries) {
    const HanziCase& c = GetParam();
    EXPECT_EQ(passes(hanziFilter(c.typed), {c.character, "zhong", "丨", 4}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HanziFilterTest,
    ::testing::Values(HanziCase{"FirstOfTwo", gbk("中国"), "中", true},
                      HanziCase{"SecondOfTwo", gbk("中国"), "国", true},
                      HanziCase{"NotTyped", gbk("中国"), "人", false},
                      HanziCase{"TypedTwice", gbk("中中"), "中", true},
                      HanziCase{"FollowedByAscii", gbk("中a"), "中", true},
                      HanziCase{"AfterDigits", "12" + gbk("中"), "中", true},
                      HanziCase{"AsciiOnly", "zhong", "中", false},
                      HanziCase{"StraddlingTwoTypedCharacters", gbk("中国"), "泄", false},
                      HanziCase{"StraddleAfterOneAsciiByte", "a" + gbk("中国"), "泄", false},
                      HanziCase{"AlignedLaterInTheText", gbk("中国泄"), "泄", true},
                      HanziCase{"RecordWithoutCharacter", gbk("中"), "", false},
                      HanziCase{"EmptyTyped", "", "中", false}),
    testing::CaseName());

struct RadicalCase : testing::NamedCase {
    std::string radical;  // UTF-8
    int strokeGroup;
    int remaining;
    XinHuaIndexRecord record;
    bool expected;
};

class RadicalFilterTest : public ::testing::TestWithParam<RadicalCase> {};

TEST_P(RadicalFilterTest, MatchesRadicalAndTotalStrokes) {
    const RadicalCase& c = GetParam();
    EXPECT_EQ(passes(radicalFilter(gbk(c.radical), c.strokeGroup, c.remaining), c.record),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadicalFilterTest,
    ::testing::Values(
        RadicalCase{"AnyRemainingFindsEveryStrokeCount", "一", 1, 0, {"丁", "ding", "一", 2}, true},
        RadicalCase{"AnyRemainingLargeStrokeCount", "一", 1, 0, {"爨", "cuan", "一", 30}, true},
        RadicalCase{"RemainingOneTwoStrokes", "一", 1, 1, {"丁", "ding", "一", 2}, true},
        RadicalCase{"RemainingOneThreeStrokes", "一", 1, 1, {"三", "san", "一", 3}, false},
        RadicalCase{"GroupPlusRemaining", "口", 3, 2, {"叶", "ye", "口", 5}, true},
        RadicalCase{"GroupPlusRemainingOther", "口", 3, 2, {"吃", "chi", "口", 6}, false},
        RadicalCase{"OtherRadical", "口", 3, 0, {"丁", "ding", "一", 2}, false},
        // Sums past the int range must find nothing, not overflow.
        RadicalCase{"LargestRemaining", "口", 3, kIntMax, {"叶", "ye", "口", 5}, false},
        RadicalCase{"LargestGroup", "口", kIntMax, 1, {"叶", "ye", "口", 5}, false},
        RadicalCase{"FirstJueGroupOne", "亅", 1, 1, {"了", "le", "亅", 2}, true},
        RadicalCase{"SecondJueGroupTwo", "亅", 2, 1, {"了", "le", "亅", 2}, false},
        RadicalCase{"SecondJueThreeStrokes", "亅", 2, 1, {"予", "yu", "亅", 3}, true},
        RadicalCase{"NegativeRemainingFindsNothing", "一", 1, -1, {"丁", "ding", "一", 2}, false},
        RadicalCase{"NegativeRemainingMatchingSum", "一", 1, -1, {"一", "yi", "一", 0}, false},
        RadicalCase{"StrokesReadUnsigned", "龠", 17, 183, {"中", "zhong", "龠", 200}, true}),
    testing::CaseName());

struct StrokeCountCase : testing::NamedCase {
    int total;
    unsigned strokes;
    bool expected;
};

class StrokeCountFilterTest : public ::testing::TestWithParam<StrokeCountCase> {};

TEST_P(StrokeCountFilterTest, MatchesExactlyTheTotal) {
    const StrokeCountCase& c = GetParam();
    EXPECT_EQ(passes(strokeCountFilter(c.total), {"中", "zhong", "丨", c.strokes}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StrokeCountFilterTest,
                         ::testing::Values(StrokeCountCase{"OneStroke", 1, 1, true},
                                           StrokeCountCase{"Equal", 4, 4, true},
                                           StrokeCountCase{"Fewer", 5, 4, false},
                                           StrokeCountCase{"More", 3, 4, false},
                                           StrokeCountCase{"LastListItem", 69, 69, true},
                                           StrokeCountCase{"ReadUnsigned", 200, 200, true}),
                         testing::CaseName());

// 行 has the readings xing and hang, 航 only hang, 啊 a third reading ha.
const XinHuaIndexRecord kXing{"行", "xing,hang", "彳", 6};
const XinHuaIndexRecord kHang{"航", "hang", "舟", 10};
const XinHuaIndexRecord kA{"啊", "a,o,ha", "口", 10};
const XinHuaIndexRecord kHe{"和", "he,huo,hu", "禾", 8};

struct CombinedCase : testing::NamedCase {
    std::string letter;
    std::string radical;  // UTF-8
    int minStrokes;
    XinHuaIndexRecord record;
    bool expected;
};

class CombinedFilterTest : public ::testing::TestWithParam<CombinedCase> {};

TEST_P(CombinedFilterTest, AllCriteriaInUseMustHold) {
    const CombinedCase& c = GetParam();
    CombinedCriteria criteria;
    criteria.letter = c.letter;
    criteria.radical = gbk(c.radical);
    criteria.minStrokes = c.minStrokes;
    EXPECT_EQ(passes(combinedFilter(criteria, nullptr), c.record), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedFilterTest,
    ::testing::Values(CombinedCase{"NothingInUse", "", "", 0, kXing, true},
                      CombinedCase{"NothingInUseOtherRecord", "", "", 0, kA, true},
                      CombinedCase{"LetterOfSecondReading", "h", "", 0, kXing, true},
                      CombinedCase{"LetterOfOnlyReading", "h", "", 0, kHang, true},
                      CombinedCase{"LetterOfThirdReadingOnly", "h", "", 0, kA, false},
                      CombinedCase{"LetterWithThreeReadings", "h", "", 0, kHe, true},
                      CombinedCase{"RadicalEqual", "", "舟", 0, kHang, true},
                      CombinedCase{"RadicalDiffers", "", "舟", 0, kXing, false},
                      CombinedCase{"MinimumReachedExactly", "", "", 10, kHang, true},
                      CombinedCase{"MinimumExceeded", "", "", 5, kXing, true},
                      CombinedCase{"MinimumNotReached", "", "", 7, kXing, false},
                      CombinedCase{"AllThreeHold", "x", "彳", 6, kXing, true},
                      CombinedCase{"LetterFailsTheRest", "a", "彳", 6, kXing, false},
                      CombinedCase{"RadicalFailsTheRest", "x", "口", 6, kXing, false},
                      CombinedCase{"StrokesFailTheRest", "x", "彳", 7, kXing, false}),
    testing::CaseName());

struct MeaningCase : testing::NamedCase {
    std::string letter;
    std::string radical;  // UTF-8
    int minStrokes;
    bool meaningAnswer;
    bool expectedFound;
    bool expectedAsked;
};

class CombinedMeaningFilterTest : public ::testing::TestWithParam<MeaningCase> {};

TEST_P(CombinedMeaningFilterTest, AsksTheMeaningOnlyForRecordsPassingTheRest) {
    const MeaningCase& c = GetParam();
    CombinedCriteria criteria;
    criteria.letter = c.letter;
    criteria.radical = gbk(c.radical);
    criteria.minStrokes = c.minStrokes;
    criteria.keywords = {gbk("水")};
    criteria.meaningRange = 1;
    std::vector<std::int32_t> asked;
    const MeaningFilter meaning = [&](std::int32_t id) {
        asked.push_back(id);
        return c.meaningAnswer;
    };
    EXPECT_EQ(passes(combinedFilter(criteria, meaning), kXing, 7), c.expectedFound);
    EXPECT_EQ(asked, c.expectedAsked ? std::vector<std::int32_t>{7} : std::vector<std::int32_t>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedMeaningFilterTest,
    ::testing::Values(MeaningCase{"OnlyMeaningHits", "", "", 0, true, true, true},
                      MeaningCase{"OnlyMeaningMisses", "", "", 0, false, false, true},
                      MeaningCase{"AllPassAndMeaningHits", "h", "彳", 6, true, true, true},
                      MeaningCase{"AllPassButMeaningMisses", "h", "彳", 6, false, false, true},
                      MeaningCase{"LetterFailsFirst", "a", "", 0, true, false, false},
                      MeaningCase{"RadicalFailsFirst", "", "口", 0, true, false, false},
                      MeaningCase{"StrokesFailFirst", "", "", 7, true, false, false}),
    testing::CaseName());

TEST(CombinedFilter, MeaningOffNeverAsksTheMeaningFilter) {
    CombinedCriteria criteria;
    criteria.keywords = {gbk("水")};
    bool asked = false;
    const CharacterFilter filter = combinedFilter(criteria, [&](std::int32_t) {
        asked = true;
        return false;
    });
    EXPECT_TRUE(passes(filter, kXing));
    EXPECT_FALSE(asked);
}

TEST(CombinedFilter, MeaningIsAskedWithTheRecordNumber) {
    CombinedCriteria criteria;
    criteria.meaningRange = 2;
    criteria.keywords = {gbk("水")};
    const CharacterFilter filter =
        combinedFilter(criteria, [](std::int32_t id) { return id == 20823; });
    EXPECT_TRUE(passes(filter, kHang, 20823));
    EXPECT_FALSE(passes(filter, kHang, 20822));
}

}  // namespace
}  // namespace lexomir
