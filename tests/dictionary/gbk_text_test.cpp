#include "gbk_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;

TEST(IsGbkTwoByteCharacter, TakesOnlyOneCharacterOfTheTwoByteArea) {
    const std::pair<std::string_view, bool> cases[] = {
        {"\xD6\xD0", true},  {"\x81\x40", true},      {"\xFE\xFE", true},
        {"\xFE\x71", true},  {"\x80\x40", false},     {"\xFF\x40", false},
        {"\x81\x3F", false}, {"\x81\x7F", false},     {"\x81\xFF", false},
        {"\x81\x30", false}, {"\xD6", false},         {"", false},
        {"ab", false},       {"\xD6\xD0\xB9", false}, {std::string_view("\xD6\0", 2), false}};
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(isGbkTwoByteCharacter(bytes), expected) << ::testing::PrintToString(bytes);
    }
}

struct TrimCase : testing::NamedCase {
    std::string input;
    std::string expected;
};

class TrimControlTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimControlTest, RemovesLowBytesAtBothEndsOnly) {
    EXPECT_EQ(trimControl(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimControlTest,
    ::testing::Values(TrimCase{"Empty", "", ""},
                      TrimCase{"OnlyBlanksAndControls", std::string(" \t\r\n\x01\x1f ", 7), ""},
                      TrimCase{"BlanksAroundPinyin", "  zh  ", "zh"},
                      TrimCase{"ControlBytesAroundText", "\t\r\n\x01zh\x1f\x20", "zh"},
                      TrimCase{"NulAtTheEnds", std::string("\0ab\0", 4), "ab"},
                      TrimCase{"InnerBlanksStay", " a b\tc ", "a b\tc"},
                      TrimCase{"ExclamationMarkIsKept", "!a!", "!a!"},
                      TrimCase{"DeleteByteIsKept",
                               "\x7f"
                               "a"
                               "\x7f",
                               "\x7f"
                               "a"
                               "\x7f"},
                      // Bytes of Chinese characters are 0x81 and above and must never look
                      // like control bytes, whatever the signedness of char.
                      TrimCase{"ChineseTextUnchanged", gbk("中国"), gbk("中国")},
                      TrimCase{"BlanksAroundChinese", " " + gbk("爱") + "\t", gbk("爱")},
                      TrimCase{"FullWidthBlankIsNotTrimmed", gbk("　爱　"), gbk("　爱　")}),
    testing::CaseName());

struct FindCase : testing::NamedCase {
    std::string haystack;
    std::string needle;
    std::size_t expected;
};

class GbkFindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(GbkFindTest, FindsFirstCharacterAlignedOccurrence) {
    EXPECT_EQ(gbkFind(GetParam().haystack, GetParam().needle), GetParam().expected);
}

// "中国" is D6 D0 B9 FA; its middle bytes D0 B9 are the character "泄".
INSTANTIATE_TEST_SUITE_P(
    Cases, GbkFindTest,
    ::testing::Values(FindCase{"AtStartIsPositionOne", "abc", "a", 1},
                      FindCase{"AsciiInTheMiddle", "abcabc", "ca", 3},
                      FindCase{"NotFound", "abc", "d", 0},
                      FindCase{"EmptyNeedleInText", "abc", "", 0},
                      FindCase{"EmptyNeedleInEmptyText", "", "", 0},
                      FindCase{"NeedleLongerThanText", "ab", "abc", 0},
                      FindCase{"SecondChineseCharacter", gbk("中国"), gbk("国"), 3},
                      FindCase{"AfterAsciiByte", "a" + gbk("中"), gbk("中"), 2},
                      FindCase{"StraddlingTwoCharactersIsNotFound", gbk("中国"), gbk("泄"), 0},
                      FindCase{"AlignedOccurrenceAfterAStraddlingOne", gbk("中国泄"), gbk("泄"), 5},
                      FindCase{"StraddleAfterAsciiShift", "a" + gbk("中国"), gbk("泄"), 0},
                      FindCase{"AlignedAgainAfterTwoAsciiBytes", "ab" + gbk("泄"), gbk("泄"), 3},
                      // 亅 is 81 7C: its second byte is the ASCII bar.
                      FindCase{"AsciiEqualToASecondByteIsNotFound", gbk("亅"), "|", 0},
                      FindCase{"AsciiFoundAfterTheCharacter", gbk("亅") + "|", "|", 3},
                      FindCase{"CaseSensitive", "Zhang", "zh", 0},
                      FindCase{"TwoCharacterNeedle", gbk("百战不殆"), gbk("不殆"), 5}),
    testing::CaseName());

struct ReplaceCase : testing::NamedCase {
    std::string text;
    std::string from;
    std::string to;
    std::string expected;
};

class GbkReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(GbkReplaceAllTest, ReplacesEveryAlignedOccurrence) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(gbkReplaceAll(c.text, c.from, c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkReplaceAllTest,
    ::testing::Values(
        ReplaceCase{"LineBreakTags", "a<br>b<br>c", "<br>", "\r\n", "a\r\nb\r\nc"},
        ReplaceCase{"AdjacentTags", "<br><br>", "<br>", "\r\n", "\r\n\r\n"},
        ReplaceCase{"TagAtTheEnd", "a<br>", "<br>", "\r\n", "a\r\n"},
        ReplaceCase{"UpperCaseTagKept", "a<BR>b<Br>c", "<br>", "\r\n", "a<BR>b<Br>c"},
        ReplaceCase{"SelfClosingTagKept", "a<br/>b<br />c", "<br>", "\r\n", "a<br/>b<br />c"},
        ReplaceCase{"NestedLookalikeReplacedOnce", "<<br>br>", "<br>", "\r\n", "<\r\nbr>"},
        ReplaceCase{"TagBetweenChineseCharacters", gbk("中<br>国"), "<br>", "\r\n",
                    gbk("中") + "\r\n" + gbk("国")},
        ReplaceCase{"NothingToReplace", gbk("中国"), "<br>", "\r\n", gbk("中国")},
        ReplaceCase{"StraddlingOccurrenceKept", gbk("中国泄"), gbk("泄"), "X", gbk("中国") + "X"},
        ReplaceCase{"ShorterReplacementKeepsAlignment", gbk("泄泄"), gbk("泄"), "x", "xx"},
        ReplaceCase{"EmptyFromChangesNothing", "abc", "", "x", "abc"},
        ReplaceCase{"EmptyText", "", "<br>", "\r\n", ""}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir
