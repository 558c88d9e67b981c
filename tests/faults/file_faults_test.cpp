// Broken index files and a missing data folder: each search names the file
// it cannot read, shows the whole records it did read, and the other page,
// the other file and the window go on as before.
#include <sys/stat.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "fault_fixture.h"
#include "index_record_format.h"
#include "result_grid.h"
#include "without_root_override.h"

namespace lexomir::testing {
namespace {

enum class Page { Characters, Idioms };

// One index file and the search of its page: "zh" on the character page,
// "百战" on the idiom page.
struct IndexFileCase {
    const char* file;
    Page page;
    std::size_t recordSize;
    std::int32_t recordCount;
    int fixtureRecords;  // the records that hold entries; zeros follow
    QStringList found;
    std::vector<std::int32_t> foundRecords;
    int recordsBeforeCut;  // the file is cut in the middle of the record after these
    QStringList foundBeforeCut;
    std::vector<std::int32_t> foundRecordsBeforeCut;
};

void PrintTo(const IndexFileCase& c, std::ostream* out) {
    *out << c.file;
}

const IndexFileCase kXinHua{"XinHua.dat",
                            Page::Characters,
                            xinhua_record::kSize,
                            xinhua_record::kRecordCount,
                            12,
                            utf8List({"中", "张", "长"}),
                            {1, 3, 4},
                            3,
                            utf8List({"中", "张"}),
                            {1, 3}};
const IndexFileCase kChengYu{"ChengYu.dat",
                             Page::Idioms,
                             chengyu_record::kSize,
                             chengyu_record::kRecordCount,
                             6,
                             utf8List({"百战不殆", "百战百胜", "百战不殆之师"}),
                             {1, 2, 6},
                             2,
                             utf8List({"百战不殆", "百战百胜"}),
                             {1, 2}};

// Puts a file's permission bits back however the test ends, so that the
// temporary folder can be removed and compared.
class ModeRestorer {
  public:
    explicit ModeRestorer(std::filesystem::path file) : m_file(std::move(file)) {}
    ~ModeRestorer() { ::chmod(m_file.c_str(), 0644); }
    ModeRestorer(const ModeRestorer&) = delete;
    ModeRestorer& operator=(const ModeRestorer&) = delete;

  private:
    std::filesystem::path m_file;
};

class IndexFileFault : public FaultTest, public ::testing::WithParamInterface<IndexFileCase> {
  protected:
    const IndexFileCase& indexFile() const { return GetParam(); }
    std::filesystem::path path() const { return folder.dat() / indexFile().file; }
    QString message(const std::string& reason) const { return cannotReadMessage(path(), reason); }
    QString endsAfter(int records) const {
        return message("文件只有 " + std::to_string(records) + " 条完整的记录，应有 " +
                       std::to_string(indexFile().recordCount) + " 条");
    }
    std::uintmax_t cutInTheMiddleOfARecord() const {
        return indexFile().recordsBeforeCut * indexFile().recordSize + indexFile().recordSize / 2;
    }

    void searchThePage() {
        if (indexFile().page == Page::Characters) return typedSearch("zh");
        idiomSearch("百战");
    }
    const char* gridOfThePage() const {
        return indexFile().page == Page::Characters ? "GridXinHua" : "GridChengYu";
    }
    std::vector<std::int32_t> foundRecords() const {
        return indexFile().page == Page::Characters ? window->foundCharacters()
                                                    : window->foundIdioms();
    }
    // The texts of the page's filled cells, in order.
    QStringList shownOnThePage() {
        QStringList shown = gridTexts(gridOfThePage());
        shown.removeAll(QString());
        return shown;
    }
    void expectShown(const QStringList& texts, const std::vector<std::int32_t>& records) {
        EXPECT_EQ(shownOnThePage(), texts);
        EXPECT_EQ(foundRecords(), records);
    }

    // The page that does not read this file finds and shows its entries, and
    // the three search buttons are on again.
    void expectOtherPageWorks() {
        const auto errorsBefore = errors.size();
        if (indexFile().page == Page::Characters) {
            idiomSearch("爱");
            EXPECT_EQ(cell("GridChengYu", 0, 0), QString::fromUtf8("爱不释手"));
            EXPECT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：爱不释手(")));
        } else {
            typedSearch("guo");
            EXPECT_EQ(cell("GridXinHua", 0, 0), QString::fromUtf8("国"));
            doubleClickCell("GridXinHua", 0, 0);
            EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：国(")));
        }
        EXPECT_EQ(errors.size(), errorsBefore);
        for (const char* name : {"Btn1", "Btn2", "BtnChengYu"})
            EXPECT_TRUE(control<QPushButton>(name)->isEnabled()) << name;
    }

    void expectDataFolderAsIn(const FolderSnapshot& before) {
        EXPECT_EQ(FolderSnapshot::changes(before, FolderSnapshot::withoutLookups(folder.dat())),
                  std::vector<std::string>{});
    }

    // The first entries of the file in the opposite order, as a complete file.
    std::string withEntriesReversed(const std::string& bytes) const {
        std::string reversed = bytes;
        const std::size_t size = indexFile().recordSize;
        const int n = indexFile().fixtureRecords;
        for (int k = 0; k < n; ++k)
            reversed.replace(k * size, size, bytes.substr((n - 1 - k) * size, size));
        return reversed;
    }
    static QStringList reversedList(QStringList list) {
        std::reverse(list.begin(), list.end());
        return list;
    }
};

TEST_P(IndexFileFault, AMissingFileIsNamedAtEverySearch) {
    std::filesystem::remove(path());
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.dat());
    openWindow();
    searchThePage();
    searchThePage();
    EXPECT_EQ(messages, QStringList(2, message("没有那个文件或目录")));
    expectShown({}, {});
    expectOtherPageWorks();
    expectDataFolderAsIn(before);
}

TEST_P(IndexFileFault, AnEmptyFileEndsBeforeItsFirstRecord) {
    std::filesystem::resize_file(path(), 0);
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.dat());
    openWindow();
    searchThePage();
    EXPECT_EQ(messages, QStringList{endsAfter(0)});
    expectShown({}, {});
    expectOtherPageWorks();
    expectDataFolderAsIn(before);
}

TEST_P(IndexFileFault, AFileCutMidRecordShowsTheWholeRecordsBeforeTheCut) {
    std::filesystem::resize_file(path(), cutInTheMiddleOfARecord());
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.dat());
    openWindow();
    searchThePage();
    EXPECT_EQ(messages, QStringList{endsAfter(indexFile().recordsBeforeCut)});
    expectShown(indexFile().foundBeforeCut, indexFile().foundRecordsBeforeCut);
    expectOtherPageWorks();
    expectDataFolderAsIn(before);
}

TEST_P(IndexFileFault, AFolderInPlaceOfTheFileIsNamed) {
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.dat());
    openWindow();
    searchThePage();
    EXPECT_EQ(messages, QStringList{message("是一个目录")});
    expectShown({}, {});
    expectOtherPageWorks();
    expectDataFolderAsIn(before);
}

TEST_P(IndexFileFault, AnUnreadableFileIsNamed) {
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.dat());
    const ModeRestorer restorer(path());
    {
        WithoutRootOverride withoutRoot;
        if (!withoutRoot.permissionsApply())
            GTEST_SKIP() << "cannot drop the permission override; mode bits would not apply";
        ASSERT_EQ(::chmod(path().c_str(), 0), 0);
        openWindow();
    }
    searchThePage();
    EXPECT_EQ(messages, QStringList{message("权限不够")});
    expectShown({}, {});
    expectOtherPageWorks();
    ::chmod(path().c_str(), 0644);
    expectDataFolderAsIn(before);
}

TEST_P(IndexFileFault, AFileRenamedOverTheOpenOneLeavesTheSessionOnTheOldFile) {
    const std::string original = readFileBytes(path());
    openWindow();
    searchThePage();
    expectShown(indexFile().found, indexFile().foundRecords);
    const std::filesystem::path replacement = path().string() + ".new";
    writeFileBytes(replacement, withEntriesReversed(original));
    duringNextScan([&] { std::filesystem::rename(replacement, path()); });
    searchThePage();
    expectShown(indexFile().found, indexFile().foundRecords);
    searchThePage();
    expectShown(indexFile().found, indexFile().foundRecords);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    expectOtherPageWorks();
    EXPECT_EQ(readFileBytes(path()), withEntriesReversed(original));

    // The next session reads the new file.
    closeWindow();
    openWindow();
    searchThePage();
    EXPECT_EQ(shownOnThePage(), reversedList(indexFile().found));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_P(IndexFileFault, AFileRemovedDuringAScanIsStillReadToTheEnd) {
    openWindow();
    duringNextScan([&] { std::filesystem::remove(path()); });
    searchThePage();
    expectShown(indexFile().found, indexFile().foundRecords);
    searchThePage();
    expectShown(indexFile().found, indexFile().foundRecords);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    expectOtherPageWorks();
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_P(IndexFileFault, AFileCutShortInPlaceIsReportedUntilItIsWholeAgain) {
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.dat());
    const std::string original = readFileBytes(path());
    openWindow();
    searchThePage();
    expectShown(indexFile().found, indexFile().foundRecords);

    std::filesystem::resize_file(path(), cutInTheMiddleOfARecord());
    searchThePage();
    EXPECT_EQ(messages, QStringList{endsAfter(indexFile().recordsBeforeCut)});
    expectShown(indexFile().foundBeforeCut, indexFile().foundRecordsBeforeCut);
    expectOtherPageWorks();

    writeFileBytes(path(), original);  // the same file, whole again
    searchThePage();
    EXPECT_EQ(messages.size(), 1);
    expectShown(indexFile().found, indexFile().foundRecords);
    expectDataFolderAsIn(before);
}

INSTANTIATE_TEST_SUITE_P(
    EachIndexFile, IndexFileFault, ::testing::Values(kXinHua, kChengYu),
    [](const ::testing::TestParamInfo<IndexFileCase>& info) {
        return std::string(info.param.file).substr(0, std::string(info.param.file).find('.'));
    });

// Without dat/ the window still opens, and each action that needs a file
// says which one it could not use.
class DataFolderFault : public FaultTest {
  protected:
    QString unableToWriteSettings() const {
        return QStringLiteral("Unable to write to ") +
               QString::fromStdString(folder.settingsFile().string());
    }
    QString noDatabase(const char* file) const {
        return cannotReadMessage(folder.dat() / file, "unable to open database file");
    }
};

TEST_F(DataFolderFault, MissingAtStartEverySearchNamesItsFileAndCloseReportsTheSettingsOnce) {
    std::filesystem::remove_all(folder.dat());
    openWindow();
    EXPECT_EQ(window->pos(), QPoint(10, 10));
    EXPECT_EQ(window->size(), window->minimumSize());
    EXPECT_EQ(control<ResultGrid>("GridXinHua")->height(), 160);

    typedSearch("zh");
    idiomSearch("爱");
    meaningSearch("水");
    // Nothing was found, so there is no entry to look up.
    doubleClickCell("GridXinHua", 0, 0);
    doubleClickCell("GridChengYu", 0, 0);
    EXPECT_TRUE(memo("Memo1").isEmpty());
    EXPECT_TRUE(memo("Memo2").isEmpty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    const QString noXinHua = cannotReadMessage(folder.dat() / "XinHua.dat", "没有那个文件或目录");
    const QString noChengYu = cannotReadMessage(folder.dat() / "ChengYu.dat", "没有那个文件或目录");
    EXPECT_EQ(
        messages,
        (QStringList{noXinHua, noChengYu,
                     QString::fromUtf8("选择了字意查询，速度会比较慢，请耐心等待！"), noXinHua}));

    messages.clear();
    closeWindow();
    EXPECT_EQ(messages, QStringList{unableToWriteSettings()});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(std::filesystem::exists(folder.dat()));
}

TEST_F(DataFolderFault, RemovedDuringTheSessionTheDetailViewsShowTheDatabaseErrors) {
    openWindow();
    typedSearch("zh");
    doubleClickCell("GridXinHua", 0, 1);
    idiomSearch("百战");
    const QString characterShown = memo("Memo1");
    const QString idiomShown = memo("Memo2");
    ASSERT_TRUE(characterShown.startsWith(QString::fromUtf8("\n汉字：张(")));
    ASSERT_TRUE(idiomShown.startsWith(QString::fromUtf8("\n成语：百战不殆(")));

    std::filesystem::remove_all(folder.dat());
    doubleClickCell("GridXinHua", 0, 0);
    doubleClickCell("GridChengYu", 0, 1);
    EXPECT_EQ(errors, (QStringList{noDatabase("XinHua.db"), noDatabase("ChengYu.db")}));
    EXPECT_EQ(memo("Memo1"), characterShown);
    EXPECT_EQ(memo("Memo2"), idiomShown);

    // The index files stay open, so the searches still work; the meaning
    // search needs the database and keeps the grid as it was.
    typedSearch("guo");
    EXPECT_EQ(gridTexts("GridXinHua").first(), QString::fromUtf8("国"));
    meaningSearch("水");
    EXPECT_EQ(errors.size(), 3);
    EXPECT_EQ(errors.last(), noDatabase("XinHua.db"));
    EXPECT_EQ(gridTexts("GridXinHua").first(), QString::fromUtf8("国"));
    EXPECT_EQ(window->foundCharacters(), std::vector<std::int32_t>{2});
    idiomSearch("爱");
    EXPECT_EQ(cell("GridChengYu", 0, 0), QString::fromUtf8("爱不释手"));
    EXPECT_EQ(errors.size(), 4);  // its first entry is looked up at once
    EXPECT_EQ(memo("Memo2"), idiomShown);

    messages.clear();
    closeWindow();
    EXPECT_EQ(messages, QStringList{unableToWriteSettings()});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(std::filesystem::exists(folder.dat()));
}

}  // namespace
}  // namespace lexomir::testing
