// lookups.db as the window uses it: the history's order and limit, the word
// list, what survives a restart, and the word list's export files.
#include "lookup_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture_files.h"
#include "gbk_codec.h"
#include "named_case.h"
#include "word_list_export.h"

namespace lexomir::testing {
namespace {

LookedUpEntry character(std::int32_t record, const char* utf8, const char* reading = "") {
    return {EntryKind::Character, record, utf8ToGbk(utf8), utf8ToGbk(reading),
            utf8ToGbk(std::string("brief of ") + utf8)};
}

LookedUpEntry idiom(std::int32_t record, const char* utf8) {
    return {EntryKind::Idiom, record, utf8ToGbk(utf8), "", ""};
}

struct HistoryCase : NamedCase {
    std::vector<LookedUpEntry> shown;
    std::vector<std::string> history;  // newest first
};

class HistoryTest : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(HistoryTest, KeepsEveryEntryShownNewestFirstWithoutRepeatsNextToEachOther) {
    TempFolder folder;
    LookupStore store(folder / "lookups.db", StoreAccess::ReadWrite);
    for (const LookedUpEntry& entry : GetParam().shown) store.recordShown(entry);
    std::vector<std::string> texts;
    for (const LookedUpEntry& entry : store.history()) texts.push_back(gbkToUtf8(entry.text));
    EXPECT_EQ(texts, GetParam().history);
    EXPECT_FALSE(store.takeError());
}

INSTANTIATE_TEST_SUITE_P(Sequences, HistoryTest,
                         ::testing::Values(HistoryCase{{"RepeatNextToItselfKeptOnce"},
                                                       {character(4, "中"), character(4, "中"),
                                                        idiom(327, "百战不殆"), character(4, "中")},
                                                       {"中", "百战不殆", "中"}},
                                           // A rebuilt data set may number the entry differently.
                                           HistoryCase{{"TheRecordNumberDoesNotMakeAnotherEntry"},
                                                       {character(4, "中"), character(5, "中")},
                                                       {"中"}},
                                           HistoryCase{{"ACharacterAndAnIdiomOfTheSameTextDiffer"},
                                                       {character(4, "爱"), idiom(4, "爱")},
                                                       {"爱", "爱"}}),
                         CaseName());

TEST(LookupStore, ForgetsTheOldestBeyondTheLimit) {
    TempFolder folder;
    LookupStore store(folder / "lookups.db", StoreAccess::ReadWrite);
    const std::size_t shown = LookupStore::kHistoryLimit + 5;
    for (std::size_t i = 0; i < shown; ++i)
        store.recordShown(
            {EntryKind::Idiom, static_cast<std::int32_t>(i), std::to_string(i), "", ""});
    const std::vector<LookedUpEntry> history = store.history();
    ASSERT_EQ(history.size(), LookupStore::kHistoryLimit);
    EXPECT_EQ(history.front().text, std::to_string(shown - 1));
    EXPECT_EQ(history.back().text, "5");
}

TEST(LookupStore, KeepsBothListsWithTheirGbkTextAcrossARestart) {
    TempFolder folder;
    const LookedUpEntry zhong = character(4, "中", "zhōng,zhòng");
    const LookedUpEntry guo = character(9, "国", "guó");
    const LookedUpEntry baizhan = idiom(327, "百战不殆");
    {
        LookupStore store(folder / "lookups.db", StoreAccess::ReadWrite);
        store.recordShown(zhong);
        store.recordShown(baizhan);
        EXPECT_EQ(store.toggleWord(zhong), true);
        EXPECT_EQ(store.toggleWord(baizhan), true);
        store.addWord(zhong);  // listed once
        store.addWord(guo);
        EXPECT_EQ(store.toggleWord(baizhan), false);
    }
    LookupStore reopened(folder / "lookups.db", StoreAccess::ReadOnly);
    EXPECT_EQ(reopened.history(), (std::vector<LookedUpEntry>{baizhan, zhong}));
    EXPECT_EQ(reopened.words(), (std::vector<LookedUpEntry>{zhong, guo}));
    EXPECT_FALSE(reopened.containsWord(baizhan));
    EXPECT_FALSE(reopened.takeError());
}

struct ExportCase : NamedCase {
    WordListFormat format;
    std::string bytes;
};

class WordListExportTest : public ::testing::TestWithParam<ExportCase> {};

TEST_P(WordListExportTest, ReplacesTheFileWithTheWordsPinyinAndBriefInUtf8) {
    const std::vector<LookedUpEntry> words = {
        character(4, "中", "zhōng,zhòng"),
        {EntryKind::Idiom, 327, utf8ToGbk("百战不殆"), utf8ToGbk("bǎi zhàn bù dài"),
         utf8ToGbk("say \"win\"\tevery\r\nbattle")}};
    TempFolder folder;
    writeFileBytes(folder / "words", "an older export");
    EXPECT_FALSE(exportWordList(folder / "words", words, GetParam().format));
    EXPECT_EQ(readFileBytes(folder / "words"), GetParam().bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WordListExportTest,
    ::testing::Values(ExportCase{{"Text"},
                                 WordListFormat::Text,
                                 "中\tzhōng,zhòng\tbrief of 中\n"
                                 "百战不殆\tbǎi zhàn bù dài\tsay \"win\" every  battle\n"},
                      ExportCase{
                          {"Csv"},
                          WordListFormat::Csv,
                          "\xEF\xBB\xBF词条,拼音,简释\r\n"
                          "中,\"zhōng,zhòng\",brief of 中\r\n"
                          "百战不殆,bǎi zhàn bù dài,\"say \"\"win\"\"\tevery\r\nbattle\"\r\n"}),
    CaseName());

TEST(LookedUpEntry, ItsBriefIsTheFirstLineCutToItsLength) {
    const std::string long80 = [] {
        std::string text;
        for (int i = 0; i < 40; ++i) text += "a中";
        return text;
    }();
    const std::pair<std::string, std::string> cases[] = {
        {" middle; center<br>字义：中间", "middle; center"},
        {"谓每战必胜。\r\n又", "谓每战必胜。"},
        {long80, long80.substr(0, 29 * 4 + 1) + "…"},  // 59 characters and the ellipsis
    };
    for (const auto& [explanation, brief] : cases) {
        CharacterEntry entry;
        entry.jijie = utf8ToGbk(explanation);
        IdiomEntry idiomEntry;
        idiomEntry.DianGu = entry.jijie;
        EXPECT_EQ(gbkToUtf8(lookedUpCharacter(4, entry).brief), brief);
        EXPECT_EQ(gbkToUtf8(lookedUpIdiom(327, idiomEntry).brief), brief);
    }
}

}  // namespace
}  // namespace lexomir::testing
