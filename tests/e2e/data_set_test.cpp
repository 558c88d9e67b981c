// Checks over the generated data set in the build's dat folder.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>

#include "character_filters.h"
#include "data_folder.h"
#include "dictionary_database.h"
#include "gbk_codec.h"
#include "gbk_text.h"
#include "idiom_search.h"
#include "index_record_format.h"
#include "search_plans.h"
#include "traditional_chinese.h"
#include "xinhua_scan.h"

namespace lexomir {
namespace {

const std::filesystem::path kData = LEXOMIR_DATA_DIR;

std::int64_t singleNumber(std::string_view file, const char* sql) {
    sqlite3* db = nullptr;
    std::int64_t value = -1;
    if (sqlite3_open_v2((kData / file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            value = sqlite3_column_int64(statement, 0);
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

TEST(DataSetTest, IndexFilesHoldExactlyTheirRecords) {
    EXPECT_EQ(std::filesystem::file_size(kData / kXinHuaIndexFile),
              xinhua_record::kSize * xinhua_record::kRecordCount);
    EXPECT_EQ(std::filesystem::file_size(kData / kChengYuIndexFile),
              chengyu_record::kSize * chengyu_record::kRecordCount);
}

TEST(DataSetTest, TablesHoldOneRowPerRecordNumberedFromOne) {
    const char* xinhua = "select count(*) = max(id) and min(id) = 1 and count(*) = %d from xhzd";
    char sql[128];
    std::snprintf(sql, sizeof sql, xinhua, xinhua_record::kRecordCount);
    EXPECT_EQ(singleNumber(kXinHuaDatabaseFile, sql), 1);
    const char* chengyu =
        "select count(*) = max(id) and min(id) = 1 and count(*) = %d from ChengYu";
    std::snprintf(sql, sizeof sql, chengyu, chengyu_record::kRecordCount);
    EXPECT_EQ(singleNumber(kChengYuDatabaseFile, sql), 1);
}

TEST(DataSetTest, EveryCharacterRecordMatchesItsRow) {
    IndexFile file = openXinHuaIndex(kData);
    ASSERT_FALSE(file.rewind().has_value());
    Connection connection(kData);
    Query query(connection);
    connection.select(DictionaryDatabase::XinHua);
    int mismatches = 0;
    for (std::int32_t k = 1; k <= file.recordCount(); ++k) {
        const char* bytes = file.nextRecord();
        ASSERT_NE(bytes, nullptr) << "record " << k;
        const XinHuaRecord record(bytes);
        query.lookUp(k);
        const bool agrees = query.hasRow() && query.text("zi") == record.character() &&
                            query.integer("bihua") == static_cast<int>(record.strokes());
        if (!agrees && ++mismatches <= 5) {
            ADD_FAILURE() << "record " << k << " (" << gbkToUtf8(record.character())
                          << ") disagrees with row " << k << " (" << gbkToUtf8(query.text("zi"))
                          << ")";
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(DataSetTest, EveryIdiomRecordMatchesItsRow) {
    IndexFile file = openChengYuIndex(kData);
    FoundList found;
    // A lone wildcard finds every record, in file order.
    const ScanOutcome outcome = scanChengYu(file, buildIdiomPattern("="), {}, found);
    ASSERT_EQ(outcome.end, ScanEnd::Completed);
    ASSERT_EQ(found.size(), static_cast<std::size_t>(chengyu_record::kRecordCount));

    Connection connection(kData);
    Query query(connection);
    connection.select(DictionaryDatabase::ChengYu);
    int mismatches = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        ASSERT_EQ(found[i].record, static_cast<std::int32_t>(i + 1));
        query.lookUp(found[i].record);
        if ((!query.hasRow() || query.text("ChengYu") != found[i].text) && ++mismatches <= 5) {
            ADD_FAILURE() << "record " << found[i].record << " (" << gbkToUtf8(found[i].text)
                          << ") disagrees with its row (" << gbkToUtf8(query.text("ChengYu"))
                          << ")";
        }
    }
    EXPECT_EQ(mismatches, 0);
}

std::string foundCharacters(std::string_view typedUtf8) {
    Connection connection(kData);
    Query query(connection);
    const DatabaseUse databaseUse(connection, query, DictionaryDatabase::XinHua);
    const CharacterSearchPlan plan = planTypedSearch(
        utf8ToGbk(typedUtf8),
        [&](const PinyinSpelling& spelling) { return makeToneFilter(query, spelling); });
    IndexFile file = openXinHuaIndex(kData);
    FoundList VecXinHua;
    const ScanOutcome outcome =
        scanXinHua(file, std::get<CharacterSearch>(plan).filter, {}, VecXinHua);
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    return gbkToUtf8(joinedTexts(VecXinHua));
}

TEST(DataSetTest, ZhongIsFoundByItsPinyinAndByTypingIt) {
    EXPECT_NE(foundCharacters("zhong").find("中"), std::string::npos);
    const std::string typed = foundCharacters("中国");
    EXPECT_TRUE(typed == "中国" || typed == "国中") << typed;
}

TEST(DataSetTest, PinyinFindsWhatItsFoldedLettersFindInTheToneGiven) {
    EXPECT_EQ(foundCharacters("Lü"), foundCharacters("lv"));
    const std::string zhong1 = foundCharacters("zhōng");
    EXPECT_EQ(foundCharacters("zhong1"), zhong1);
    EXPECT_NE(zhong1.find("中"), std::string::npos);
    EXPECT_LT(zhong1.size(), foundCharacters("Zhong").size());
    // 重 reads zhòng and chóng.
    EXPECT_NE(foundCharacters("zhong4").find("重"), std::string::npos);
    EXPECT_EQ(foundCharacters("chong4").find("重"), std::string::npos);
}

std::vector<std::string> foundIdioms(std::string_view inputUtf8) {
    IndexFile file = openChengYuIndex(kData);
    TraditionalToSimplified converter;
    const IdiomSearchPlan plan = planIdiomSearch(utf8ToGbk(inputUtf8), [&](std::string_view text) {
        return simplifyForIdiomIndex(text, file, converter);
    });
    FoundList found;
    const ScanOutcome outcome = scanChengYu(file, std::get<std::string>(plan), {}, found);
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    std::vector<std::string> idioms;
    for (const FoundEntry& entry : found) idioms.push_back(gbkToUtf8(entry.text));
    return idioms;
}

bool contains(const std::vector<std::string>& list, std::string_view wanted) {
    return std::find(list.begin(), list.end(), wanted) != list.end();
}

TEST(DataSetTest, WildcardPatternFindsTheHelpTextsExample) {
    const std::vector<std::string> found = foundIdioms("百战不=");
    EXPECT_TRUE(contains(found, "百战不殆"));
    for (const std::string& idiom : found) EXPECT_EQ(idiom.rfind("百战不", 0), 0u) << idiom;
}

TEST(DataSetTest, TraditionalCharactersFindTheSimplifiedIdiom) {
    for (const char* typed : {"百戰不殆", "百戰不＝", "百战不＝"}) {
        EXPECT_TRUE(contains(foundIdioms(typed), "百战不殆")) << typed;
    }
    // t2s alone would make it 旋干转坤; the index holds 乾.
    EXPECT_TRUE(contains(foundIdioms("旋乾轉坤"), "旋乾转坤"));
}

TEST(DataSetTest, AiFindsOnlyIdiomsBeginningWithAi) {
    const std::vector<std::string> found = foundIdioms("爱");
    EXPECT_TRUE(contains(found, "爱不释手"));
    EXPECT_TRUE(contains(found, "爱屋及乌"));
    for (const std::string& idiom : found) EXPECT_EQ(idiom.rfind("爱", 0), 0u) << idiom;
}

struct MeaningCase {
    const char* name;
    const char* keywords;  // as typed into 包含字意
    int range;
};

void PrintTo(const MeaningCase& c, std::ostream* out) {
    *out << c.name;
}

class MeaningAgreementTest : public ::testing::TestWithParam<MeaningCase> {};

// The meaning search through the index and row by row in UTF-8, against the
// character-aligned GBK reference, record for record.
TEST_P(MeaningAgreementTest, EveryWayOfSearchingFindsWhatTheReferenceFinds) {
    const MeaningCase& c = GetParam();
    const std::vector<std::string> keywords = buildKeywordList(utf8ToGbk(c.keywords));
    ASSERT_FALSE(keywords.empty());

    Connection indexed(kData), rowByRow(kData), reference(kData);
    Query indexedQuery(indexed), rowQuery(rowByRow), referenceQuery(reference);
    for (Connection* connection : {&indexed, &rowByRow, &reference})
        connection->select(DictionaryDatabase::XinHua);
    const MeaningFilter viaIndex = makeMeaningFilter(indexedQuery, keywords, c.range);
    const MeaningFilter everyRow =
        makeMeaningFilter(rowQuery, keywords, c.range, MeaningLookup::EveryRow);

    int found = 0, disagreements = 0;
    for (std::int32_t id = 1; id <= xinhua_record::kRecordCount; ++id) {
        referenceQuery.lookUp(id);
        const bool expected = anyKeywordOccurs(keywords, referenceQuery.text("jijie"),
                                               referenceQuery.text("xiangjie"), c.range);
        const bool byIndex = viaIndex(id);
        const bool byRow = everyRow(id);
        found += expected;
        if ((byIndex != expected || byRow != expected) && ++disagreements <= 5) {
            ADD_FAILURE() << "id " << id << ": index " << byIndex << ", rows " << byRow
                          << ", reference " << expected;
        }
    }
    EXPECT_EQ(disagreements, 0);
    EXPECT_GT(found, 0);
}

INSTANTIATE_TEST_SUITE_P(Keywords, MeaningAgreementTest,
                         ::testing::Values(MeaningCase{"OneCharacterBrief", "水", 1},
                                           MeaningCase{"OneCharacterWhole", "水", 2},
                                           MeaningCase{"WordBrief", "河流", 1},
                                           MeaningCase{"WordWhole", "河流", 2},
                                           MeaningCase{"EnglishBrief", "water", 1},
                                           MeaningCase{"EnglishWhole", "water", 2},
                                           MeaningCase{"SeveralBrief", "水  火 山", 1},
                                           MeaningCase{"SeveralWhole", "水  火 山", 2},
                                           MeaningCase{"RepeatedCharacterWhole", "常常", 2},
                                           MeaningCase{"FullWidthBlankInsideWhole", "枳　", 2},
                                           MeaningCase{"MixedWhole", "水 river", 2}),
                         [](const ::testing::TestParamInfo<MeaningCase>& info) {
                             return info.param.name;
                         });

std::string runCli(const std::string& args, int& status) {
    const std::string command =
        std::string("'") + LEXOMIR_CLI_PATH + "' --data '" + kData.string() + "' " + args + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int raw = pclose(pipe);
    status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

TEST(DataSetTest, CommandLineAnswersOnTheRealData) {
    int status = -1;
    const std::string zhong = runCli("pinyin zhong", status);
    EXPECT_EQ(status, 0) << zhong;
    EXPECT_NE(zhong.find("\t中\t"), std::string::npos) << zhong;
    EXPECT_NE(zhong.find("共找到 "), std::string::npos) << zhong;

    const std::string entry = runCli("--show chars 中", status);
    EXPECT_EQ(status, 0) << entry;
    EXPECT_NE(entry.find("汉字：中("), std::string::npos) << entry;
    EXPECT_NE(entry.find("共找到 1 个汉字！"), std::string::npos) << entry;

    const std::string idiom = runCli("--show idiom 百战不=", status);
    EXPECT_EQ(status, 0) << idiom;
    EXPECT_NE(idiom.find("\t百战不殆\t"), std::string::npos) << idiom;
    EXPECT_NE(idiom.find("成语：百战不殆("), std::string::npos) << idiom;

    // Every entry a search shows, as JSON another program reads.
    for (const char* args : {"--json --show pinyin zhong1", "--json --show idiom 百戰不＝"}) {
        const std::string json = runCli(std::string(args) + " | python3 -m json.tool", status);
        EXPECT_EQ(status, 0) << args << json;
        EXPECT_NE(json.find("\"entry\": {"), std::string::npos) << args << json;
    }
}

// Each command's output shows one text and not another.
struct ShownCase {
    const char* args;
    const char* shown;
    const char* wrong;
};

void expectShownNotWrong(std::initializer_list<ShownCase> cases) {
    for (const ShownCase& c : cases) {
        int status = -1;
        const std::string output = runCli(c.args, status);
        EXPECT_EQ(status, 0) << c.args;
        EXPECT_NE(output.find(c.shown), std::string::npos) << c.args << "\n" << output;
        EXPECT_EQ(output.find(c.wrong), std::string::npos) << c.args << "\n" << output;
    }
}

TEST(DataSetTest, EntriesShowStrokeOrderAndTheCliReadsHandwriting) {
    int status = -1;
    const std::string bi = runCli("--show chars 必", status);
    EXPECT_EQ(status, 0) << bi;
    EXPECT_NE(bi.find("笔顺：点、卧钩、点、撇、点\n"), std::string::npos) << bi;
    // Record 1 is a common character, which both sources have.
    const std::string json = runCli("--json show 1 | python3 -m json.tool", status);
    EXPECT_EQ(status, 0) << json;
    EXPECT_NE(json.find("\"strokeOrder\": [\n"), std::string::npos) << json;
    EXPECT_NE(json.find("\"strokePaths\": [\n        \"M "), std::string::npos) << json;

    // 一 and 十 written large and off the origin, y down; then a line that is
    // no JSON array of strokes.
    const auto input = std::filesystem::temp_directory_path() / "lexomir-e2e-handwriting.txt";
    std::ofstream(input) << "[[[110,500],[500,505],[890,500]]]\n"
                            "[[[100,300],[900,300]],[[500,60],[500,560],[505,900]]]\n[[1,2]]\n";
    const std::string written = runCli("handwriting --top 3 < '" + input.string() + "'", status);
    std::filesystem::remove(input);
    EXPECT_EQ(status, 2) << written;
    EXPECT_EQ(written.substr(0, written.find('\n')).substr(0, 3), "一") << written;
    EXPECT_NE(written.find("\n十"), std::string::npos) << written;
    EXPECT_NE(written.find("input line 3"), std::string::npos) << written;
}

// Run-in examples the source lost the colon before: split where the start is
// sure, else left whole, never with a word of the example kept in the
// definition or dropped.
TEST(DataSetTest, RunInExamplesAreSplitWholeOrNotAtAll) {
    expectShownNotWrong({
        {"--show chars 涵", "②很有涵养。③蓄积并保持（水分等）用造林来涵养水源。", "修养②很。"},
        {"--show chars 动", "②用手接触展览品只许看，不许动手。", "只许。"},
        {"--show chars 犹", "犹豫（yóu yù）：迟疑不决意尚犹豫。", "迟疑不决意。"},
        {"--show chars 狼", "形容困苦或受窘的样子十分狼狈。", "它就不能。"},
        {"--show chars 灰", "灰烬（huī jìn）：物品燃烧后的灰和烧剩下的东西。", "烧剩下的。"},
        {"--show idiom 明珠暗投", "不识货的人手里可惜你怀才不遇", "人手里可惜。"},
        {"--show idiom 半生不熟", "没全熟肉煮得半生不熟的，没法吃。", "没全熟肉煮得。"},
    });
}

// What a character entry shows of the character and its words: the gloss of
// the character, not the phrase retold; a word's senses of the reading shown,
// whole and undamaged; CC-CEDICT's references as a reader writes them.
TEST(DataSetTest, CharacterEntriesShowCleanSensesOfTheReadingShown) {
    expectShownNotWrong({
        {"--show chars 人", "人：指人心", "死了，东西还在"},
        {"--show chars 人", "CL:个（gè）", "個|个[ge4]"},
        {"--show chars 着", "汉字：着(", "写作（着书立说）"},
        {"--show chars 没", "没有（méi yǒu）：haven't", "犹没收"},
        {"--show chars 也", "也许（yě xǔ）：副词。表示可能，不肯定。", "天气闷热"},
        {"--show chars 就", "就是（jiù shì）：①用在句末表示肯定", "就是1"},
        {"--show chars 万", "万分（wàn fēn）：副词。非常；极其。", "万分惋"},
        {"--show chars 般", "一般（yī bān）：①一样；同样。", "别和他一般见识"},
    });
}

// An idiom's entry as a reader checks it: the reading by the sense, the
// example moved out of the explanation, Chinese before CC-CEDICT's English.
TEST(DataSetTest, IdiomEntriesReadRight) {
    expectShownNotWrong({
        {"--show idiom 摸不着头脑", "(mō bù zháo tóu nǎo)", "zhe tóu"},
        {"--show idiom 远涉重洋", "(yuǎn shè chóng yáng)", "zhòng yáng"},
        {"--show idiom 提心吊胆", "【释义】：形容十分担心、害怕。\n", "害怕他"},
        {"--show idiom 提心吊胆", "【例子】：他提心吊胆地走过独木桥。", "【例子】：\n"},
        {"--show idiom 唉声叹气", "因烦闷或伤感而叹息。\nsighing", "【释义】：sighing"},
        {"--show idiom 丢盔弃甲", "【例子】：打得敌军丢盔弃甲。", "样子打得"},
    });
}

}  // namespace
}  // namespace lexomir
