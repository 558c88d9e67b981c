#include "entry_text.h"

#include <gtest/gtest.h>

#include <string>

#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;

const std::string kDashes = std::string(49, '-') + "\r\n";

CharacterEntry zhongEntry() {
    CharacterEntry entry;
    entry.zi = gbk("中");
    entry.pinyin = gbk("zhōng,zhòng");
    entry.py = "zhong,zhong";
    entry.bushou = gbk("丨");
    entry.bihua = 4;
    entry.wubi = "khk";
    entry.jijie = "middle, center";
    entry.xiangjie = gbk("中间");
    return entry;
}

TEST(CharacterEntryText, FullRow) {
    const std::string expected = "\r\n" + gbk("汉字：中") + "(" + gbk("zhōng,zhòng") +
                                 "  zhong,zhong)" + gbk("(部首：丨)(笔画数：4)(五笔：khk)") +
                                 "\r\n" + kDashes + gbk("简介：") + "middle, center\r\n" + kDashes +
                                 gbk("详解：中间") + "\r\n\r\n";
    EXPECT_EQ(formatCharacterEntry(zhongEntry()), expected);
}

TEST(CharacterEntryText, StrokeNamesFollowTheFirstLine) {
    CharacterEntry entry = zhongEntry();
    entry.bishun = gbk("竖、横折、横、竖");
    const std::string text = formatCharacterEntry(entry);
    EXPECT_NE(
        text.find(gbk("(五笔：khk)") + "\r\n" + gbk("笔顺：竖、横折、横、竖") + "\r\n" + kDashes),
        std::string::npos)
        << gbkToUtf8(text);
}

TEST(CharacterEntryText, EmptySkeleton) {
    const std::string expected = "\r\n" + gbk("汉字：") + "(  )" +
                                 gbk("(部首：)(笔画数：0)(五笔：)") + "\r\n" + kDashes +
                                 gbk("简介：") + "\r\n" + kDashes + gbk("详解：") + "\r\n\r\n";
    EXPECT_EQ(formatCharacterEntry(CharacterEntry{}), expected);
}

struct LineBreakCase : testing::NamedCase {
    std::string jijie;
    std::string shownJijie;
};

class CharacterEntryLineBreakTest : public ::testing::TestWithParam<LineBreakCase> {};

TEST_P(CharacterEntryLineBreakTest, TurnsLowerCaseTagsIntoLineBreaks) {
    CharacterEntry entry = zhongEntry();
    entry.jijie = GetParam().jijie;
    const std::string text = formatCharacterEntry(entry);
    const std::string expectedPart = gbk("简介：") + GetParam().shownJijie + "\r\n" + kDashes;
    EXPECT_NE(text.find(expectedPart), std::string::npos) << gbkToUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterEntryLineBreakTest,
    ::testing::Values(LineBreakCase{"ThreeLines", "a<br>b<br>c", "a\r\nb\r\nc"},
                      LineBreakCase{"LeadingTag", "<br>a", "\r\na"},
                      LineBreakCase{"UpperCaseKept", "a<BR>b", "a<BR>b"},
                      LineBreakCase{"SelfClosingKept", "a<br/>b", "a<br/>b"},
                      LineBreakCase{"BetweenChinese", gbk("水<br>火"),
                                    gbk("水") + "\r\n" + gbk("火")},
                      LineBreakCase{"BareLineFeedKept", "a\nb", "a\nb"},
                      LineBreakCase{"PercentSignsShownAsTheyAre", "100%s %d%%", "100%s %d%%"}),
    testing::CaseName());

TEST(CharacterEntryText, TagsInEveryColumnBecomeLineBreaks) {
    CharacterEntry entry = zhongEntry();
    entry.xiangjie = gbk("一<br>二");
    entry.wubi = "k<br>";
    const std::string text = formatCharacterEntry(entry);
    EXPECT_EQ(text.find("<br>"), std::string::npos);
    EXPECT_NE(text.find(gbk("详解：一") + "\r\n" + gbk("二") + "\r\n\r\n"), std::string::npos);
    EXPECT_NE(text.find(gbk("(五笔：k") + "\r\n)"), std::string::npos);
}

TEST(CharacterEntryText, LongExplanationIsNotCut) {
    CharacterEntry entry = zhongEntry();
    std::string longText;
    for (int i = 0; i < 3000; ++i) longText += gbk("解释") + "<br>";
    entry.xiangjie = longText;
    const std::string text = formatCharacterEntry(entry);
    std::string shown;
    for (int i = 0; i < 3000; ++i) shown += gbk("解释") + "\r\n";
    EXPECT_NE(text.find(gbk("详解：") + shown + "\r\n\r\n"), std::string::npos);
}

TEST(CharacterEntryText, StrokeCountInDecimal) {
    CharacterEntry entry;
    entry.bihua = 64;
    EXPECT_NE(formatCharacterEntry(entry).find(gbk("(笔画数：64)")), std::string::npos);
}

IdiomEntry baiZhanEntry() {
    return IdiomEntry{gbk("百战不殆"), gbk("bǎi zhàn bù dài"), gbk("每次打仗都不失败。"),
                      gbk("《孙子·谋攻》"), gbk("知己知彼，百战不殆。")};
}

TEST(IdiomEntryText, FullRow) {
    const std::string expected = "\r\n" + gbk("成语：百战不殆") + "(" + gbk("bǎi zhàn bù dài") +
                                 ")\r\n" + kDashes + gbk("【释义】：每次打仗都不失败。") + "\r\n" +
                                 kDashes + gbk("【出处】：《孙子·谋攻》") + "\r\n" + kDashes +
                                 gbk("【例子】：知己知彼，百战不殆。") + "\r\n\r\n";
    EXPECT_EQ(formatIdiomEntry(baiZhanEntry()), expected);
}

TEST(IdiomEntryText, EmptySkeleton) {
    const std::string expected = "\r\n" + gbk("成语：") + "()\r\n" + kDashes + gbk("【释义】：") +
                                 "\r\n" + kDashes + gbk("【出处】：") + "\r\n" + kDashes +
                                 gbk("【例子】：") + "\r\n\r\n";
    EXPECT_EQ(formatIdiomEntry(IdiomEntry{}), expected);
}

TEST(IdiomEntryText, ValuesAreInsertedUnchanged) {
    IdiomEntry entry = baiZhanEntry();
    entry.DianGu = "a<br>b";
    entry.LiZi = "50%s%d";
    const std::string text = formatIdiomEntry(entry);
    EXPECT_NE(text.find(gbk("【释义】：") + "a<br>b\r\n"), std::string::npos);
    EXPECT_NE(text.find(gbk("【例子】：") + "50%s%d\r\n\r\n"), std::string::npos);
}

}  // namespace
}  // namespace lexomir
