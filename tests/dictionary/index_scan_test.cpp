#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "character_filters.h"
#include "idiom_search.h"
#include "index_file.h"
#include "index_record_format.h"
#include "test_support.h"
#include "xinhua_scan.h"

namespace lexomir {
namespace {

using testing::chengyuRecordBytes;
using testing::gbk;
using testing::TempFolder;
using testing::XinHuaIndexRecord;
using testing::xinhuaRecordBytes;

constexpr std::size_t kXinHuaSize = xinhua_record::kSize;
constexpr std::size_t kChengYuSize = chengyu_record::kSize;

const std::vector<XinHuaIndexRecord> kCharacters = {
    {"中", "zhong", "丨", 4},        {"国", "guo", "囗", 8},         {"张", "zhang", "弓", 7},
    {"中", "zhong,zhongg", "丨", 4}, {"长", "chang,zhang", "长", 4}, {"爱", "ai", "爫", 10},
};

std::string xinhuaFileBytes(const std::vector<XinHuaIndexRecord>& records) {
    std::string bytes;
    for (const XinHuaIndexRecord& record : records) bytes += xinhuaRecordBytes(record);
    return bytes;
}

const ScanHook kNoHook = [](std::int32_t) { return true; };
const CharacterFilter kEveryRecord = [](std::int32_t, const XinHuaRecord&) { return true; };

std::vector<std::int32_t> oneTo(std::int32_t last) {
    std::vector<std::int32_t> numbers;
    for (std::int32_t k = 1; k <= last; ++k) numbers.push_back(k);
    return numbers;
}

class ScanXinHuaTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::writeFileBytes(path(), xinhuaFileBytes(kCharacters)); }

    std::filesystem::path path() const { return m_dir.path() / "XinHua.dat"; }
    IndexFile open(std::int32_t recordCount = static_cast<std::int32_t>(kCharacters.size())) {
        return IndexFile(path(), kXinHuaSize, recordCount);
    }

    ScanOutcome scan(IndexFile& file, const CharacterFilter& filter,
                     const ScanHook& hook = kNoHook) {
        return scanXinHua(file, filter, hook, VecXinHua);
    }

    void expectFailureNamingTheFile(const ScanOutcome& outcome) {
        EXPECT_EQ(outcome.end, ScanEnd::Failed);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(outcome.error->file, path());
        EXPECT_NE(outcome.error->describe().find(path().string()), std::string::npos)
            << outcome.error->describe();
    }

    TempFolder m_dir;
    FoundList VecXinHua{{99, "stale"}, {98, "stale"}};
};

TEST_F(ScanXinHuaTest, FindsEachRecordOnceInFileOrder) {
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, hanziFilter(gbk("长中中")));
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_FALSE(outcome.error.has_value());
    EXPECT_EQ(recordNumbers(VecXinHua), (std::vector<std::int32_t>{1, 4, 5}));
    EXPECT_EQ(joinedTexts(VecXinHua), gbk("中中长"));
}

TEST_F(ScanXinHuaTest, EachFoundRecordHoldsItsTwoByteCharacter) {
    IndexFile file = open();
    scan(file, pinyinFilter("zh"));
    EXPECT_EQ(recordNumbers(VecXinHua), (std::vector<std::int32_t>{1, 3, 4, 5}));
    EXPECT_EQ(joinedTexts(VecXinHua).size(), 2 * VecXinHua.size());
    EXPECT_EQ(joinedTexts(VecXinHua), gbk("中张中长"));
}

TEST_F(ScanXinHuaTest, NothingFoundEmptiesBothLists) {
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, pinyinFilter("x"));
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_TRUE(VecXinHua.empty());
    EXPECT_EQ(joinedTexts(VecXinHua), "");
}

TEST_F(ScanXinHuaTest, FilterSeesEveryRecordWithItsFields) {
    IndexFile file = open();
    std::vector<XinHuaIndexRecord> seen;
    std::vector<std::int32_t> numbers;
    scan(file, [&](std::int32_t k, const XinHuaRecord& record) {
        numbers.push_back(k);
        seen.push_back({gbkToUtf8(record.character()), std::string(record.pinyin()),
                        gbkToUtf8(record.radical()), record.strokes()});
        return false;
    });
    EXPECT_EQ(numbers, oneTo(6));
    ASSERT_EQ(seen.size(), kCharacters.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].character, kCharacters[i].character) << i;
        EXPECT_EQ(seen[i].pinyin, kCharacters[i].pinyin) << i;
        EXPECT_EQ(seen[i].radical, kCharacters[i].radical) << i;
        EXPECT_EQ(seen[i].strokes, kCharacters[i].strokes) << i;
    }
}

TEST_F(ScanXinHuaTest, HookRunsBeforeEachRecordInOrder) {
    IndexFile file = open();
    std::vector<std::string> events;
    scan(
        file,
        [&](std::int32_t k, const XinHuaRecord&) {
            events.push_back("test " + std::to_string(k));
            return false;
        },
        [&](std::int32_t k) {
            events.push_back("hook " + std::to_string(k));
            return true;
        });
    std::vector<std::string> expected;
    for (int k = 1; k <= 6; ++k) {
        expected.push_back("hook " + std::to_string(k));
        expected.push_back("test " + std::to_string(k));
    }
    EXPECT_EQ(events, expected);
}

TEST_F(ScanXinHuaTest, HookReturningFalseStopsBeforeTheRecord) {
    IndexFile file = open();
    std::vector<std::int32_t> tested;
    const ScanOutcome outcome = scan(
        file,
        [&](std::int32_t k, const XinHuaRecord&) {
            tested.push_back(k);
            return true;
        },
        [](std::int32_t k) { return k < 3; });
    EXPECT_EQ(outcome.end, ScanEnd::Stopped);
    EXPECT_EQ(tested, (std::vector<std::int32_t>{1, 2}));
    for (std::int32_t k : recordNumbers(VecXinHua)) EXPECT_LT(k, 3);
    EXPECT_EQ(joinedTexts(VecXinHua).size(), 2 * VecXinHua.size());
}

TEST_F(ScanXinHuaTest, MissingFileFailsNamingItAndFindsNothing) {
    std::filesystem::remove(path());
    IndexFile file = open();
    EXPECT_FALSE(file.isOpen());
    bool tested = false;
    const ScanOutcome outcome = scan(file, [&](std::int32_t, const XinHuaRecord&) {
        tested = true;
        return true;
    });
    expectFailureNamingTheFile(outcome);
    EXPECT_FALSE(tested);
    EXPECT_TRUE(VecXinHua.empty());
    EXPECT_EQ(joinedTexts(VecXinHua), "");
}

TEST_F(ScanXinHuaTest, ClosedFileFails) {
    IndexFile file;
    const ScanOutcome outcome = scanXinHua(file, kEveryRecord, kNoHook, VecXinHua);
    EXPECT_EQ(outcome.end, ScanEnd::Failed);
    EXPECT_TRUE(outcome.error.has_value());
    EXPECT_TRUE(VecXinHua.empty());
    EXPECT_EQ(joinedTexts(VecXinHua), "");
}

TEST_F(ScanXinHuaTest, ShortFileFailsAndFindsNothingOnUnreadBytes) {
    // Three whole records, then the first 20 bytes of the fourth.
    testing::writeFileBytes(path(), xinhuaFileBytes(kCharacters).substr(0, 3 * kXinHuaSize + 20));
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, kEveryRecord);
    expectFailureNamingTheFile(outcome);
    EXPECT_EQ(recordNumbers(VecXinHua), oneTo(3));
    EXPECT_EQ(joinedTexts(VecXinHua), gbk("中国张"));
}

TEST_F(ScanXinHuaTest, HookIsCalledBeforeTheReadThatFails) {
    testing::writeFileBytes(path(), xinhuaFileBytes(kCharacters).substr(0, 3 * kXinHuaSize));
    IndexFile file = open();
    std::vector<std::int32_t> hooked;
    const ScanOutcome outcome = scan(file, kEveryRecord, [&](std::int32_t k) {
        hooked.push_back(k);
        return true;
    });
    EXPECT_EQ(outcome.end, ScanEnd::Failed);
    EXPECT_EQ(hooked, oneTo(4));
}

TEST_F(ScanXinHuaTest, StopBeforeAMissingRecordIsNoFailure) {
    testing::writeFileBytes(path(), xinhuaFileBytes(kCharacters).substr(0, 3 * kXinHuaSize));
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, kEveryRecord, [](std::int32_t k) { return k < 4; });
    EXPECT_EQ(outcome.end, ScanEnd::Stopped);
    EXPECT_FALSE(outcome.error.has_value());
}

TEST_F(ScanXinHuaTest, UnreadableFileFailsNamingIt) {
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());  // opens, but every read fails
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, kEveryRecord);
    expectFailureNamingTheFile(outcome);
    EXPECT_TRUE(VecXinHua.empty());
    EXPECT_EQ(joinedTexts(VecXinHua), "");
}

TEST_F(ScanXinHuaTest, FileGrowingDuringAScanNeverShiftsRecords) {
    // The file first ends inside record 4; the rest arrives while the scan
    // waits in the hook before record 4. Record k must still be the bytes at
    // (k - 1) * record size, or nothing.
    const std::string bytes = xinhuaFileBytes(kCharacters);
    const std::size_t firstPart = 3 * kXinHuaSize + 20;
    testing::writeFileBytes(path(), bytes.substr(0, firstPart));
    IndexFile file = open();
    std::vector<std::int32_t> misplaced;
    const ScanOutcome outcome = scan(
        file,
        [&](std::int32_t k, const XinHuaRecord& record) {
            if (record.pinyin() != kCharacters[k - 1].pinyin) misplaced.push_back(k);
            return true;
        },
        [&](std::int32_t k) {
            if (k == 4) testing::appendFileBytes(path(), bytes.substr(firstPart));
            return true;
        });
    EXPECT_TRUE(misplaced.empty()) << "record " << misplaced.front() << " shifted";
    if (outcome.end == ScanEnd::Completed) {
        EXPECT_EQ(recordNumbers(VecXinHua), oneTo(6));
    } else {
        EXPECT_EQ(outcome.end, ScanEnd::Failed);
        EXPECT_EQ(recordNumbers(VecXinHua), oneTo(3));
    }
}

TEST_F(ScanXinHuaTest, EmptyFileFails) {
    testing::writeFileBytes(path(), "");
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, kEveryRecord);
    expectFailureNamingTheFile(outcome);
    EXPECT_TRUE(VecXinHua.empty());
}

TEST_F(ScanXinHuaTest, ReadsOnlyTheRecordCount) {
    IndexFile file = open(4);
    std::vector<std::int32_t> hooked;
    const ScanOutcome outcome = scan(file, kEveryRecord, [&](std::int32_t k) {
        hooked.push_back(k);
        return true;
    });
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_EQ(recordNumbers(VecXinHua), oneTo(4));
    EXPECT_EQ(hooked, oneTo(4));
}

TEST_F(ScanXinHuaTest, RerunGivesTheSameResult) {
    IndexFile file = open();
    scan(file, pinyinFilter("zh"));
    const std::vector<std::int32_t> firstRecords = recordNumbers(VecXinHua);
    const std::string firstTexts = joinedTexts(VecXinHua);
    const ScanOutcome outcome = scan(file, pinyinFilter("zh"));
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_EQ(recordNumbers(VecXinHua), firstRecords);
    EXPECT_EQ(joinedTexts(VecXinHua), firstTexts);
}

TEST_F(ScanXinHuaTest, RerunAfterAStopStartsAgainAtRecordOne) {
    IndexFile file = open();
    scan(file, kEveryRecord, [](std::int32_t k) { return k < 2; });
    const ScanOutcome outcome = scan(file, kEveryRecord);
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_EQ(recordNumbers(VecXinHua), oneTo(6));
    EXPECT_EQ(joinedTexts(VecXinHua), gbk("中国张中长爱"));
}

TEST_F(ScanXinHuaTest, FileShortenedBetweenScansFindsOnlyWhatIsStillThere) {
    IndexFile file = open();
    scan(file, kEveryRecord);
    ASSERT_EQ(recordNumbers(VecXinHua), oneTo(6));
    std::filesystem::resize_file(path(), 2 * kXinHuaSize + 10);
    const ScanOutcome outcome = scan(file, kEveryRecord);
    expectFailureNamingTheFile(outcome);
    EXPECT_EQ(recordNumbers(VecXinHua), oneTo(2));
    EXPECT_EQ(joinedTexts(VecXinHua), gbk("中国"));
}

TEST_F(ScanXinHuaTest, FileCompletedAfterAFailureScansCompletely) {
    const std::string bytes = xinhuaFileBytes(kCharacters);
    testing::writeFileBytes(path(), bytes.substr(0, 2 * kXinHuaSize));
    IndexFile file = open();
    EXPECT_EQ(scan(file, kEveryRecord).end, ScanEnd::Failed);
    testing::appendFileBytes(path(), bytes.substr(2 * kXinHuaSize));
    const ScanOutcome outcome = scan(file, kEveryRecord);
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_FALSE(outcome.error.has_value());
    EXPECT_EQ(recordNumbers(VecXinHua), oneTo(6));
}

TEST_F(ScanXinHuaTest, ExceptionFromTheFilterPropagatesAndTheNextScanWorks) {
    IndexFile file = open();
    EXPECT_THROW(scan(file,
                      [](std::int32_t k, const XinHuaRecord&) -> bool {
                          if (k == 3) throw std::runtime_error("database failure");
                          return true;
                      }),
                 std::runtime_error);
    const ScanOutcome outcome = scan(file, hanziFilter(gbk("爱")));
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_EQ(recordNumbers(VecXinHua), std::vector<std::int32_t>{6});
    EXPECT_EQ(joinedTexts(VecXinHua), gbk("爱"));
}

// Enough records to cross any read block, each telling its own number.
class LargeXinHuaFileTest : public ::testing::Test {
  protected:
    static constexpr std::int32_t kRecords = 5003;

    void SetUp() override {
        std::string bytes;
        for (std::int32_t k = 1; k <= kRecords; ++k) {
            bytes += xinhuaRecordBytes({k % 2 ? "中" : "国", "r" + std::to_string(k), "丨",
                                        static_cast<unsigned>(k % 256)});
        }
        m_bytes = bytes;
        testing::writeFileBytes(path(), bytes);
    }

    std::filesystem::path path() const { return m_dir.path() / "XinHua.dat"; }

    // Records whose pinyin does not name their own number, or a wrong stroke byte.
    static CharacterFilter misplacedRecord() {
        return [](std::int32_t k, const XinHuaRecord& record) {
            return record.pinyin() != "r" + std::to_string(k) ||
                   record.strokes() != static_cast<unsigned>(k % 256);
        };
    }

    TempFolder m_dir;
    std::string m_bytes;
    FoundList VecXinHua;
};

TEST_F(LargeXinHuaFileTest, EveryRecordArrivesWithItsOwnBytes) {
    IndexFile file(path(), kXinHuaSize, kRecords);
    const ScanOutcome outcome = scanXinHua(file, misplacedRecord(), kNoHook, VecXinHua);
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_TRUE(VecXinHua.empty()) << "first misplaced record: " << VecXinHua.front().record;
}

TEST_F(LargeXinHuaFileTest, ShortFileEndsAtTheLastWholeRecord) {
    testing::writeFileBytes(path(), m_bytes.substr(0, 4321 * kXinHuaSize + 30));
    IndexFile file(path(), kXinHuaSize, kRecords);
    const ScanOutcome outcome = scanXinHua(file, kEveryRecord, kNoHook, VecXinHua);
    EXPECT_EQ(outcome.end, ScanEnd::Failed);
    EXPECT_EQ(recordNumbers(VecXinHua), oneTo(4321));
    EXPECT_EQ(joinedTexts(VecXinHua).size(), 2u * 4321);
}

TEST(IndexFile, MissingFileReportsTheOpenFailureOnRewind) {
    TempFolder dir;
    const std::filesystem::path path = dir.path() / "ChengYu.dat";
    IndexFile file(path, kChengYuSize, 3);
    EXPECT_FALSE(file.isOpen());
    const std::optional<IndexFileError> error = file.rewind();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->file, path);
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(error->describe(), "Cannot read " + path.string() + ": " + error->reason);
}

TEST(IndexFile, ReadsRecordsInOrderAndReportsTheShortEnd) {
    TempFolder dir;
    const std::filesystem::path path = dir.path() / "ChengYu.dat";
    testing::writeFileBytes(path,
                            chengyuRecordBytes("爱屋及乌") + chengyuRecordBytes("百战不殆") + "x");
    IndexFile file(path, kChengYuSize, 3);
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.recordCount(), 3);
    ASSERT_FALSE(file.rewind().has_value());
    const char* first = file.nextRecord();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first, kChengYuSize), chengyuRecordBytes("爱屋及乌"));
    const char* second = file.nextRecord();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(second, kChengYuSize), chengyuRecordBytes("百战不殆"));
    EXPECT_EQ(file.nextRecord(), nullptr);
    ASSERT_TRUE(file.error().has_value());
    EXPECT_EQ(file.error()->file, path);

    // A new pass starts again at record 1 and forgets the error.
    ASSERT_FALSE(file.rewind().has_value());
    EXPECT_FALSE(file.error().has_value());
    const char* again = file.nextRecord();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(std::string(again, kChengYuSize), chengyuRecordBytes("爱屋及乌"));
}

TEST(IndexFile, MovedFileKeepsReadingAndTheSourceIsClosed) {
    TempFolder dir;
    const std::filesystem::path path = dir.path() / "ChengYu.dat";
    testing::writeFileBytes(path, chengyuRecordBytes("爱屋及乌"));
    IndexFile source(path, kChengYuSize, 1);
    IndexFile moved(std::move(source));
    EXPECT_FALSE(source.isOpen());
    ASSERT_TRUE(moved.isOpen());
    ASSERT_FALSE(moved.rewind().has_value());
    ASSERT_NE(moved.nextRecord(), nullptr);

    IndexFile assigned;
    assigned = std::move(moved);
    EXPECT_FALSE(moved.isOpen());
    ASSERT_FALSE(assigned.rewind().has_value());
    const char* record = assigned.nextRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::string(record, kChengYuSize), chengyuRecordBytes("爱屋及乌"));
}

const std::vector<std::string> kIdioms = {"百战不殆", "爱不释手",     "百战百胜",
                                          "爱屋及乌", "百战不殆而胜", "莫须有"};

class ScanChengYuTest : public ::testing::Test {
  protected:
    void SetUp() override { writeIdioms(kIdioms); }

    void writeIdioms(const std::vector<std::string>& idioms) {
        std::string bytes;
        for (const std::string& idiom : idioms) bytes += chengyuRecordBytes(idiom);
        m_bytes = bytes;
        testing::writeFileBytes(path(), bytes);
    }

    std::filesystem::path path() const { return m_dir.path() / "ChengYu.dat"; }
    IndexFile open(std::int32_t recordCount = static_cast<std::int32_t>(kIdioms.size())) {
        return IndexFile(path(), kChengYuSize, recordCount);
    }

    ScanOutcome scan(IndexFile& file, std::string_view patternUtf8,
                     const ScanHook& hook = kNoHook) {
        return scanChengYu(file, gbk(patternUtf8), hook, VecChengYu);
    }

    std::vector<std::string> foundUtf8() const {
        std::vector<std::string> texts;
        for (const FoundEntry& found : VecChengYu) texts.push_back(gbkToUtf8(found.text));
        return texts;
    }

    TempFolder m_dir;
    std::string m_bytes;
    FoundList VecChengYu{{42, "stale"}};
};

TEST_F(ScanChengYuTest, WildcardPatternFindsItsIdiomsInFileOrder) {
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, "百战不★");
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_EQ(recordNumbers(VecChengYu), (std::vector<std::int32_t>{1, 5}));
    EXPECT_EQ(foundUtf8(), (std::vector<std::string>{"百战不殆", "百战不殆而胜"}));
}

TEST_F(ScanChengYuTest, PrefixFindsOnlyIdiomsBeginningWithIt) {
    IndexFile file = open();
    scan(file, "爱");
    EXPECT_EQ(recordNumbers(VecChengYu), (std::vector<std::int32_t>{2, 4}));
    EXPECT_EQ(foundUtf8(), (std::vector<std::string>{"爱不释手", "爱屋及乌"}));
}

TEST_F(ScanChengYuTest, FourWildcardsSkipShorterIdioms) {
    IndexFile file = open();
    scan(file, "★★★★");
    EXPECT_EQ(recordNumbers(VecChengYu), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
}

TEST_F(ScanChengYuTest, SingleWildcardFindsEveryIdiom) {
    IndexFile file = open();
    scan(file, "★");
    EXPECT_EQ(recordNumbers(VecChengYu), oneTo(6));
    EXPECT_EQ(foundUtf8(), kIdioms);
}

TEST_F(ScanChengYuTest, NothingFoundEmptiesBothLists) {
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, "一");
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_TRUE(VecChengYu.empty());
}

TEST_F(ScanChengYuTest, LongestIdiomTextIsReadWhole) {
    const std::string longest = "一二三四五六七八九十百千万亿兆京垓";  // 17 characters, 34 bytes
    ASSERT_EQ(gbk(longest).size(), chengyu_record::kMaxTextBytes);
    writeIdioms({"爱屋及乌", longest});
    IndexFile file = open(2);
    scan(file, "一");
    EXPECT_EQ(recordNumbers(VecChengYu), std::vector<std::int32_t>{2});
    EXPECT_EQ(foundUtf8(), std::vector<std::string>{longest});
}

TEST_F(ScanChengYuTest, HookRunsBeforeEachRecordAndCanStop) {
    IndexFile file = open();
    std::vector<std::int32_t> hooked;
    const ScanOutcome outcome = scan(file, "★", [&](std::int32_t k) {
        hooked.push_back(k);
        return k < 4;
    });
    EXPECT_EQ(outcome.end, ScanEnd::Stopped);
    EXPECT_EQ(hooked, (std::vector<std::int32_t>{1, 2, 3, 4}));
    for (std::int32_t k : recordNumbers(VecChengYu)) EXPECT_LT(k, 4);
}

TEST_F(ScanChengYuTest, HookSeesEveryRecordNumberOfACompleteScan) {
    IndexFile file = open();
    std::vector<std::int32_t> hooked;
    scan(file, "爱", [&](std::int32_t k) {
        hooked.push_back(k);
        return true;
    });
    EXPECT_EQ(hooked, oneTo(6));
}

TEST_F(ScanChengYuTest, ReadsOnlyTheRecordCount) {
    IndexFile file = open(4);
    const ScanOutcome outcome = scan(file, "百战");
    EXPECT_EQ(outcome.end, ScanEnd::Completed);
    EXPECT_EQ(recordNumbers(VecChengYu), (std::vector<std::int32_t>{1, 3}));
}

TEST_F(ScanChengYuTest, MissingFileFailsNamingIt) {
    std::filesystem::remove(path());
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, "★");
    EXPECT_EQ(outcome.end, ScanEnd::Failed);
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.error->file, path());
    EXPECT_NE(outcome.error->describe().find(path().string()), std::string::npos);
    EXPECT_TRUE(VecChengYu.empty());
}

TEST_F(ScanChengYuTest, ShortFileFailsAndFindsNothingOnUnreadBytes) {
    // Three whole records, then the text of the fourth without its NUL.
    testing::writeFileBytes(path(), m_bytes.substr(0, 3 * kChengYuSize + 8));
    IndexFile file = open();
    const ScanOutcome outcome = scan(file, "★");
    EXPECT_EQ(outcome.end, ScanEnd::Failed);
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.error->file, path());
    EXPECT_EQ(recordNumbers(VecChengYu), oneTo(3));
    EXPECT_EQ(foundUtf8(), (std::vector<std::string>{"百战不殆", "爱不释手", "百战百胜"}));
}

TEST_F(ScanChengYuTest, RerunGivesTheSameResult) {
    IndexFile file = open();
    scan(file, "百战不★");
    const std::vector<std::int32_t> firstRecords = recordNumbers(VecChengYu);
    const std::string firstTexts = joinedTexts(VecChengYu);
    EXPECT_EQ(scan(file, "百战不★").end, ScanEnd::Completed);
    EXPECT_EQ(recordNumbers(VecChengYu), firstRecords);
    EXPECT_EQ(joinedTexts(VecChengYu), firstTexts);
}

TEST_F(ScanChengYuTest, FileShortenedBetweenScansFindsOnlyWhatIsStillThere) {
    IndexFile file = open();
    scan(file, "百战不★");
    ASSERT_EQ(recordNumbers(VecChengYu), (std::vector<std::int32_t>{1, 5}));
    std::filesystem::resize_file(path(), 4 * kChengYuSize);
    EXPECT_EQ(scan(file, "百战不★").end, ScanEnd::Failed);
    EXPECT_EQ(recordNumbers(VecChengYu), std::vector<std::int32_t>{1});
}

}  // namespace
}  // namespace lexomir
