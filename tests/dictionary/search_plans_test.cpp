#include "search_plans.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "gbk_text.h"
#include "messages.h"
#include "named_case.h"
#include "test_support.h"

namespace lexomir {
namespace {

using testing::gbk;
using testing::passes;
using testing::XinHuaIndexRecord;

std::string gbkMessage(std::string_view utf8) {
    return gbk(utf8);
}

// The plan must be a search; returns it for further checks.
const CharacterSearch& searchOf(const CharacterSearchPlan& plan) {
    static const CharacterSearch none{};
    if (const auto* search = std::get_if<CharacterSearch>(&plan)) return *search;
    ADD_FAILURE() << "refused: " << gbkToUtf8(std::get<Refusal>(plan).message);
    return none;
}

const XinHuaIndexRecord kZhong{"中", "zhong", "丨", 4};
const XinHuaIndexRecord kGuo{"国", "guo", "囗", 8};
const XinHuaIndexRecord kZhang{"张", "zhang", "弓", 7};
const XinHuaIndexRecord kChang{"长", "chang,zhang", "长", 4};
const XinHuaIndexRecord kAi{"爱", "ai", "爫", 10};
const XinHuaIndexRecord kLv{"绿", "lv,lu", "纟", 11};

struct RefusalCase : testing::NamedCase {
    CharacterSearchPlan (*plan)();
    std::string_view message;
    InputFocus focus;
};

class CharacterRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CharacterRefusalTest, RefusesWithTheSystemMessage) {
    const RefusalCase& c = GetParam();
    const CharacterSearchPlan plan = c.plan();
    ASSERT_TRUE(std::holds_alternative<Refusal>(plan));
    EXPECT_EQ(std::get<Refusal>(plan).message, gbkMessage(c.message));
    EXPECT_EQ(std::get<Refusal>(plan).focus, c.focus);
}

const MeaningFilterFactory kNoMeaning = [](const std::vector<std::string>&, int) -> MeaningFilter {
    ADD_FAILURE() << "meaning filter asked for";
    return [](std::int32_t) { return false; };
};

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterRefusalTest,
    ::testing::Values(RefusalCase{"TypedEmpty", [] { return planTypedSearch(""); },
                                  messages::kPleaseEnter, InputFocus::LedtPinYin},
                      RefusalCase{"TypedBlanks", [] { return planTypedSearch(" \t\r\n "); },
                                  messages::kPleaseEnter, InputFocus::LedtPinYin},
                      RefusalCase{"RadicalFirstHeader", [] { return planRadicalSearch(0, 0); },
                                  messages::kChooseARadical, InputFocus::None},
                      RefusalCase{"RadicalTenStrokeHeader",
                                  [] { return planRadicalSearch(259, 3); },
                                  messages::kChooseARadical, InputFocus::None},
                      RefusalCase{"RadicalSeventeenStrokeHeader",
                                  [] { return planRadicalSearch(292, 0); },
                                  messages::kChooseARadical, InputFocus::None},
                      RefusalCase{"CombinedThreeStrokeHeader",
                                  [] {
                                      CombinedControls controls;
                                      controls.radicalIndex = 41;  // cell 40 opens group 3
                                      return planCombinedSearch(controls, kNoMeaning);
                                  },
                                  messages::kChooseARadical, InputFocus::None},
                      RefusalCase{"CombinedFirstHeader",
                                  [] {
                                      CombinedControls controls;
                                      controls.radicalIndex = 1;
                                      return planCombinedSearch(controls, kNoMeaning);
                                  },
                                  messages::kChooseARadical, InputFocus::None},
                      RefusalCase{"CombinedRadicalCheckedBeforeMeaning",
                                  [] {
                                      CombinedControls controls;
                                      controls.radicalIndex = 41;
                                      controls.meaningRangeIndex = 1;
                                      controls.keywordsText = "   ";
                                      return planCombinedSearch(controls, kNoMeaning);
                                  },
                                  messages::kChooseARadical, InputFocus::None},
                      RefusalCase{"CombinedMeaningWithoutKeywords",
                                  [] {
                                      CombinedControls controls;
                                      controls.meaningRangeIndex = 1;
                                      controls.keywordsText = "  \t ";
                                      return planCombinedSearch(controls, kNoMeaning);
                                  },
                                  messages::kKeywordsNeeded, InputFocus::LedtZiYi},
                      RefusalCase{"CombinedWideMeaningWithEmptyKeywords",
                                  [] {
                                      CombinedControls controls;
                                      controls.meaningRangeIndex = 2;
                                      controls.letterIndex = 8;
                                      return planCombinedSearch(controls, kNoMeaning);
                                  },
                                  messages::kKeywordsNeeded, InputFocus::LedtZiYi}),
    testing::CaseName());

TEST(PlanRadicalSearch, SelectionOutsideTheListIsRefused) {
    for (int index : {-1, 294, 1000}) {
        EXPECT_TRUE(std::holds_alternative<Refusal>(planRadicalSearch(index, 0))) << index;
    }
}

struct TypedCase : testing::NamedCase {
    std::string typed;  // GBK
    bool showsFirstEntry;
    std::vector<XinHuaIndexRecord> found;
    std::vector<XinHuaIndexRecord> notFound;
};

class PlanTypedSearchTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(PlanTypedSearchTest, ChoosesTheTestByTheFirstByte) {
    const TypedCase& c = GetParam();
    const CharacterSearchPlan plan = planTypedSearch(c.typed);
    const CharacterSearch& search = searchOf(plan);
    if (!search.filter) return;
    EXPECT_EQ(search.showsFirstEntry, c.showsFirstEntry);
    EXPECT_FALSE(search.usesDatabase);
    EXPECT_EQ(search.notice, "");
    for (const XinHuaIndexRecord& record : c.found) {
        EXPECT_TRUE(passes(search.filter, record)) << record.pinyin;
    }
    for (const XinHuaIndexRecord& record : c.notFound) {
        EXPECT_FALSE(passes(search.filter, record)) << record.pinyin;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanTypedSearchTest,
    ::testing::Values(
        TypedCase{"PinyinPrefix", "zh", false, {kZhong, kZhang, kChang}, {kGuo, kAi}},
        TypedCase{"PinyinPrefixTrimmed", "  zh\t", false, {kZhong, kZhang}, {kGuo}},
        TypedCase{"LongerPinyinPrefix", "zhangg", false, {}, {kZhang, kChang}},
        TypedCase{"AsciiThenChinese", "a" + gbk("中"), false, {}, {kZhong, kAi}},
        TypedCase{"UpperCaseIsPinyin", "Zh", false, {kZhong, kZhang}, {kGuo}},
        TypedCase{"UmlautFolded", gbk("Lü"), false, {kLv}, {kZhong}},
        TypedCase{"NeutralToneDigitIsAnyTone", "lv5", false, {kLv}, {kAi}},
        TypedCase{"UpperCaseThenChineseIsCharacters", "A" + gbk("中"), true, {kZhong}, {kAi}},
        TypedCase{"DigitGoesToCharacters", "1" + gbk("中"), true, {kZhong}, {kGuo}},
        TypedCase{"Characters", gbk("中国"), true, {kZhong, kGuo}, {kZhang}},
        TypedCase{"CharactersTrimmed", " " + gbk("中") + " ", true, {kZhong}, {kGuo}},
        TypedCase{"CharacterThenAscii", gbk("中") + "a", true, {kZhong}, {kAi}}),
    testing::CaseName());

TEST(PlanTypedSearch, AToneReadsTheRecordsThatPassTheLetters) {
    std::vector<std::int32_t> askedIds;
    const CharacterSearchPlan plan =
        planTypedSearch(gbk(" Zhōng "), [&](const PinyinSpelling& spelling) -> ToneFilter {
            EXPECT_EQ(spelling.letters + std::to_string(spelling.tone), "zhong1");
            return [&](std::int32_t id) {
                askedIds.push_back(id);
                return id == 2;
            };
        });
    const CharacterSearch& search = searchOf(plan);
    EXPECT_TRUE(search.usesDatabase);
    EXPECT_FALSE(passes(search.filter, kZhong, 1));
    EXPECT_TRUE(passes(search.filter, kZhong, 2));
    EXPECT_FALSE(passes(search.filter, kGuo, 3));  // letters fail: no lookup
    EXPECT_EQ(askedIds, (std::vector<std::int32_t>{1, 2}));
}

struct RadicalPlanCase : testing::NamedCase {
    int radicalIndex;
    int remainingIndex;
    std::vector<XinHuaIndexRecord> found;
    std::vector<XinHuaIndexRecord> notFound;
};

class PlanRadicalSearchTest : public ::testing::TestWithParam<RadicalPlanCase> {};

TEST_P(PlanRadicalSearchTest, TakesTheStrokeGroupFromTheCell) {
    const RadicalPlanCase& c = GetParam();
    const CharacterSearchPlan plan = planRadicalSearch(c.radicalIndex, c.remainingIndex);
    const CharacterSearch& search = searchOf(plan);
    if (!search.filter) return;
    EXPECT_FALSE(search.showsFirstEntry);
    EXPECT_FALSE(search.usesDatabase);
    EXPECT_EQ(search.notice, "");
    for (const XinHuaIndexRecord& record : c.found) {
        EXPECT_TRUE(passes(search.filter, record)) << record.strokes;
    }
    for (const XinHuaIndexRecord& record : c.notFound) {
        EXPECT_FALSE(passes(search.filter, record)) << record.strokes;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanRadicalSearchTest,
    ::testing::Values(
        RadicalPlanCase{"YiAnyRemaining",
                        1,
                        0,
                        {{"一", "yi", "一", 1}, {"丁", "ding", "一", 2}, {"丙", "bing", "一", 5}},
                        {{"中", "zhong", "丨", 4}}},
        RadicalPlanCase{"YiRemainingOne",
                        1,
                        1,
                        {{"丁", "ding", "一", 2}},
                        {{"三", "san", "一", 3}, {"一", "yi", "一", 1}}},
        RadicalPlanCase{"KouRemainingTwo",
                        54,
                        2,
                        {{"叶", "ye", "口", 5}},
                        {{"吃", "chi", "口", 6}, {"仙", "xian", "亻", 5}}},
        RadicalPlanCase{
            "YueIsGroupSeventeen", 293, 1, {{"龢", "he", "龠", 18}}, {{"龠", "yue", "龠", 17}}},
        RadicalPlanCase{
            "FirstJueRemainingOne", 8, 1, {{"了", "le", "亅", 2}}, {{"予", "yu", "亅", 3}}},
        RadicalPlanCase{
            "SecondJueRemainingOne", 37, 1, {{"予", "yu", "亅", 3}}, {{"了", "le", "亅", 2}}},
        RadicalPlanCase{
            "FirstJueAnyRemaining", 8, 0, {{"了", "le", "亅", 2}, {"予", "yu", "亅", 3}}, {}},
        RadicalPlanCase{
            "SecondJueAnyRemaining", 37, 0, {{"了", "le", "亅", 2}, {"予", "yu", "亅", 3}}, {}},
        RadicalPlanCase{
            "BambooRadical", 184, 0, {{"笑", "xiao", "⺮", 10}}, {{"笑", "xiao", "竹", 10}}},
        RadicalPlanCase{"LargestRemainingFindsNothing",
                        54,
                        std::numeric_limits<int>::max(),
                        {},
                        {{"叶", "ye", "口", 5}, {"口", "kou", "口", 3}, {"嚷", "rang", "口", 255}}},
        RadicalPlanCase{"NoRemainingSelectedFindsNothing",
                        1,
                        -1,
                        {},
                        {{"一", "yi", "一", 1}, {"丁", "ding", "一", 2}}}),
    testing::CaseName());

TEST(PlanStrokeSearch, ListIndexPlusOneIsTheTotal) {
    const struct {
        int index;
        unsigned matching;
        unsigned other;
    } cases[] = {{0, 1, 2}, {3, 4, 5}, {68, 69, 68}, {254, 255, 254}};
    for (const auto& c : cases) {
        const CharacterSearchPlan plan = planStrokeSearch(c.index);
        const CharacterSearch& search = searchOf(plan);
        if (!search.filter) continue;
        EXPECT_FALSE(search.showsFirstEntry);
        EXPECT_FALSE(search.usesDatabase);
        EXPECT_TRUE(passes(search.filter, {"中", "zhong", "丨", c.matching})) << c.index;
        EXPECT_FALSE(passes(search.filter, {"中", "zhong", "丨", c.other})) << c.index;
    }
}

// A record holds at most 255 strokes; larger indexes, up to the largest int,
// must find nothing rather than overflow the index + 1.
TEST(PlanStrokeSearch, IndexPastAnyRecordsCountFindsNothing) {
    for (const int index :
         {255, 256, 1000, std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max()}) {
        const CharacterSearchPlan plan = planStrokeSearch(index);
        const CharacterSearch& search = searchOf(plan);
        if (!search.filter) continue;
        for (const unsigned strokes : {0u, 1u, 254u, 255u}) {
            EXPECT_FALSE(passes(search.filter, {"中", "zhong", "丨", strokes}))
                << index << " " << strokes;
        }
    }
}

TEST(PlanCombinedSearch, AllOffFindsEveryRecordWithoutTheDatabase) {
    const CharacterSearchPlan plan = planCombinedSearch(CombinedControls{}, kNoMeaning);
    const CharacterSearch& search = searchOf(plan);
    ASSERT_TRUE(search.filter);
    EXPECT_FALSE(search.usesDatabase);
    EXPECT_FALSE(search.showsFirstEntry);
    EXPECT_EQ(search.notice, "");
    for (const XinHuaIndexRecord& record : {kZhong, kGuo, kZhang, kChang, kAi}) {
        EXPECT_TRUE(passes(search.filter, record)) << record.pinyin;
    }
    EXPECT_TRUE(passes(search.filter, {"", "", "", 0}));
}

TEST(PlanCombinedSearch, MeaningOffIgnoresTheKeywordsAndNeverAsksTheFactory) {
    CombinedControls controls;
    controls.keywordsText = gbk("水 火");
    controls.letterIndex = 26;  // z
    const CharacterSearchPlan plan = planCombinedSearch(controls, kNoMeaning);
    const CharacterSearch& search = searchOf(plan);
    ASSERT_TRUE(search.filter);
    EXPECT_FALSE(search.usesDatabase);
    EXPECT_EQ(search.notice, "");
    EXPECT_TRUE(passes(search.filter, kZhong));
    EXPECT_TRUE(passes(search.filter, kChang));
    EXPECT_FALSE(passes(search.filter, kGuo));
}

TEST(PlanCombinedSearch, ListIndexesBecomeCriteria) {
    CombinedControls controls;
    controls.letterIndex = 1;     // a
    controls.radicalIndex = 283;  // cell 282
    controls.minStrokesIndex = 5;
    const CharacterSearchPlan plan = planCombinedSearch(controls, kNoMeaning);
    const CharacterSearch& search = searchOf(plan);
    ASSERT_TRUE(search.filter);
    const std::string radicalUtf8 = "黽";  // cell 282
    EXPECT_TRUE(passes(search.filter, {"中", "ai", radicalUtf8, 5}));
    EXPECT_TRUE(passes(search.filter, {"中", "ai", radicalUtf8, 13}));
    EXPECT_FALSE(passes(search.filter, {"中", "ai", radicalUtf8, 4}));
    EXPECT_FALSE(passes(search.filter, {"中", "bai", radicalUtf8, 13}));
    EXPECT_FALSE(passes(search.filter, {"中", "ai", "口", 13}));
}

TEST(PlanCombinedSearch, RadicalItemOneIsCellZeroShiftedByTheOffItem) {
    CombinedControls controls;
    controls.radicalIndex = 2;  // cell 1: 一
    const CharacterSearchPlan plan = planCombinedSearch(controls, kNoMeaning);
    const CharacterSearch& search = searchOf(plan);
    ASSERT_TRUE(search.filter);
    EXPECT_TRUE(passes(search.filter, {"丁", "ding", "一", 2}));
    EXPECT_FALSE(passes(search.filter, {"中", "zhong", "丨", 4}));
}

TEST(PlanCombinedSearch, MeaningWithKeywordsWarnsAndUsesTheDatabase) {
    CombinedControls controls;
    controls.keywordsText = "\t" + gbk("水  火") + " ";
    controls.meaningRangeIndex = 2;
    controls.letterIndex = 26;  // z
    std::vector<std::vector<std::string>> askedKeywords;
    std::vector<int> askedRanges;
    std::vector<std::int32_t> askedIds;
    const MeaningFilterFactory factory = [&](const std::vector<std::string>& keywords, int range) {
        askedKeywords.push_back(keywords);
        askedRanges.push_back(range);
        return MeaningFilter([&](std::int32_t id) {
            askedIds.push_back(id);
            return id == 2;
        });
    };
    const CharacterSearchPlan plan = planCombinedSearch(controls, factory);
    const CharacterSearch& search = searchOf(plan);
    ASSERT_TRUE(search.filter);
    EXPECT_TRUE(search.usesDatabase);
    EXPECT_FALSE(search.showsFirstEntry);
    EXPECT_EQ(search.notice, gbkMessage(messages::kMeaningSearchIsSlow));
    ASSERT_EQ(askedKeywords.size(), 1u);
    EXPECT_EQ(askedKeywords[0], (std::vector<std::string>{gbk("水"), gbk("火")}));
    EXPECT_EQ(askedRanges, std::vector<int>{2});

    EXPECT_FALSE(passes(search.filter, kZhong, 1));
    EXPECT_TRUE(passes(search.filter, kZhong, 2));
    EXPECT_FALSE(passes(search.filter, kGuo, 2));  // letter fails: no lookup
    EXPECT_EQ(askedIds, (std::vector<std::int32_t>{1, 2}));
}

TEST(PlanIdiomSearch, EmptyOrBlankInputIsRefused) {
    for (const char* input : {"", " \t\r\n"}) {
        const IdiomSearchPlan plan = planIdiomSearch(input);
        ASSERT_TRUE(std::holds_alternative<Refusal>(plan));
        EXPECT_EQ(std::get<Refusal>(plan).message, gbkMessage(messages::kEnterAnIdiom));
        EXPECT_EQ(std::get<Refusal>(plan).focus, InputFocus::LedtChengYu);
    }
}

TEST(PlanIdiomSearch, TrimsAndBuildsThePattern) {
    const struct {
        std::string input;
        std::string pattern;
    } cases[] = {
        {"  " + gbk("爱") + "\t", gbk("爱")}, {gbk("百战不="), gbk("百战不★")},  {" a ", "a "},
        {gbk("中 国"), gbk("中 国") + " "},   {gbk("百戰不＝"), gbk("百战不★")},
    };
    // Stands in for the traditional-to-simplified conversion.
    const IdiomTextSimplifier simplify = [](std::string_view text) {
        return gbkReplaceAll(std::string(text), gbk("戰"), gbk("战"));
    };
    for (const auto& c : cases) {
        const IdiomSearchPlan plan = planIdiomSearch(c.input, simplify);
        ASSERT_TRUE(std::holds_alternative<std::string>(plan)) << gbkToUtf8(c.input);
        EXPECT_EQ(std::get<std::string>(plan), c.pattern) << gbkToUtf8(c.input);
    }
}

TEST(FoundMessages, ShowTheCountInGbk) {
    EXPECT_EQ(charactersFoundMessage(0), gbk("共找到 0 个汉字！"));
    EXPECT_EQ(charactersFoundMessage(20823), gbk("共找到 20823 个汉字！"));
    EXPECT_EQ(idiomsFoundMessage(0), gbk("共找到 0 个成语！"));
    EXPECT_EQ(idiomsFoundMessage(13000), gbk("共找到 13000 个成语！"));
}

}  // namespace
}  // namespace lexomir
