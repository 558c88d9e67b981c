// lexomir-cli history and words: the lists the window keeps in lookups.db,
// found by the data folder the command is given. A missing or broken file is
// one of the fault suite's cases.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_app.h"
#include "data_folder.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "lookup_store.h"

namespace lexomir::cli {
namespace {

TEST(CliLists, PrintTheHistoryNewestFirstAndTheWordsAsLinesOrJson) {
    testing::TempFolder folder;
    const auto file = folder / std::string(kLookupsFile);
    {
        LookupStore store(file, StoreAccess::ReadWrite);
        const LookedUpEntry zhong{EntryKind::Character, 1, utf8ToGbk("中"), utf8ToGbk("zhōng"),
                                  "middle"};
        store.recordShown(zhong);
        store.recordShown({EntryKind::Idiom, 2, utf8ToGbk("百战不殆"), utf8ToGbk("bǎi zhàn bù dài"),
                           utf8ToGbk("每次打仗都不失败。")});
        store.addWord(zhong);
    }
    const auto run = [&](std::vector<std::string> args, int status) {
        args.insert(args.begin(), {"--data", folder.path().string()});
        std::ostringstream out, err;
        EXPECT_EQ(runCommandLine(args, "/nonexistent", out, err), status) << err.str();
        return out.str() + err.str();
    };
    EXPECT_EQ(run({"history"}, kExitSuccess),
              "idiom\t2\t百战不殆\tbǎi zhàn bù dài\t每次打仗都不失败。\n"
              "character\t1\t中\tzhōng\tmiddle\n");
    EXPECT_EQ(run({"--json", "words"}, kExitSuccess),
              "{\n  \"file\": \"" + file.string() +
                  "\",\n  \"count\": 1,\n  \"words\": [\n    {\n"
                  "      \"kind\": \"character\",\n      \"number\": 1,\n      \"text\": \"中\",\n"
                  "      \"pinyin\": \"zhōng\",\n      \"brief\": \"middle\"\n    }\n  ]\n}\n");
    EXPECT_EQ(run({"history", "5"}, kExitRefused),
              "lexomir-cli: history takes 0 arguments, not 1\nTry 'lexomir-cli --help'.\n");
}

}  // namespace
}  // namespace lexomir::cli
