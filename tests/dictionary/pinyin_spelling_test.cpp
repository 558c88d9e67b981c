#include "pinyin_spelling.h"

#include <gtest/gtest.h>

#include <string>

#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;

struct SpellingCase : testing::NamedCase {
    std::string typed;  // UTF-8
    bool isSpelling;
    std::string letters;
    int tone;
};

class ReadPinyinSpellingTest : public ::testing::TestWithParam<SpellingCase> {};

TEST_P(ReadPinyinSpellingTest, FoldsToTheIndexFormOrRefuses) {
    const SpellingCase& c = GetParam();
    const std::optional<PinyinSpelling> spelling = readPinyinSpelling(gbk(c.typed));
    ASSERT_EQ(spelling.has_value(), c.isSpelling);
    if (!spelling) return;
    EXPECT_EQ(spelling->letters, c.letters);
    EXPECT_EQ(spelling->tone, c.tone);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadPinyinSpellingTest,
    ::testing::Values(SpellingCase{"Capitals", "ZhONG", true, "zhong", 0},
                      SpellingCase{"Umlaut", "lü", true, "lv", 0},
                      SpellingCase{"CapitalOutsideGbk", "LÜ", true, "lv", 0},
                      SpellingCase{"ToneMark", "zhōng", true, "zhong", 1},
                      SpellingCase{"ToneMarkOnUmlaut", "lǚ", true, "lv", 3},
                      SpellingCase{"CombiningMarks", "lu\u0308\u030C", true, "lv", 3},
                      SpellingCase{"ToneDigit", "zhong1", true, "zhong", 1},
                      SpellingCase{"NeutralDigitIsAnyTone", "lv5", true, "lv", 0},
                      SpellingCase{"TwoDigits", "zhong12", false, "", 0},
                      SpellingCase{"MarkAndDigit", "zhōng1", false, "", 0},
                      SpellingCase{"MarkFirst", "\u0304a", false, "", 0},
                      SpellingCase{"WithACharacter", "A中", false, "", 0}),
    testing::CaseName());

struct ToneCase : testing::NamedCase {
    std::string tonedReadings;  // UTF-8, as the pinyin column holds them
    std::string typed;          // UTF-8
    bool matches;
};

class TonedReadingsMatchTest : public ::testing::TestWithParam<ToneCase> {};

TEST_P(TonedReadingsMatchTest, NeedsOneReadingWithTheLettersInTheTone) {
    const ToneCase& c = GetParam();
    const std::optional<PinyinSpelling> wanted = readPinyinSpelling(gbk(c.typed));
    ASSERT_TRUE(wanted.has_value());
    EXPECT_EQ(tonedReadingsMatch(gbk(c.tonedReadings), *wanted), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TonedReadingsMatchTest,
    ::testing::Values(ToneCase{"FirstReading", "zhòng,chóng", "zhong4", true},
                      ToneCase{"LettersOfOneToneOfAnother", "zhòng,chóng", "chong4", false},
                      ToneCase{"PrefixTakesTheSyllablesTone", "zhōng", "zhōn", true},
                      ToneCase{"NeutralReadingHasNoTone", "ma", "ma1", false},
                      ToneCase{"UAfterLIsNotV", "lù", "lǜ", false},
                      ToneCase{"CombiningMarkInTheData", "ḿ,m̀", "m4", true}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir
