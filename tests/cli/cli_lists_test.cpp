// lexomir-cli history and words: the lists the window keeps in lookups.db,
// read from the data folder the command is given.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_app.h"
#include "data_folder.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "lookup_store.h"
#include "named_case.h"

namespace lexomir::cli {
namespace {

using lexomir::testing::TempFolder;

enum class LookupsFile { Kept, Missing, Damaged };

struct ListCase : testing::NamedCase {
    LookupsFile file;
    std::vector<std::string> args;
    int status;
    std::string out;      // exact
    std::string errPart;  // must occur in stderr; "" = stderr empty
};

class CliListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(CliListTest, PrintsTheListOrSaysWhyNot) {
    const ListCase& c = GetParam();
    TempFolder folder;
    const auto file = folder / std::string(kLookupsFile);
    if (c.file == LookupsFile::Kept) {
        LookupStore store(file, StoreAccess::ReadWrite);
        const LookedUpEntry zhong{EntryKind::Character, 1, utf8ToGbk("中"), utf8ToGbk("zhōng"),
                                  "middle"};
        const LookedUpEntry baizhan{EntryKind::Idiom, 2, utf8ToGbk("百战不殆"),
                                    utf8ToGbk("bǎi zhàn bù dài"), utf8ToGbk("每次打仗都不失败。")};
        store.recordShown(zhong);
        store.recordShown(baizhan);
        store.addWord(zhong);
    } else if (c.file == LookupsFile::Damaged) {
        testing::writeFileBytes(file, std::string(4096, 'x'));
    }
    std::ostringstream out, err;
    std::vector<std::string> args = {"--data", folder.path().string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(runCommandLine(args, "/nonexistent", out, err), c.status) << err.str();
    std::string expectedOut = c.out;
    if (const auto at = expectedOut.find("FILE"); at != std::string::npos)
        expectedOut.replace(at, 4, file.string());
    EXPECT_EQ(out.str(), expectedOut);
    if (c.errPart.empty()) {
        EXPECT_EQ(err.str(), "");
    } else {
        EXPECT_NE(err.str().find(c.errPart), std::string::npos) << err.str();
    }
    if (c.file == LookupsFile::Missing) {
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CliListTest,
    ::testing::Values(
        ListCase{{"History"},
                 LookupsFile::Kept,
                 {"history"},
                 0,
                 "idiom\t2\t百战不殆\tbǎi zhàn bù dài\t每次打仗都不失败。\n"
                 "character\t1\t中\tzhōng\tmiddle\n",
                 ""},
        ListCase{
            {"Words"}, LookupsFile::Kept, {"words"}, 0, "character\t1\t中\tzhōng\tmiddle\n", ""},
        ListCase{{"WordsAsJson"},
                 LookupsFile::Kept,
                 {"--json", "words"},
                 0,
                 "{\n  \"file\": \"FILE\",\n  \"count\": 1,\n  \"words\": [\n    {\n"
                 "      \"kind\": \"character\",\n      \"number\": 1,\n      \"text\": \"中\",\n"
                 "      \"pinyin\": \"zhōng\",\n      \"brief\": \"middle\"\n    }\n  ]\n}\n",
                 ""},
        ListCase{{"NoFileIsNoHistoryYet"}, LookupsFile::Missing, {"history"}, 0, "", ""},
        ListCase{{"NoFileAsJson"},
                 LookupsFile::Missing,
                 {"history", "--json"},
                 0,
                 "{\n  \"file\": \"FILE\",\n  \"count\": 0,\n  \"entries\": []\n}\n",
                 ""},
        ListCase{{"DamagedFile"},
                 LookupsFile::Damaged,
                 {"words"},
                 1,
                 "",
                 "lexomir-cli: cannot read the lookups file: file is not a database ("},
        ListCase{{"NoArguments"}, LookupsFile::Kept, {"history", "5"}, 2, "", "history takes 0"},
        ListCase{{"NoEntries"},
                 LookupsFile::Kept,
                 {"--show", "words"},
                 2,
                 "",
                 "--show belongs to the searches"}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir::cli
