#include "cli_app.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_fixture.h"
#include "data_folder.h"
#include "named_case.h"

namespace lexomir::cli {
namespace {

using lexomir::testing::TempFolder;

const std::string kDashes(49, '-');

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::vector<std::string>& args, const std::filesystem::path& defaultFolder) {
    std::ostringstream out, err;
    const int status = runCommandLine(args, defaultFolder, out, err);
    return {status, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new TempFolder;
        lexomir::testing::writeCliFixture(folder->path());
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }
    static Result run(const std::vector<std::string>& args) {
        return cli::run(args, folder->path());
    }
    static TempFolder* folder;
};
TempFolder* CliTest::folder = nullptr;

struct SearchCase : testing::NamedCase {
    std::vector<std::string> args;
    int status;
    std::string out;      // exact
    std::string errPart;  // must occur in stderr; "" = stderr empty
};

class CliSearchTest : public CliTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(CliSearchTest, PrintsHitsAndCountOrRefuses) {
    const SearchCase& c = GetParam();
    const Result result = run(c.args);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_EQ(result.out, c.out);
    if (c.errPart.empty()) {
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Searches, CliSearchTest,
    ::testing::Values(
        SearchCase{"PinyinPrefix", {"pinyin", "zhong"}, 0, "1\t中\tzhong\n共找到 1 个汉字！\n", ""},
        SearchCase{
            "PinyinIsTrimmed", {"pinyin", "  zh "}, 0, "1\t中\tzhong\n共找到 1 个汉字！\n", ""},
        SearchCase{"PinyinSecondReading",
                   {"pinyin", "h"},
                   0,
                   "3\t河\the\n4\t行\txing,hang\n共找到 2 个汉字！\n",
                   ""},
        SearchCase{"PinyinNothingFound", {"pinyin", "zhongg"}, 0, "共找到 0 个汉字！\n", ""},
        SearchCase{
            "PinyinCapitalised", {"pinyin", "Zhong"}, 0, "1\t中\tzhong\n共找到 1 个汉字！\n", ""},
        SearchCase{"CharsInFileOrder",
                   {"chars", "国中国"},
                   0,
                   "1\t中\tzhong\n2\t国\tguo\n共找到 2 个汉字！\n",
                   ""},
        SearchCase{"EmptyChars", {"chars", "  "}, 2, "", "请输入！"},
        SearchCase{"EmptyPinyin", {"pinyin", ""}, 2, "", "请输入！"},
        SearchCase{"PinyinThatIsNotPinyin", {"pinyin", "中"}, 2, "", "chars"},
        SearchCase{"CharsThatArePinyin", {"chars", "zhong"}, 2, "", "pinyin"},
        SearchCase{"RadicalAnyRemaining",
                   {"radical", "口", "0"},
                   0,
                   "2\t国\tguo\n6\t口\tkou\n共找到 2 个汉字！\n",
                   ""},
        SearchCase{"RadicalWithRemaining",
                   {"radical", "口", "5"},
                   0,
                   "2\t国\tguo\n共找到 1 个汉字！\n",
                   ""},
        SearchCase{"RadicalHeadingIsRefused", {"radical", "3画", "0"}, 2, "", "必须选择一个笔画！"},
        SearchCase{"UnknownRadical", {"radical", "x", "0"}, 2, "", "radical table"},
        SearchCase{"RemainingOutOfRange", {"radical", "口", "70"}, 2, "", "REMAINING"},
        SearchCase{
            "Strokes", {"strokes", "4"}, 0, "1\t中\tzhong\n5\t水\tshui\n共找到 2 个汉字！\n", ""},
        SearchCase{"StrokesZero", {"strokes", "0"}, 2, "", "1 to 69"},
        SearchCase{"StrokesNotANumber", {"strokes", "4x"}, 2, "", "N must"},
        SearchCase{"CombinedLetter",
                   {"combined", "--letter", "h"},
                   0,
                   "3\t河\the\n4\t行\txing,hang\n共找到 2 个汉字！\n",
                   ""},
        SearchCase{"CombinedRadicalAndStrokes",
                   {"combined", "--radical=口", "--min-strokes", "5"},
                   0,
                   "2\t国\tguo\n共找到 1 个汉字！\n",
                   ""},
        SearchCase{
            "CombinedNothingSetFindsEveryRecord",
            {"combined"},
            0,
            "1\t中\tzhong\n2\t国\tguo\n3\t河\the\n4\t行\txing,hang\n5\t水\tshui\n6\t口\tkou\n"
            "共找到 6 个汉字！\n",
            ""},
        SearchCase{"CombinedBriefMeaning",
                   {"combined", "--keywords", "river  water", "--range", "1"},
                   0,
                   "3\t河\the\n5\t水\tshui\n共找到 2 个汉字！\n",
                   "选择了字意查询，速度会比较慢，请耐心等待！"},
        SearchCase{"CombinedDetailedMeaning",
                   {"combined", "--keywords", "水 火", "--range", "2", "--min-strokes", "4"},
                   0,
                   "3\t河\the\n5\t水\tshui\n共找到 2 个汉字！\n",
                   "选择了字意查询"},
        SearchCase{"CombinedMeaningWithoutKeywords",
                   {"combined", "--range", "1"},
                   2,
                   "",
                   "如果选择了字意查询，请输入包含的关键字，多个关键字用空格隔开！"},
        SearchCase{"KeywordsWithoutRange", {"combined", "--keywords", "水"}, 2, "", "--range"},
        SearchCase{"CombinedHeadingIsRefused",
                   {"combined", "--radical", "10画"},
                   2,
                   "",
                   "必须选择一个笔画！"},
        SearchCase{"BadLetter", {"combined", "--letter", "H"}, 2, "", "--letter"},
        SearchCase{"IdiomWildcard",
                   {"idiom", "百战不="},
                   0,
                   "2\t百战不殆\tbǎi zhàn bù dài\n共找到 1 个成语！\n",
                   ""},
        SearchCase{"IdiomPrefixOnly",
                   {"idiom", " 爱 "},
                   0,
                   "1\t爱不释手\tài bù shì shǒu\n3\t爱屋及乌\tài wū jí wū\n共找到 2 个成语！\n",
                   ""},
        SearchCase{"IdiomTraditional",
                   {"idiom", "百戰不＝"},
                   0,
                   "2\t百战不殆\tbǎi zhàn bù dài\n共找到 1 个成语！\n",
                   ""},
        SearchCase{"IdiomNothingFound", {"idiom", "爱不释手啊"}, 0, "共找到 0 个成语！\n", ""},
        SearchCase{"EmptyIdiom", {"idiom", " "}, 2, "", "请输入成语，可以用“=”代替不知道的文字。"},
        SearchCase{"UnknownCommand", {"find", "x"}, 2, "", "unknown command"},
        SearchCase{"NoCommand", {}, 2, "", "no command"},
        SearchCase{"WrongOperandCount", {"radical", "口"}, 2, "", "takes 2 arguments"},
        SearchCase{"UnknownOption", {"pinyin", "--fast", "zh"}, 2, "", "unknown option"},
        SearchCase{"CombinedOptionElsewhere", {"pinyin", "zh", "--letter", "z"}, 2, "", "combined"},
        SearchCase{"OptionWithoutValue", {"combined", "--letter"}, 2, "", "needs a value"}),
    testing::CaseName());

TEST_F(CliTest, ShowPrintsTheCharacterEntryWithLineFeeds) {
    const Result result = run({"show", "1"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "\n汉字：中(zhōng  zhong)(部首：丨)(笔画数：4)(五笔：khk)\n" + kDashes +
                              "\n简介：middle\n" + kDashes + "\n详解：中间\n中心\n\n");
}

TEST_F(CliTest, ShowOfAMissingRecordIsRefusedNamingTheDatabase) {
    for (const auto& [args, file] : {std::pair{std::vector<std::string>{"show", "99"}, "XinHua.db"},
                                     {{"--json", "show-idiom", "5"}, "ChengYu.db"}}) {
        const Result result = run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(std::string(" record ") + args.back() + " in "),
                  std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(file), std::string::npos) << result.err;
    }
}

// The characters themselves, in UTF-8, not as \u escapes.
TEST_F(CliTest, JsonWritesTheCharactersAsUtf8) {
    const Result result = run({"--json", "--show", "pinyin", "x"});
    EXPECT_NE(result.out.find("\"行\""), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"xíng\""), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("\\u"), std::string::npos) << result.out;
}

TEST_F(CliTest, JsonGivesOneDocumentWithNamedFields) {
    const auto json = [](const std::vector<std::string>& args) {
        const Result result = run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return nlohmann::json::parse(result.out);
    };
    EXPECT_EQ(json({"--json", "--show", "pinyin", "x"}), nlohmann::json::parse(R"({
        "count": 1,
        "characters": [{"number": 4, "character": "行", "readings": ["xing", "hang"],
            "entry": {"number": 4, "character": "行", "readings": ["xíng", "háng"],
                      "radical": "彳", "strokes": 6, "wubi": "tfhh", "brief": ["go"],
                      "detailed": ["行走"]}}]})"));
    EXPECT_EQ(json({"--json", "--show", "idiom", "百战"}), nlohmann::json::parse(R"({
        "count": 1,
        "idioms": [{"number": 2, "idiom": "百战不殆", "pinyin": "bǎi zhàn bù dài",
            "entry": {"number": 2, "idiom": "百战不殆", "pinyin": "bǎi zhàn bù dài",
                      "explanation": "每次打仗都不失败。", "source": "《孙子·谋攻》",
                      "example": ""}}]})"));
}

TEST_F(CliTest, ShowIdiomPrintsTheIdiomEntry) {
    const Result result = run({"show-idiom", "2"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "\n成语：百战不殆(bǎi zhàn bù dài)\n" + kDashes +
                              "\n【释义】：每次打仗都不失败。\n" + kDashes +
                              "\n【出处】：《孙子·谋攻》\n" + kDashes + "\n【例子】：\n\n");
}

TEST_F(CliTest, ShowOptionPrintsEachHitsEntryAfterIt) {
    const Result result = run({"--show", "strokes", "3"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "6\t口\tkou\n\n汉字：口(kǒu  kou)(部首：口)(笔画数：3)(五笔：kkkk)\n" +
                              kDashes + "\n简介：mouth\n" + kDashes +
                              "\n详解：火口\n\n共找到 1 个汉字！\n");

    const Result idioms = run({"idiom", "百战", "--show"});
    EXPECT_EQ(idioms.status, 0) << idioms.err;
    EXPECT_NE(idioms.out.find("【出处】：《孙子·谋攻》"), std::string::npos) << idioms.out;
}

TEST_F(CliTest, ShowNeedsARecordNumber) {
    EXPECT_EQ(run({"show", "0"}).status, 2);
    EXPECT_EQ(run({"show-idiom", "abc"}).status, 2);
}

TEST_F(CliTest, HelpExplainsEveryCommand) {
    const Result result = run({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* word : {"pinyin", "chars", "radical", "strokes", "combined", "idiom", "show",
                             "show-idiom", "--show", "--data", "--keywords", "--range"}) {
        EXPECT_NE(result.out.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(run({"idiom", "-h"}).status, 0);
    EXPECT_EQ(run({"--version"}).out.rfind("lexomir-cli ", 0), 0u);
}

TEST_F(CliTest, DataOptionOverridesTheDefaultFolder) {
    const Result result = cli::run({"--data", folder->path().string(), "pinyin", "guo"},
                                   "/nonexistent-lexomir-folder");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "2\t国\tguo\n共找到 1 个汉字！\n");
}

TEST(CliFailureTest, MissingIndexFileIsAFailureNamingTheFile) {
    TempFolder empty;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"pinyin", "zh"}, {"idiom", "爱"}}) {
        const Result result = run(args, empty.path());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(empty.path().string()), std::string::npos) << result.err;
    }
}

TEST(CliFailureTest, ShortIndexFileIsAFailureNotAnEmptyResult) {
    TempFolder data;
    lexomir::testing::writeXinHuaIndex(data / std::string(kXinHuaIndexFile),
                                       {{"中", "zhong", "丨", 4}}, 10);
    const Result result = run({"pinyin", "zhong"}, data.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(kXinHuaIndexFile), std::string::npos) << result.err;
}

TEST(CliFailureTest, MissingOrBrokenDatabaseIsADatabaseFailure) {
    TempFolder data;
    lexomir::testing::writeCliFixture(data.path());
    std::filesystem::remove(data / std::string(kXinHuaDatabaseFile));
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", "1"},
                                                 {"combined", "--keywords", "水", "--range", "2"},
                                                 {"--show", "pinyin", "zhong"}}) {
        const Result result = run(args, data.path());
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("database error"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(kXinHuaDatabaseFile), std::string::npos) << result.err;
    }
    lexomir::testing::executeSql(data / std::string(kChengYuDatabaseFile), "drop table ChengYu");
    const Result idioms = run({"idiom", "爱"}, data.path());
    EXPECT_EQ(idioms.status, 1);
    EXPECT_NE(idioms.err.find("no such table"), std::string::npos) << idioms.err;
}

// A page that a lookup reaches is damaged: SQLite's error, never "no record".
TEST(CliFailureTest, ADamagedPageIsADatabaseFailureNotAMissingRecord) {
    TempFolder data;
    lexomir::testing::writeCliFixture(data.path());
    lexomir::testing::spoilTheRootPageOf(data / std::string(kXinHuaDatabaseFile), "xhzd");
    lexomir::testing::spoilTheRootPageOf(data / std::string(kChengYuDatabaseFile), "ChengYu");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", "1"},
                                                 {"show-idiom", "1"},
                                                 {"--show", "pinyin", "x"},
                                                 {"--json", "show", "1"}}) {
        const Result result = run(args, data.path());
        EXPECT_EQ(result.status, 1) << args.back();
        EXPECT_NE(result.err.find("database disk image is malformed"), std::string::npos)
            << result.err;
        EXPECT_EQ(result.err.find("no "), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace lexomir::cli
