#include "dictionary_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "character_filters.h"
#include "data_folder.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "named_case.h"

namespace lexomir {
namespace {

using testing::ChengYuRow;
using testing::TempFolder;
using testing::XinHuaRow;

const std::string kZhongGbk = "\xD6\xD0";  // 中
const std::string kShuiGbk = "\xCB\xAE";   // 水

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeXinHuaDatabase(
            folder / std::string(kXinHuaDatabaseFile),
            {
                {1, "中", "zhōng,zhòng", "zhong,zhong", "丨", 4, "khk", "middle", "a<br>b"},
                {2, "水", "shuǐ", "shui", "水", std::nullopt, "iiii", std::nullopt, std::nullopt},
            });
        testing::writeChengYuDatabase(
            folder / std::string(kChengYuDatabaseFile),
            {{7, "百战不殆", "bǎi zhàn bù dài", "每次打仗都不失败。", "《孙子·谋攻》", ""}});
    }

    TempFolder folder;
    Connection connection{folder.path()};
    Query query{connection};
};

TEST_F(DatabaseTest, LooksUpACharacterRowAndHandsOutGbk) {
    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(1);
    ASSERT_TRUE(query.hasRow());
    EXPECT_EQ(query.text("zi"), kZhongGbk);
    EXPECT_EQ(query.utf8("zi"), "中");
    EXPECT_EQ(query.text("pinyin"), utf8ToGbk("zhōng,zhòng"));
    EXPECT_EQ(query.integer("bihua"), 4);
    EXPECT_EQ(query.text("BiHua"), "4") << "column names are not case-sensitive";

    const CharacterEntry entry = readCharacterEntry(query);
    EXPECT_EQ(entry.zi, kZhongGbk);
    EXPECT_EQ(entry.py, "zhong,zhong");
    EXPECT_EQ(entry.bushou, "\xD8\xAD");
    EXPECT_EQ(entry.bihua, 4);
    EXPECT_EQ(entry.wubi, "khk");
    EXPECT_EQ(entry.jijie, "middle");
    EXPECT_EQ(entry.xiangjie, "a<br>b");
}

TEST_F(DatabaseTest, NullsReadAsEmptyTextAndZero) {
    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(2);
    ASSERT_TRUE(query.hasRow());
    EXPECT_EQ(query.text("zi"), kShuiGbk);
    EXPECT_EQ(query.integer("bihua"), 0);
    EXPECT_EQ(query.text("jijie"), "");
    EXPECT_EQ(query.utf8("xiangjie"), "");
}

TEST_F(DatabaseTest, MissingRowReadsAsEmptyAndDoesNotStickToTheNextLookup) {
    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(1);
    query.lookUp(99);
    EXPECT_FALSE(query.hasRow());
    const CharacterEntry entry = readCharacterEntry(query);
    EXPECT_EQ(entry.zi, "");
    EXPECT_EQ(entry.bihua, 0);
    EXPECT_EQ(entry.xiangjie, "");

    query.lookUp(2);
    EXPECT_TRUE(query.hasRow());
    EXPECT_EQ(query.text("zi"), kShuiGbk);
}

TEST_F(DatabaseTest, IdiomRowsComeFromTheIdiomDatabase) {
    connection.select(DictionaryDatabase::ChengYu);
    query.lookUp(7);
    const IdiomEntry entry = readIdiomEntry(query);
    EXPECT_EQ(entry.ChengYu, utf8ToGbk("百战不殆"));
    EXPECT_EQ(entry.PinYin, utf8ToGbk("bǎi zhàn bù dài"));
    EXPECT_EQ(entry.ChuChu, utf8ToGbk("《孙子·谋攻》"));
    EXPECT_EQ(entry.LiZi, "");
}

TEST_F(DatabaseTest, SwitchingDatabasesReprepares) {
    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(1);
    EXPECT_EQ(query.text("zi"), kZhongGbk);

    connection.select(DictionaryDatabase::ChengYu);
    query.lookUp(7);
    EXPECT_EQ(query.text("ChengYu"), utf8ToGbk("百战不殆"));

    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(2);
    EXPECT_EQ(query.text("zi"), kShuiGbk);
    EXPECT_THROW(query.text("ChengYu"), DatabaseError);
}

TEST_F(DatabaseTest, TheQueryEndsItsStatementAndTheOwnerClosesTheConnection) {
    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(1);
    query.finalize();
    EXPECT_TRUE(connection.isOpen());
    EXPECT_FALSE(query.hasRow());
    EXPECT_EQ(query.text("zi"), "");
    connection.close();
    EXPECT_FALSE(connection.isOpen());

    query.lookUp(1);
    EXPECT_EQ(query.text("zi"), kZhongGbk);
}

TEST_F(DatabaseTest, ADatabaseUseClosesTheConnectionOnEveryWayOut) {
    for (const bool failing : {false, true}) {
        try {
            const DatabaseUse use(connection, query, DictionaryDatabase::XinHua);
            query.lookUp(1);
            EXPECT_TRUE(connection.isOpen());
            if (failing) (void)query.text("shiyi");
        } catch (const DatabaseError&) {
            EXPECT_TRUE(failing);
        }
        EXPECT_FALSE(connection.isOpen()) << failing;
        EXPECT_FALSE(query.hasRow()) << failing;
    }
}

TEST_F(DatabaseTest, NothingIsOpenedBeforeTheFirstLookup) {
    connection.select(DictionaryDatabase::XinHua);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(connection.selectedFile(), folder / std::string(kXinHuaDatabaseFile));
    EXPECT_EQ(query.text("zi"), "");
}

TEST_F(DatabaseTest, MissingColumnIsAnEngineErrorNamingTheColumn) {
    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(1);
    try {
        (void)query.text("shiyi");
        FAIL() << "no error";
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("shiyi"), std::string::npos) << error.what();
    }
    // Even with no row the column is checked.
    query.lookUp(99);
    EXPECT_THROW((void)query.integer("shiyi"), DatabaseError);
    EXPECT_EQ(query.text("zi"), "");
}

// Each case breaks the database of one kind; the next select and lookup of a
// sound database must work again.
struct BrokenDatabaseCase : testing::NamedCase {
    void (*breakIt)(const std::filesystem::path& file);
    const char* messagePart;
};

class BrokenDatabaseTest : public DatabaseTest,
                           public ::testing::WithParamInterface<BrokenDatabaseCase> {};

TEST_P(BrokenDatabaseTest, RaisesDatabaseErrorAndRecovers) {
    const std::filesystem::path idioms = folder / std::string(kChengYuDatabaseFile);
    GetParam().breakIt(idioms);

    connection.select(DictionaryDatabase::ChengYu);
    try {
        query.lookUp(7);
        FAIL() << "no error";
    } catch (const DatabaseError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(GetParam().messagePart), std::string::npos) << message;
        EXPECT_NE(message.find(kChengYuDatabaseFile), std::string::npos) << message;
        EXPECT_NE(error.code(), SQLITE_OK);
    }
    EXPECT_FALSE(query.hasRow());

    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(1);
    EXPECT_EQ(query.text("zi"), kZhongGbk);

    // The same broken database fails the same way a second time.
    connection.select(DictionaryDatabase::ChengYu);
    EXPECT_THROW(query.lookUp(7), DatabaseError);
}

void removeFile(const std::filesystem::path& file) {
    std::filesystem::remove(file);
}

void overwriteWithGarbage(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << std::string(4096, 'x');
}

void dropTable(const std::filesystem::path& file) {
    testing::executeSql(file, "drop table ChengYu; create table other (id integer);");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BrokenDatabaseTest,
    ::testing::Values(BrokenDatabaseCase{"MissingFile", removeFile, "unable to open"},
                      BrokenDatabaseCase{"CorruptFile", overwriteWithGarbage, "not a database"},
                      BrokenDatabaseCase{"MissingTable", dropTable, "no such table"}),
    testing::CaseName());

TEST_F(DatabaseTest, MissingFileIsNotCreated) {
    const std::filesystem::path file = folder / std::string(kChengYuDatabaseFile);
    std::filesystem::remove(file);
    connection.select(DictionaryDatabase::ChengYu);
    EXPECT_THROW(query.lookUp(1), DatabaseError);
    EXPECT_FALSE(std::filesystem::exists(file));

    // Once the file is there, the same selection works.
    testing::writeChengYuDatabase(file, {{1, "爱不释手", "", "", "", ""}});
    query.lookUp(1);
    EXPECT_EQ(query.text("ChengYu"), utf8ToGbk("爱不释手"));
}

TEST_F(DatabaseTest, ReopenedConnectionIsNotConfusedWithTheOldOne) {
    connection.select(DictionaryDatabase::XinHua);
    query.lookUp(1);
    connection.close();  // behind the query's back
    query.lookUp(2);
    EXPECT_EQ(query.text("zi"), kShuiGbk);
}

// Lookups in any order must find exactly the row with the asked id, whether
// the query steps forward or searches.
struct LookupSequence : testing::NamedCase {
    std::vector<std::int32_t> ids;
};

class LookupOrderTest : public ::testing::TestWithParam<LookupSequence> {};

TEST_P(LookupOrderTest, EveryLookupFindsItsOwnRowOrNone) {
    const std::vector<std::int32_t> present = {1, 2, 3, 5, 8, 9, 20};
    TempFolder folder;
    std::vector<XinHuaRow> rows;
    for (std::int32_t id : present) {
        rows.push_back({id, "", "", "py" + std::to_string(id), "", id, "", "", ""});
    }
    testing::writeXinHuaDatabase(folder / std::string(kXinHuaDatabaseFile), rows);
    Connection connection(folder.path());
    Query query(connection);
    connection.select(DictionaryDatabase::XinHua);
    for (std::int32_t id : GetParam().ids) {
        query.lookUp(id);
        const bool exists = std::find(present.begin(), present.end(), id) != present.end();
        EXPECT_EQ(query.hasRow(), exists) << "id " << id;
        EXPECT_EQ(query.integer("bihua"), exists ? id : 0) << "id " << id;
        EXPECT_EQ(query.text("py"), exists ? "py" + std::to_string(id) : "") << "id " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Orders, LookupOrderTest,
    ::testing::Values(LookupSequence{"Ascending", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 19, 20, 21}},
                      LookupSequence{"SmallGaps", {1, 3, 5, 7, 9, 11}},
                      LookupSequence{"LargeGaps", {2, 9, 20, 1}},
                      LookupSequence{"Descending", {21, 20, 9, 8, 5, 3, 2, 1, 0}},
                      LookupSequence{"Repeated", {5, 5, 4, 4, 5, 3, 3}},
                      LookupSequence{"PastTheEndAndBack", {20, 21, 22, 23, 1, 2}},
                      LookupSequence{"Negative", {-1, 1, -5, 2}}),
    testing::CaseName());

// --- The meaning filter ---------------------------------------------------

struct MeaningCase : testing::NamedCase {
    std::vector<const char*> keywords;  // UTF-8
    int range;
    std::int32_t id;
    bool found;
};

class MeaningFilterAgreement : public ::testing::TestWithParam<MeaningCase> {
  protected:
    static void SetUpTestSuite() {
        folder = new TempFolder;
        testing::writeXinHuaDatabase(*folder / std::string(kXinHuaDatabaseFile),
                                     {
                                         {1, "中", "", "", "", 4, "", "中国的中", "水中"},
                                         {2, "水", "", "", "", 4, "", "water 水", "洪水<br>火"},
                                         {3, "火", "", "", "", 4, "", "fire", "火山"},
                                         {4, "空", "", "", "", 8, "", std::nullopt, std::nullopt},
                                         {5, "木", "", "", "", 4, "", "", "树木"},
                                     });
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }
    static TempFolder* folder;
};
TempFolder* MeaningFilterAgreement::folder = nullptr;

TEST_P(MeaningFilterAgreement, AgreesWithTheGbkReference) {
    const MeaningCase& c = GetParam();
    std::vector<std::string> keywords;
    for (const char* keyword : c.keywords) keywords.push_back(utf8ToGbk(keyword));

    Connection connection(folder->path());
    Query query(connection);
    connection.select(DictionaryDatabase::XinHua);
    const MeaningFilter filter = makeMeaningFilter(query, keywords, c.range);
    EXPECT_EQ(filter(c.id), c.found);

    query.lookUp(c.id);
    const bool reference =
        anyKeywordOccurs(keywords, query.text("jijie"), query.text("xiangjie"), c.range);
    EXPECT_EQ(reference, c.found) << "the reference disagrees with the expected result";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeaningFilterAgreement,
    ::testing::Values(MeaningCase{"BriefHit", {"中国"}, 1, 1, true},
                      MeaningCase{"DetailedOnlyMissesInBriefRange", {"火山"}, 1, 3, false},
                      MeaningCase{"DetailedOnlyHitsInWideRange", {"火山"}, 2, 3, true},
                      MeaningCase{"SecondKeywordHits", {"木", "fire"}, 1, 3, true},
                      MeaningCase{"NoKeywordHits", {"木", "金"}, 2, 3, false},
                      MeaningCase{"KeywordAfterBreakTag", {"火"}, 2, 2, true},
                      MeaningCase{"AsciiKeyword", {"water"}, 1, 2, true},
                      MeaningCase{"CaseMatters", {"Water"}, 2, 2, false},
                      // 中国 is D6 D0 B9 FA in GBK; D0 B9 is 泄, which must not match.
                      MeaningCase{"NoMatchAcrossCharacterBoundary", {"泄"}, 2, 1, false},
                      MeaningCase{"NullExplanations", {"水"}, 2, 4, false},
                      MeaningCase{"MissingRow", {"水"}, 2, 42, false},
                      MeaningCase{"EmptyBriefDetailedHit", {"树"}, 2, 5, true}),
    testing::CaseName());

TEST_F(DatabaseTest, MeaningFilterReusesOneConnectionAcrossLookups) {
    connection.select(DictionaryDatabase::XinHua);
    const MeaningFilter filter = makeMeaningFilter(query, {"middle"}, 1);
    EXPECT_TRUE(filter(1));
    EXPECT_FALSE(filter(2));
    EXPECT_TRUE(filter(1));
    EXPECT_TRUE(connection.isOpen());
}

TEST_F(DatabaseTest, MeaningFilterWithAKeywordThatIsNotGbkStillAgrees) {
    // A lone lead byte has no UTF-8 form; the result must still be the
    // reference's.
    const std::vector<std::string> keywords = {"\xD6"};
    connection.select(DictionaryDatabase::XinHua);
    const MeaningFilter filter = makeMeaningFilter(query, keywords, 2);
    query.lookUp(1);
    const bool reference =
        anyKeywordOccurs(keywords, query.text("jijie"), query.text("xiangjie"), 2);
    EXPECT_EQ(filter(1), reference);
}

}  // namespace
}  // namespace lexomir
