#include "xinhua_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "character_source.h"
#include "gbk_codec.h"
#include "xinhua_fixture.h"

namespace lexomir::xinhua {
namespace {

using test::source;

struct FitCase {
    const char* name;
    std::vector<Reading> readings;
    std::string field;
    std::string marked;
    std::size_t cut;
};

class FitReadingsTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitReadingsTest, KeepsWholeReadingsThatFit) {
    const FitCase& c = GetParam();
    const FittedReadings fitted = fitReadings(c.readings);
    EXPECT_EQ(fitted.field, c.field);
    EXPECT_EQ(fitted.marked, c.marked);
    EXPECT_EQ(fitted.cut, c.cut);
    EXPECT_LT(fitted.field.size(), xinhua_record::kPinyinWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, FitReadingsTest,
    testing::Values(
        FitCase{"Single", {{"dīng", "ding", 1}}, "ding", "dīng", 0},
        FitCase{"TwoReadings",
                {{"dīng", "ding", 1}, {"zhēng", "zheng", 1}},
                "ding,zheng",
                "dīng,zhēng",
                0},
        // Readings that differ only by tone share one toneless entry.
        FitCase{"ToneOnlyDifference",
                {{"zhōng", "zhong", 1}, {"zhòng", "zhong", 4}},
                "zhong",
                "zhōng,zhòng",
                0},
        // 19 bytes exactly fill the field up to its NUL.
        FitCase{"ExactlyNineteenBytes",
                {{"a", "aaaa", 1}, {"b", "bbbb", 1}, {"c", "cccc", 1}, {"d", "dddd", 1}},
                "aaaa,bbbb,cccc,dddd",
                "a,b,c,d",
                0},
        FitCase{"TwentyBytesCutsTheLast",
                {{"a", "aaaa", 1}, {"b", "bbbb", 1}, {"c", "cccc", 1}, {"d", "ddddd", 1}},
                "aaaa,bbbb,cccc",
                "a,b,c",
                1},
        // A shorter reading after a cut one still gets in; readings are never cut in half.
        FitCase{"ShorterReadingAfterCut",
                {{"a", "aaaaaa", 1}, {"b", "bbbbbb", 1}, {"c", "cccccccc", 1}, {"d", "dd", 1}},
                "aaaaaa,bbbbbb,dd",
                "a,b,d",
                1}),
    [](const testing::TestParamInfo<FitCase>& info) { return info.param.name; });

TEST(ChooseRadicalTest, TakesCncharRadicalWhenTheTableHoldsIt) {
    const CharacterSource river = source("河", "hé/he/2", 8, "氵", "kangxi:水");
    const RadicalChoice choice = chooseRadical(river);
    EXPECT_EQ(choice.form, "氵");
    EXPECT_EQ(choice.source, "cnchar-radical");
    EXPECT_EQ(kangxiRadical(river).form, "水");
}

TEST(ChooseRadicalTest, FallsBackWhenCncharRadicalIsNotInTheTable) {
    // ⻊ is not one of the table's radicals; 足 is.
    const CharacterSource run = source("跑", "pǎo/pao/3", 12, "⻊", "positional:⻊ kangxi:足");
    const RadicalChoice choice = chooseRadical(run);
    EXPECT_EQ(choice.form, "足");
    EXPECT_EQ(choice.source, "kangxi");
}

TEST(ChooseRadicalTest, UsesTheNearestFormWhenTheKangxiFormIsMissing) {
    const CharacterSource net = source("罔", "wǎng/wang/3", 8, "", "kangxi:网 nearest:罒");
    const RadicalChoice choice = chooseRadical(net);
    EXPECT_EQ(choice.form, "罒");
    EXPECT_EQ(choice.source, "nearest");
}

TEST(ChooseRadicalTest, ARadicalFormIsFiledUnderItselfWhereTheTableHoldsIt) {
    // cnchar-radical files 龟 under its top; the table holds 龟 itself.
    const CharacterSource turtle = source("龟", "guī/gui/1", 7, "刀", "self:龟 simplified:龟");
    EXPECT_EQ(chooseRadical(turtle).form, "龟");
    EXPECT_EQ(chooseRadical(turtle).source, "self");
    EXPECT_EQ(kangxiRadical(turtle).source, "simplified");
    // 丆 is no radical of the table, so the usual rule decides.
    EXPECT_EQ(chooseRadical(source("丆", "hǎn/han/3", 2, "一", "self:丆 kangxi:一")).form, "一");
}

TEST(ChooseRadicalTest, NothingWhenNoCandidateIsInTheTable) {
    EXPECT_TRUE(chooseRadical(source("罔", "wǎng/wang/3", 8, "", "kangxi:网")).form.empty());
}

std::vector<std::string> characters(const BuildResult& result) {
    std::vector<std::string> list;
    for (const XinHuaEntry& entry : result.entries) list.push_back(entry.zi);
    return list;
}

BuildOptions options(std::int32_t records) {
    BuildOptions o;
    o.recordCount = records;
    o.minimumAgreementPercent = 0;
    return o;
}

TEST(BuildXinHuaTest, OrdersByLevelThenFirstReadingThenToneThenStrokesThenCodePoint) {
    std::vector<CharacterSource> sources = {
        source("中", "zhōng/zhong/1 zhòng/zhong/4", 4, "丨", "kangxi:丨", 1),
        source("徸", "chōng/chong/1 zhōng/zhong/1", 15, "彳", "kangxi:彳"),  // rare, zhong second
        source("阿", "ā/a/1 ē/e/1", 7, "阝", "positional:阝", 1),
        source("啊", "à/a/4", 10, "口", "kangxi:口", 1),
        source("吖", "ā/a/1", 6, "口", "kangxi:口"),
        source("锕", "ā/a/1", 12, "钅", "simplified:钅", 3),
        source("呵", "ā/a/1", 7, "口", "kangxi:口", 1),  // same strokes as 阿, smaller code point
        source("嗄", "á/a/2", 13, "口", "kangxi:口", 2),
        source("安", "ān/an/1", 6, "宀", "kangxi:宀", 1),
    };
    const BuildResult result = buildXinHua(sources, options(9));
    EXPECT_EQ(characters(result),
              (std::vector<std::string>{"呵", "阿", "啊", "安", "中", "嗄", "锕", "吖", "徸"}));
}

TEST(BuildXinHuaTest, DropsTheRarestButNeverARequiredCharacter) {
    std::vector<CharacterSource> sources = {
        source("丁", "dīng/ding/1", 2, "一", "kangxi:一", 0, 5),
        source("七", "qī/qi/1", 2, "一", "kangxi:一", 1, 1),  // rarest, but required
        source("丂", "kǎo/kao/3", 2, "一", "kangxi:一", 0, 2),
        source("丄", "shàng/shang/4", 2, "一", "kangxi:一", 0, 3),
        source("万", "wàn/wan/4", 3, "一", "kangxi:一", 0, 4),
    };
    const BuildResult result = buildXinHua(sources, options(3));
    EXPECT_EQ(characters(result), (std::vector<std::string>{"七", "丁", "万"}));
    EXPECT_EQ(result.summary.dropped, 2u);
    EXPECT_EQ(result.summary.required, 1u);
    EXPECT_EQ(result.summary.candidates, 5u);
}

TEST(BuildXinHuaTest, FillsBothFilesFieldsFromOneRow) {
    const BuildResult result =
        buildXinHua({source("丁", "dīng/ding/1 zhēng/zheng/1", 2, "一", "kangxi:一", 0, 1, "sgh",
                            "male adult", "dīng：male adult<br>简体：丁")},
                    options(1));
    ASSERT_EQ(result.entries.size(), 1u);
    const XinHuaEntry& entry = result.entries[0];
    EXPECT_EQ(entry.ziGbk, utf8ToGbk("丁"));
    EXPECT_EQ(entry.pinyinGbk, "ding,zheng");
    EXPECT_EQ(entry.radicalGbk, utf8ToGbk("一"));
    EXPECT_EQ(entry.strokes, 2);
    EXPECT_EQ(entry.pinyin, "dīng,zhēng");
    EXPECT_EQ(entry.py, "ding,zheng");
    EXPECT_EQ(entry.bushou, "一");
    EXPECT_EQ(entry.bihua, 2);
    EXPECT_EQ(entry.wubi, "sgh");
    EXPECT_EQ(entry.jijie, "male adult");
    EXPECT_EQ(entry.xiangjie, "dīng：male adult<br>简体：丁");
}

TEST(BuildXinHuaTest, SummaryCountsSourcesCutsAndAgreement) {
    std::vector<CharacterSource> sources = {
        source("河", "hé/he/2", 8, "氵", "positional:氵 kangxi:水", 0, 1),
        source("说", "shuō/shuo/1", 9, "讠", "simplified:讠", 0, 2),
        source("罔", "wǎng/wang/3", 8, "", "kangxi:网 nearest:罒", 0, 3),
        source("中", "zhōng/zhong/1", 4, "丨", "kangxi:口", 0, 4),  // disagrees
        source("閡", "ài/ai/4 hé/he/2 hài/hai/4 gāi/gai/1 kǎi/kai/3 ài/aiai/4", 14, "", "kangxi:門",
               0, 5),
    };
    const BuildResult result = buildXinHua(sources, options(5));
    const BuildSummary& s = result.summary;
    EXPECT_EQ(s.modernCovered, 3u);
    EXPECT_EQ(s.kangxiAgrees, 2u);
    EXPECT_EQ(s.radicalsBySource.at("cnchar-radical"), 3u);
    EXPECT_EQ(s.radicalsBySource.at("nearest"), 1u);
    EXPECT_EQ(s.radicalsBySource.at("kangxi"), 1u);
    EXPECT_EQ(s.readingsCut, 1u);
    EXPECT_EQ(s.charactersWithReadingsCut, 1u);
}

TEST(BuildXinHuaTest, ListsTheKeptVariantsAndCountsTheMovedRadicalForms) {
    std::vector<CharacterSource> sources = {
        source("峰", "fēng/feng/1", 10, "山", "kangxi:山", 1, 1, "abcd", "peak", "fēng：peak",
               "峯 峰 丰"),
        source("峯", "fēng/feng/1", 10, "山", "kangxi:山", 0, 3, "abcd", "peak", "", "峰"),
        source("丰", "fēng/feng/1", 4, "丨", "kangxi:丨", 0, 2),  // dropped as the rarest
        source("龟", "guī/gui/1", 7, "刀", "self:龟 simplified:龟", 1, 4),
        source("食", "shí/shi/2", 9, "食", "self:食 kangxi:食", 1, 5),  // already under itself
    };
    const BuildResult result = buildXinHua(sources, options(4));
    ASSERT_EQ(characters(result), (std::vector<std::string>{"峰", "龟", "食", "峯"}));
    EXPECT_EQ(result.entries[0].xiangjie, "fēng：peak<br>异体字：峯");
    EXPECT_EQ(result.entries[3].xiangjie, "异体字：峰");
    EXPECT_EQ(result.entries[1].bushou, "龟");
    EXPECT_EQ(result.summary.variantLines, 2u);
    EXPECT_EQ(result.summary.movedToOwnRadical, (std::vector<std::string>{"龟"}));
}

TEST(BuildXinHuaTest, FailsBelowTheAgreementTarget) {
    BuildOptions o = options(1);
    o.minimumAgreementPercent = 98.5;
    EXPECT_THROW(buildXinHua({source("中", "zhōng/zhong/1", 4, "丨", "kangxi:口")}, o), BuildError);
    EXPECT_NO_THROW(buildXinHua({source("中", "zhōng/zhong/1", 4, "丨", "kangxi:丨")}, o));
}

struct BadRowCase {
    const char* name;
    CharacterSource row;
};

class RefusedRowTest : public testing::TestWithParam<BadRowCase> {};

TEST_P(RefusedRowTest, BuildFails) {
    std::vector<CharacterSource> sources = {
        source("丁", "dīng/ding/1", 2, "一", "kangxi:一", 0, 100), GetParam().row};
    EXPECT_THROW(buildXinHua(sources, options(2)), BuildError);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedRowTest,
    testing::Values(BadRowCase{"Duplicate", source("丁", "dīng/ding/1", 2, "一", "kangxi:一")},
                    BadRowCase{"OutsideTheBlock", source("㐀", "qiū/qiu/1", 5, "一", "kangxi:一")},
                    BadRowCase{"TwoCharacters", source("七丁", "qī/qi/1", 2, "一", "kangxi:一")},
                    BadRowCase{"NoReading", source("七", "", 2, "一", "kangxi:一")},
                    BadRowCase{"ReadingNotAscii", source("七", "qī/qī/1", 2, "一", "kangxi:一")},
                    BadRowCase{"MainReadingTooLong",
                               source("七", "q/qqqqqqqqqqqqqqqqqqqq/1", 2, "一", "kangxi:一")},
                    BadRowCase{"NoStrokes", source("七", "qī/qi/1", 0, "一", "kangxi:一")},
                    BadRowCase{"TooManyStrokes", source("七", "qī/qi/1", 256, "一", "kangxi:一")},
                    BadRowCase{"NoWubi", source("七", "qī/qi/1", 2, "一", "kangxi:一", 0, 1, "")},
                    BadRowCase{"NoTableRadical", source("七", "qī/qi/1", 2, "⻊", "kangxi:网")},
                    BadRowCase{"RarityNotUnique",
                               source("七", "qī/qi/1", 2, "一", "kangxi:一", 0, 100)}),
    [](const testing::TestParamInfo<BadRowCase>& info) { return info.param.name; });

TEST(BuildXinHuaTest, RefusesTooFewCandidatesOrTooManyRequired) {
    std::vector<CharacterSource> two = {source("丁", "dīng/ding/1", 2, "一", "kangxi:一", 1, 1),
                                        source("七", "qī/qi/1", 2, "一", "kangxi:一", 1, 2)};
    EXPECT_THROW(buildXinHua(two, options(3)), BuildError);
    EXPECT_THROW(buildXinHua(two, options(1)), BuildError);
}

TEST(ParseCharacterRowTest, ReadsEveryColumn) {
    const CharacterSource row = parseCharacterRow(
        "丁\tdīng/ding/1 zhēng/zheng/1\t2\t一\tkangxi:一 nearest:丨\t2\t42\tsgh\tmale "
        "adult\ta<br>b\t丅 万",
        7);
    EXPECT_EQ(row.line, 7);
    EXPECT_EQ(row.zi, "丁");
    ASSERT_EQ(row.readings.size(), 2u);
    EXPECT_EQ(row.readings[1].marked, "zhēng");
    EXPECT_EQ(row.readings[1].plain, "zheng");
    EXPECT_EQ(row.readings[1].tone, 1);
    EXPECT_EQ(row.strokes, 2);
    EXPECT_EQ(row.modernRadical, "一");
    ASSERT_EQ(row.kangxiCandidates.size(), 2u);
    EXPECT_EQ(row.kangxiCandidates[1].source, "nearest");
    EXPECT_EQ(row.kangxiCandidates[1].form, "丨");
    EXPECT_EQ(row.level, 2);
    EXPECT_TRUE(row.required);
    EXPECT_EQ(row.rarity, 42);
    EXPECT_EQ(row.wubi, "sgh");
    EXPECT_EQ(row.jijie, "male adult");
    EXPECT_EQ(row.xiangjie, "a<br>b");
    EXPECT_EQ(row.variants, (std::vector<std::string>{"丅", "万"}));
}

class MalformedRowTest : public testing::TestWithParam<const char*> {};

TEST_P(MalformedRowTest, IsRefusedWithItsLine) {
    try {
        parseCharacterRow(GetParam(), 12);
        FAIL() << "accepted " << GetParam();
    } catch (const BuildError& error) {
        EXPECT_NE(std::string(error.what()).find("line 12"), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MalformedRowTest,
                         testing::Values("丁\tdīng/ding/1\t2\t一\tkangxi:一\t1\t42\tsgh\tmale",
                                         "丁\tdīng/ding\t2\t一\tkangxi:一\t1\t42\tsgh\tm\tx\t",
                                         "丁\tdīng/ding/6\t2\t一\tkangxi:一\t1\t42\tsgh\tm\tx\t",
                                         "丁\tdīng/ding/1\ttwo\t一\tkangxi:一\t1\t42\tsgh\tm\tx\t",
                                         "丁\tdīng/ding/1\t2\t一\t一\t1\t42\tsgh\tm\tx\t",
                                         "丁\tdīng/ding/1\t2\t一\tkangxi:一\tyes\t42\tsgh\tm\tx\t",
                                         "丁\tdīng/ding/1\t2\t一\tkangxi:一\t4\t42\tsgh\tm\tx\t"));

}  // namespace
}  // namespace lexomir::xinhua
