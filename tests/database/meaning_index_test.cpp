#include "meaning_index.h"

#include <gtest/gtest.h>

#include <optional>

#include "data_folder.h"
#include "dictionary_database.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "named_case.h"

namespace lexomir {
namespace {

struct ListCase : testing::NamedCase {
    std::string blob;
    std::optional<std::vector<std::int32_t>> ids;
};

class RecordListTest : public ::testing::TestWithParam<ListCase> {};

// A list as the builder writes it reads back; a damaged one is refused, never
// read as some other list.
TEST_P(RecordListTest, DecodesWhatWasWrittenAndRefusesTheRest) {
    const ListCase& c = GetParam();
    EXPECT_EQ(decodeRecordList(c.blob, 20823), c.ids);
    if (c.ids) {
        EXPECT_EQ(encodeRecordList(*c.ids), c.blob);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blobs, RecordListTest,
    ::testing::Values(ListCase{"Empty", "", std::vector<std::int32_t>{}},
                      ListCase{"SmallSteps", "\x01\x01\x7f", std::vector<std::int32_t>{1, 2, 129}},
                      ListCase{"TwoByteStep", "\x05\x80\x01", std::vector<std::int32_t>{5, 133}},
                      ListCase{"LastRecord", "\xd7\xa2\x01", std::vector<std::int32_t>{20823}},
                      ListCase{"PastTheLastRecord", "\xd8\xa2\x01", std::nullopt},
                      ListCase{"NumberLeftOpen", "\x01\x80", std::nullopt},
                      ListCase{"ZeroStep", std::string("\x03\x00", 2), std::nullopt},
                      ListCase{"SixBytes", "\x80\x80\x80\x80\x80\x01", std::nullopt}),
    testing::CaseName());

// A damaged list in the file is the database's error, not an empty answer.
TEST(MeaningIndexTest, ADamagedListIsADatabaseError) {
    testing::TempFolder folder;
    const auto file = folder / std::string(kXinHuaDatabaseFile);
    testing::writeXinHuaDatabase(file, {{1, "水", "shuǐ", "shui", "水", 4, "iiii", "水", "河"}});
    testing::executeSql(file,
                        "create table meaning_index (character text primary key, jijie blob, "
                        "xiangjie blob); insert into meaning_index values ('水', x'0180', x'');");
    Connection connection(folder.path());
    Query query(connection);
    connection.select(DictionaryDatabase::XinHua);
    const MeaningFilter filter = makeMeaningFilter(query, {utf8ToGbk("水")}, 1);
    try {
        filter(1);
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.reason(), "the meaning index is damaged");
    }
}

}  // namespace
}  // namespace lexomir
