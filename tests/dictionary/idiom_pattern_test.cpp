#include <gtest/gtest.h>

#include <string>

#include "gbk_text.h"
#include "idiom_search.h"
#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;

struct PatternCase : testing::NamedCase {
    std::string input;  // GBK, already trimmed
    std::string expected;
};

class BuildIdiomPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(BuildIdiomPatternTest, RewritesEqualsSignsAndPads) {
    EXPECT_EQ(buildIdiomPattern(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildIdiomPatternTest,
    ::testing::Values(PatternCase{"PlainIdiom", gbk("爱"), gbk("爱")},
                      PatternCase{"TrailingWildcard", gbk("百战不="), gbk("百战不★")},
                      PatternCase{"FourWildcards", "====", gbk("★★★★")},
                      PatternCase{"SingleWildcard", "=", gbk("★")},
                      PatternCase{"WildcardInTheMiddle", gbk("百=不殆"), gbk("百★不殆")},
                      PatternCase{"TypedStarStays", gbk("百★"), gbk("百★")},
                      PatternCase{"FullWidthEqualsIsAWildcard", gbk("百＝"), gbk("百★")},
                      // B0 A3 BD A1: the A3 BD in the middle is no character.
                      PatternCase{"FullWidthEqualsOnlyAtABoundary", gbk("埃健"), gbk("埃健")},
                      PatternCase{"OddLengthPadded", "a", "a "},
                      PatternCase{"OddAfterRewrite", "a=", "a" + gbk("★") + " "},
                      PatternCase{"EvenAsciiNotPadded", "ab", "ab"},
                      PatternCase{"InnerBlankKeptAndPadded", gbk("中 国"), gbk("中 国") + " "}),
    testing::CaseName());

struct MatchCase : testing::NamedCase {
    std::string idiom;    // UTF-8
    std::string pattern;  // GBK
    bool expected;
};

class IdiomMatchesTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(IdiomMatchesTest, TestsThePatternAgainstTheBeginning) {
    EXPECT_EQ(idiomMatches(gbk(GetParam().idiom), GetParam().pattern), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IdiomMatchesTest,
    ::testing::Values(MatchCase{"WildcardLastCharacter", "百战不殆", gbk("百战不★"), true},
                      MatchCase{"WildcardInLongerIdiom", "百战不殆而胜", gbk("百战不★"), true},
                      MatchCase{"WildcardNeedsACharacter", "百战不", gbk("百战不★"), false},
                      MatchCase{"DifferentThirdCharacter", "百战百胜", gbk("百战不★"), false},
                      MatchCase{"PrefixOfOneCharacter", "爱不释手", gbk("爱"), true},
                      MatchCase{"CharacterNotAtTheStart", "一爱到底", gbk("爱"), false},
                      MatchCase{"WholeIdiom", "爱屋及乌", gbk("爱屋及乌"), true},
                      MatchCase{"FourWildcardsFourCharacters", "爱屋及乌", gbk("★★★★"), true},
                      MatchCase{"FourWildcardsFiveCharacters", "不入虎穴焉", gbk("★★★★"), true},
                      MatchCase{"FourWildcardsThreeCharacters", "莫须有", gbk("★★★★"), false},
                      MatchCase{"SingleWildcardOneCharacter", "爱", gbk("★"), true},
                      MatchCase{"SingleWildcardEmptyIdiom", "", gbk("★"), false},
                      MatchCase{"LongerPatternNeverMatches", "爱屋及乌", gbk("爱屋及乌★"), false},
                      MatchCase{"TypedStarIsAWildcard", "百战不殆", gbk("百★"), true},
                      MatchCase{"FullWidthEqualsIsACharacter", "百战不殆", gbk("百＝"), false},
                      MatchCase{"FullWidthEqualsMatchesItself", "百＝", gbk("百＝"), true},
                      MatchCase{"InnerBlankShiftsTheUnits", "中国人民", gbk("中 国") + " ", false},
                      MatchCase{"PaddedAsciiMatchesNoChineseIdiom", "爱屋及乌", "a ", false},
                      MatchCase{"WildcardFirst", "百战不殆", gbk("★战"), true}),
    testing::CaseName());

TEST(IdiomMatches, PaddedAsciiMatchesAnAsciiIdiom) {
    EXPECT_TRUE(idiomMatches("a b", "a "));
    EXPECT_FALSE(idiomMatches("ab", "a "));
}

struct SimplifyCase : testing::NamedCase {
    std::string typed;     // UTF-8
    std::string expected;  // UTF-8
    int conversions;
};

class SimplifyUnknownCharactersTest : public ::testing::TestWithParam<SimplifyCase> {};

TEST_P(SimplifyUnknownCharactersTest, ChangesOnlyWhatNoIdiomHolds) {
    const SimplifyCase& c = GetParam();
    GbkCharacterSet idiomCharacters;
    idiomCharacters.addCharactersOf(gbk("百战不殆旋乾转坤"));
    int conversions = 0;
    // Stands in for OpenCC: as its t2s, it also turns a valid 乾 into 干.
    const SimplifiedForm simplified = [&](std::string_view text) {
        ++conversions;
        std::string result(text);
        for (const auto& [from, to] : {std::pair{"戰", "战"}, {"乾", "干"}, {"轉", "转"}}) {
            result = gbkReplaceAll(std::move(result), gbk(from), gbk(to));
        }
        return result;
    };
    EXPECT_EQ(gbkToUtf8(simplifyUnknownCharacters(gbk(c.typed), idiomCharacters, simplified)),
              c.expected);
    EXPECT_EQ(conversions, c.conversions);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimplifyUnknownCharactersTest,
    ::testing::Values(SimplifyCase{"Traditional", "百戰不＝", "百战不＝", 1},
                      SimplifyCase{"KnownCharacterStays", "旋乾轉坤", "旋乾转坤", 1},
                      SimplifyCase{"NothingToChange", "百战=★＝ a", "百战=★＝ a", 0}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir
