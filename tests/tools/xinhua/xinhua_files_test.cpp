#include "xinhua_files.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gbk_codec.h"
#include "index_record_format.h"
#include "xinhua_fixture.h"
#include "xinhua_record.h"

namespace lexomir::xinhua {
namespace {

namespace fs = std::filesystem;
using test::source;

BuildResult smallBuild() {
    BuildOptions options;
    options.recordCount = 3;
    options.minimumAgreementPercent = 0;
    return buildXinHua(
        {source("中", "zhōng/zhong/1 zhòng/zhong/4", 4, "丨", "kangxi:丨", false, 1, "khk",
                "central", "zhōng：middle<br>简体：中"),
         source("丁", "dīng/ding/1 zhēng/zheng/1", 2, "一", "kangxi:一", false, 2, "sgh",
                "male adult", ""),
         source("笑", "xiào/xiao/4", 10, "竹", "kangxi:竹", false, 3, "ttdu", "", "x")},
        options);
}

class TempDir {
  public:
    TempDir() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_path =
            fs::temp_directory_path() / (std::string("lexomir-xinhua-") + std::to_string(getpid()) +
                                         "-" + info->test_suite_name() + "-" + info->name());
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

  private:
    fs::path m_path;
};

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(EncodeRecordTest, ReadsBackThroughTheRecordLayout) {
    const BuildResult result = smallBuild();
    const XinHuaEntry& ding = result.entries[0];
    ASSERT_EQ(ding.zi, "丁");
    const XinHuaRecordBytes bytes = encodeRecord(ding);
    const XinHuaRecord record(bytes.data());
    EXPECT_EQ(record.character(), utf8ToGbk("丁"));
    EXPECT_EQ(record.pinyin(), "ding,zheng");
    EXPECT_EQ(record.radical(), utf8ToGbk("一"));
    EXPECT_EQ(record.strokes(), 2u);
    // Each text field ends in a NUL inside its width, and the rest is zeros.
    EXPECT_EQ(bytes[xinhua_record::kCharacterOffset + 2], '\0');
    EXPECT_EQ(bytes[xinhua_record::kRadicalOffset + 2], '\0');
    EXPECT_TRUE(
        std::all_of(bytes.begin() + xinhua_record::kPinyinOffset + 10,
                    bytes.begin() + xinhua_record::kPinyinOffset + xinhua_record::kPinyinWidth,
                    [](char c) { return c == '\0'; }));
    EXPECT_TRUE(std::all_of(bytes.begin() + xinhua_record::kTailOffset, bytes.end(),
                            [](char c) { return c == '\0'; }));
}

TEST(EncodeRecordTest, NineteenBytePinyinFillsTheFieldUpToItsNul) {
    XinHuaEntry entry = smallBuild().entries[0];
    entry.pinyinGbk = "aaaa,bbbb,cccc,dddd";
    const XinHuaRecordBytes bytes = encodeRecord(entry);
    EXPECT_EQ(XinHuaRecord(bytes.data()).pinyin(), entry.pinyinGbk);
    EXPECT_EQ(bytes[xinhua_record::kPinyinOffset + xinhua_record::kPinyinWidth - 1], '\0');
}

struct BadEntryCase {
    const char* name;
    void (*spoil)(XinHuaEntry&);
};

class RefusedEntryTest : public testing::TestWithParam<BadEntryCase> {};

TEST_P(RefusedEntryTest, IsNotEncoded) {
    XinHuaEntry entry = smallBuild().entries[0];
    GetParam().spoil(entry);
    EXPECT_THROW(encodeRecord(entry), BuildError);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RefusedEntryTest,
    testing::Values(
        BadEntryCase{"PinyinTwentyBytes",
                     [](XinHuaEntry& e) { e.pinyinGbk = "aaaa,bbbb,cccc,ddddd"; }},
        BadEntryCase{"PinyinEmpty", [](XinHuaEntry& e) { e.pinyinGbk.clear(); }},
        BadEntryCase{"PinyinUpperCase", [](XinHuaEntry& e) { e.pinyinGbk = "Ding"; }},
        BadEntryCase{"PinyinDoubleComma", [](XinHuaEntry& e) { e.pinyinGbk = "ding,,zheng"; }},
        BadEntryCase{"CharacterAscii", [](XinHuaEntry& e) { e.ziGbk = "ab"; }},
        BadEntryCase{"CharacterThreeBytes",
                     [](XinHuaEntry& e) {
                         e.ziGbk = utf8ToGbk("丁");
                         e.ziGbk += 'a';
                     }},
        BadEntryCase{"RadicalNotInTable", [](XinHuaEntry& e) { e.radicalGbk = utf8ToGbk("丁"); }},
        BadEntryCase{"NoStrokes", [](XinHuaEntry& e) { e.strokes = 0; }}),
    [](const testing::TestParamInfo<BadEntryCase>& info) { return info.param.name; });

TEST(WriteXinHuaDatTest, WritesOneRecordPerEntryInOrder) {
    const TempDir dir;
    const BuildResult result = smallBuild();
    writeXinHuaDat(result.entries, dir.path() / "XinHua.dat");
    const std::string bytes = readBytes(dir.path() / "XinHua.dat");
    ASSERT_EQ(bytes.size(), result.entries.size() * xinhua_record::kSize);
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        const XinHuaRecord record(bytes.data() + i * xinhua_record::kSize);
        EXPECT_EQ(record.character(), result.entries[i].ziGbk) << "record " << i + 1;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "XinHua.dat.tmp"));
}

TEST(WriteXinHuaDatTest, LeavesTheOldFileWhenARecordIsRefused) {
    const TempDir dir;
    const fs::path file = dir.path() / "XinHua.dat";
    std::ofstream(file) << "old";
    std::vector<XinHuaEntry> entries = smallBuild().entries;
    entries[2].pinyinGbk = std::string(xinhua_record::kPinyinWidth, 'a');
    EXPECT_THROW(writeXinHuaDat(entries, file), BuildError);
    EXPECT_EQ(readBytes(file), "old");
}

struct Row {
    sqlite3_int64 id;
    std::string zi, pinyin, py, bushou;
    int bihua;
    std::string wubi, jijie, xiangjie;
};

std::vector<Row> readRows(const fs::path& file) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT id, zi, pinyin, py, bushou, bihua, wubi, jijie, xiangjie "
                                 "FROM xhzd ORDER BY id",
                                 -1, &statement, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    std::vector<Row> rows;
    const auto text = [&](int column) {
        const auto* value = sqlite3_column_text(statement, column);
        return std::string(value ? reinterpret_cast<const char*>(value) : "");
    };
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        rows.push_back({sqlite3_column_int64(statement, 0), text(1), text(2), text(3), text(4),
                        sqlite3_column_int(statement, 5), text(6), text(7), text(8)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

TEST(WriteXinHuaDbTest, RowIdIsTheRecordNumber) {
    const TempDir dir;
    const BuildResult result = smallBuild();
    writeXinHuaDb(result.entries, dir.path() / "XinHua.db");
    const std::vector<Row> rows = readRows(dir.path() / "XinHua.db");
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].id, static_cast<sqlite3_int64>(i + 1));
        EXPECT_EQ(rows[i].zi, result.entries[i].zi);
    }
    const Row& zhong = rows[2];
    EXPECT_EQ(zhong.zi, "中");
    EXPECT_EQ(zhong.pinyin, "zhōng,zhòng");
    EXPECT_EQ(zhong.py, "zhong");
    EXPECT_EQ(zhong.bushou, "丨");
    EXPECT_EQ(zhong.bihua, 4);
    EXPECT_EQ(zhong.wubi, "khk");
    EXPECT_EQ(zhong.jijie, "central");
    EXPECT_EQ(zhong.xiangjie, "zhōng：middle<br>简体：中");
    EXPECT_FALSE(fs::exists(dir.path() / "XinHua.db.tmp"));
}

TEST(WriteXinHuaDbTest, ReplacesAnEarlierDatabase) {
    const TempDir dir;
    const fs::path file = dir.path() / "XinHua.db";
    std::vector<XinHuaEntry> entries = smallBuild().entries;
    writeXinHuaDb(entries, file);
    entries.pop_back();
    writeXinHuaDb(entries, file);
    EXPECT_EQ(readRows(file).size(), 2u);
}

TEST(WriteXinHuaDbTest, FailsOnAFolderThatDoesNotExist) {
    const TempDir dir;
    EXPECT_THROW(writeXinHuaDb(smallBuild().entries, dir.path() / "missing" / "XinHua.db"),
                 BuildError);
}

}  // namespace
}  // namespace lexomir::xinhua
