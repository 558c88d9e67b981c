// Strokes.db from the builder's table to the reader, and the reader on
// damaged files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "fixture_files.h"
#include "gbk_codec.h"
#include "named_case.h"
#include "stroke_database.h"
#include "strokes_builder.h"
#include "xinhua_record.h"

namespace lexomir::handwriting {
namespace {

using strokes::BuildError;
using strokes::readStrokeTable;
using strokes::StrokeTable;

const std::string kHead = "#source\thanzi-writer-data 2.0.1\nzi\tstrokes\toutlines\tmedians\n";
const std::string kYiRow = "一\t1\tM 10 400 L 900 400 L 900 450 Z\t20,420 880,420\n";
const std::string kShiRow =
    "十\t2\tM 10 400 L 900 400 Z;M 480 800 Q 500 400 480 0 Z\t20,420 880,420;490,790 490,10\n";

StrokeTable table(const std::string& text) {
    std::istringstream in(text);
    return readStrokeTable(in);
}

struct BadTableCase : testing::NamedCase {
    std::string text;
    std::string message;  // part of the refusal
};

class BadStrokeTableTest : public ::testing::TestWithParam<BadTableCase> {};

TEST_P(BadStrokeTableTest, IsRefusedNamingTheLine) {
    try {
        table(GetParam().text);
        FAIL() << "accepted";
    } catch (const BuildError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadStrokeTableTest,
    ::testing::Values(
        BadTableCase{"NoSourceLine", "zi\tstrokes\toutlines\tmedians\n" + kYiRow, "line 1"},
        BadTableCase{"OutOfOrder", kHead + kShiRow + kYiRow, "line 4: 一 is out of code-point"},
        BadTableCase{"TwoCharacters", kHead + "一二\t1\tM 0 0 Z\t1,1\n", "not one character"},
        BadTableCase{"BadPath", kHead + "一\t1\tM 0 0 A 1 1\t1,1\n", "unknown command"},
        BadTableCase{"BadCentreLine", kHead + "一\t1\tM 0 0 Z\t1;1\n", "line 3"},
        BadTableCase{"CountsDiffer", kHead + "一\t2\tM 0 0 Z\t1,1\n", "2 strokes, 1 outlines"}),
    testing::CaseName());

class StrokeDatabaseTest : public ::testing::Test {
  protected:
    std::filesystem::path writeGood() {
        const auto file = m_folder / "Strokes.db";
        strokes::writeStrokesDb(table(kHead + kYiRow + kShiRow), file);
        return file;
    }
    testing::TempFolder m_folder;
};

TEST_F(StrokeDatabaseTest, ReadsWhatTheBuilderWrote) {
    const StrokeDatabase database(writeGood());
    const auto shi = database.lookUp(utf8ToGbk("十"));
    ASSERT_TRUE(shi.has_value());
    ASSERT_EQ(shi->outlines.size(), 2u);
    EXPECT_EQ(shi->outlines[1], "M 480 800 Q 500 400 480 0 Z");
    ASSERT_EQ(shi->medians.size(), 2u);
    EXPECT_FLOAT_EQ(shi->medians[1][1].y, 10);
    EXPECT_FALSE(database.lookUp(utf8ToGbk("二")).has_value());
    EXPECT_NE(database.notice().find("Arphic Public License"), std::string::npos);

    const auto templates =
        database.readTemplates([](const std::string& gbk) { return gbk == utf8ToGbk("一"); });
    ASSERT_EQ(templates.size(), 1u);
    // Screen orientation: y = 900 - y.
    EXPECT_FLOAT_EQ(templates[0].strokes[0][0].y, 480);
}

TEST_F(StrokeDatabaseTest, SameTableSameBytes) {
    const auto first = writeGood();
    const auto second = m_folder / "again.db";
    strokes::writeStrokesDb(table(kHead + kYiRow + kShiRow), second);
    EXPECT_EQ(testing::readFileBytes(first), testing::readFileBytes(second));
}

// A candidate must be a character that a search finds.
TEST_F(StrokeDatabaseTest, KeepsOnlyTheDictionarysCharacters) {
    testing::writeXinHuaIndex(m_folder / "XinHua.dat", {{"十", "shi", "十", 2}},
                              xinhua_record::kRecordCount);
    const StrokeTable kept = strokes::keepingOnly(table(kHead + kYiRow + kShiRow),
                                                  strokes::dictionaryCharacters(m_folder.path()));
    ASSERT_EQ(kept.rows.size(), 1u);
    EXPECT_EQ(kept.rows[0].zi, "十");

    std::filesystem::remove(m_folder / "XinHua.dat");
    EXPECT_THROW(strokes::dictionaryCharacters(m_folder.path()), BuildError);
}

struct DamageCase : testing::NamedCase {
    void (*damage)(const std::filesystem::path&);
    bool failsOnOpen;  // else on reading the character's row
};

class DamagedStrokeDatabaseTest : public StrokeDatabaseTest,
                                  public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedStrokeDatabaseTest, IsAClearErrorNamingTheFile) {
    const auto file = writeGood();
    GetParam().damage(file);
    bool opened = false;
    try {
        const StrokeDatabase database(file);
        opened = true;
        database.lookUp(utf8ToGbk("十"));
        database.readTemplates([](const std::string&) { return true; });
        FAIL() << "no error";
    } catch (const StrokeDataError& error) {
        EXPECT_EQ(opened, !GetParam().failsOnOpen) << error.what();
        EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedStrokeDatabaseTest,
    ::testing::Values(
        DamageCase{{"Missing"}, [](const auto& f) { std::filesystem::remove(f); }, true},
        DamageCase{{"Empty"}, [](const auto& f) { testing::writeFileBytes(f, ""); }, true},
        DamageCase{{"NotADatabase"},
                   [](const auto& f) { testing::writeFileBytes(f, std::string(70000, 'x')); },
                   true},
        DamageCase{{"CutShort"},
                   [](const auto& f) {
                       testing::writeFileBytes(f, testing::readFileBytes(f).substr(0, 70000));
                   },
                   true},
        DamageCase{{"TableMissing"},
                   [](const auto& f) { testing::executeSql(f, "DROP TABLE strokes"); },
                   true},
        DamageCase{{"ColumnMissing"},
                   [](const auto& f) {
                       testing::executeSql(f, "ALTER TABLE strokes DROP COLUMN medians");
                   },
                   true},
        DamageCase{{"CentreLineGarbled"},
                   [](const auto& f) {
                       testing::executeSql(f, "UPDATE strokes SET medians = '1,x' WHERE zi = '十'");
                   },
                   false},
        DamageCase{{"OutlinesAndCentreLinesDiffer"},
                   [](const auto& f) {
                       testing::executeSql(f, "UPDATE strokes SET medians = '1,1' WHERE zi = '十'");
                   },
                   false}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir::handwriting
