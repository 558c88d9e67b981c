// lookups.db broken under the real window, before it opens the file or while
// it runs: the window says so once, every entry still shows, and back, ★ and
// the history go on (in memory when the file cannot be used at all); once the
// file is put right it is written again. An export to a place that cannot be
// written says so. A blank field typed into and copied text that is no
// Chinese word do nothing at all.
#include <fcntl.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "detail_bar.h"
#include "fault_fixture.h"
#include "gbk_codec.h"
#include "messages.h"
#include "named_case.h"
#include "without_root_override.h"

namespace lexomir::testing {
namespace {

namespace fs = std::filesystem;

// A small tmpfs over a folder, in a mount namespace of the calling thread's
// own, which it leaves again at the end; the window runs on this thread.
class PrivateTmpfs {
  public:
    PrivateTmpfs(const fs::path& folder, const char* options)
        : m_home(::open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC)) {
        m_unshared = m_home >= 0 && ::unshare(CLONE_NEWNS) == 0;
        if (m_unshared && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options) == 0)
            m_mounted = folder;
        if (m_mounted.empty()) reason = std::strerror(errno);
    }
    ~PrivateTmpfs() {
        if (!m_mounted.empty()) ::umount2(m_mounted.c_str(), MNT_DETACH);
        if (m_unshared) ::setns(m_home, CLONE_NEWNS);
        if (m_home >= 0) ::close(m_home);
    }
    bool mounted() const { return !m_mounted.empty(); }
    std::string reason;

  private:
    int m_home;
    bool m_unshared = false;
    fs::path m_mounted;
};

class LookupsWindowTest : public FaultTest {
  public:
    ~LookupsWindowTest() override {
        if (locker) sqlite3_close(locker);
        ::chmod(dat().c_str(), 0755);
        window.reset();  // before the tmpfs goes
    }
    // What the cases break and mend.
    fs::path dat() const { return folder.dat(); }
    fs::path lookups() const { return dat() / "lookups.db"; }
    void lock() {
        sqlite3_open(lookups().c_str(), &locker);
        sqlite3_exec(locker, "begin exclusive", nullptr, nullptr, nullptr);
    }
    void fillTheDisk() {
        std::ofstream filler(dat() / "filler", std::ios::binary);
        const std::string block(65536, '\0');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    sqlite3* locker = nullptr;  // another program's connection

  protected:
    QToolButton* bar(const char* button) {
        return control<DetailBar>("DetailBar1")->findChild<QToolButton*>(QLatin1String(button));
    }
    QStringList historyListed() {
        control<QAction>("ActHistory")->trigger();
        const QAbstractItemModel* rows = control<QTableView>("HistoryList")->model();
        QStringList texts;
        for (int row = 0; row < rows->rowCount(); ++row)
            texts.append(rows->index(row, 0).data().toString());
        return texts;
    }
    std::optional<PrivateTmpfs> tmpfs;
};

enum class Needs { Nothing, ModeBits, PrivateMount };

struct BrokenLookups : NamedCase {
    bool whileOpen;  // broken once the window has written the file, else before it opens it
    void (*breakIt)(LookupsWindowTest&);
    void (*mendIt)(LookupsWindowTest&);
    std::string reason;
    QStringList history;  // what the history list shows at the end
    Needs needs = Needs::Nothing;
};

class LookupsWindowFault : public LookupsWindowTest,
                           public ::testing::WithParamInterface<BrokenLookups> {};

TEST_P(LookupsWindowFault, IsToldOnceAndEveryEntryStillShows) {
    const BrokenLookups& c = GetParam();
    if (c.needs == Needs::PrivateMount) {
        tmpfs.emplace(folder.dat(), "size=8m");
        if (!tmpfs->mounted()) GTEST_SKIP() << "no private tmpfs to fill: " << tmpfs->reason;
        folder.writeDictionaries();
    }
    if (!c.whileOpen) {
        LookupStore(lookups(), StoreAccess::ReadWrite)
            .recordShown({EntryKind::Idiom, 1, utf8ToGbk("百战不殆"), "", ""});
        c.breakIt(*this);
    }
    const std::string before = c.whileOpen ? "" : readFileBytes(lookups());
    std::optional<WithoutRootOverride> withoutRoot;
    if (c.needs == Needs::ModeBits && !withoutRoot.emplace().permissionsApply())
        GTEST_SKIP() << "cannot drop the permission override; mode bits would not apply";
    openWindow();
    typedSearch("zh");
    doubleClickCell("GridXinHua", 0, 0);
    if (c.whileOpen) c.breakIt(*this);
    doubleClickCell("GridXinHua", 0, 1);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：张(")));
    bar("BtnBack")->click();
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：中(")));
    bar("BtnForward")->click();
    if (c.mendIt) c.mendIt(*this);
    bar("BtnWord")->click();

    EXPECT_TRUE(bar("BtnWord")->isChecked());
    EXPECT_EQ(historyListed(), c.history);
    EXPECT_EQ(messages, QStringList{QString::fromStdString(
                            messages::cannotKeepLookups(lookups(), c.reason, !c.whileOpen))});
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    withoutRoot.reset();
    if (!c.whileOpen) {
        EXPECT_EQ(readFileBytes(lookups()), before);
        return;
    }
    const std::vector<LookedUpEntry> words = LookupStore(lookups(), StoreAccess::ReadOnly).words();
    ASSERT_EQ(words.size(), 1u) << "once put right, the file is written again";
    EXPECT_EQ(gbkToUtf8(words[0].text), "张");
}

const QStringList kInMemory = utf8List({"张", "中", "张", "中"});
const QStringList kKeptBeforeTheFault = utf8List({"中"});

INSTANTIATE_TEST_SUITE_P(
    Lookups, LookupsWindowFault,
    ::testing::Values(BrokenLookups{{"Damaged"},
                                    false,
                                    [](LookupsWindowTest& t) {
                                        writeFileBytes(t.lookups(), std::string(8192, 'Z'));
                                    },
                                    nullptr,
                                    "file is not a database",
                                    kInMemory},
                      BrokenLookups{{"LockedAtStart"},
                                    false,
                                    [](LookupsWindowTest& t) { t.lock(); },
                                    nullptr,
                                    "database is locked",
                                    kInMemory},
                      BrokenLookups{{"Unreadable"},
                                    false,
                                    [](LookupsWindowTest& t) { ::chmod(t.lookups().c_str(), 0); },
                                    nullptr,
                                    "unable to open database file: Permission denied",
                                    kInMemory,
                                    Needs::ModeBits},
                      BrokenLookups{{"FolderTurnsReadOnly"},
                                    true,
                                    [](LookupsWindowTest& t) { ::chmod(t.dat().c_str(), 0555); },
                                    [](LookupsWindowTest& t) { ::chmod(t.dat().c_str(), 0755); },
                                    "attempt to write a readonly database",
                                    kKeptBeforeTheFault,
                                    Needs::ModeBits},
                      BrokenLookups{{"LockedMidRun"},
                                    true,
                                    [](LookupsWindowTest& t) { t.lock(); },
                                    [](LookupsWindowTest& t) {
                                        sqlite3_close(std::exchange(t.locker, nullptr));
                                    },
                                    "database is locked",
                                    kKeptBeforeTheFault},
                      BrokenLookups{{"DiskFillsUp"},
                                    true,
                                    [](LookupsWindowTest& t) { t.fillTheDisk(); },
                                    [](LookupsWindowTest& t) { fs::remove(t.dat() / "filler"); },
                                    "database or disk is full",
                                    kKeptBeforeTheFault,
                                    Needs::PrivateMount}),
    CaseName());

struct UnwritableExport : NamedCase {
    const char* file;  // in the program's folder
    void (*prepare)(const fs::path& root);
    std::string reason;
};

class ExportFault : public LookupsWindowTest,
                    public ::testing::WithParamInterface<UnwritableExport> {};

TEST_P(ExportFault, IsToldAndLeavesNoFile) {
    const UnwritableExport& c = GetParam();
    const fs::path file = folder.root() / c.file;
    c.prepare(folder.root());
    const FolderSnapshot before = FolderSnapshot::of(folder.root());
    openWindow();
    typedSearch("中");
    bar("BtnWord")->click();
    window->findChild<LookupControls*>()->setExportFileChooser([&](QWidget*) {
        return LookupControls::ExportTarget{file, WordListFormat::Csv};
    });
    control<QAction>("ActExportWords")->trigger();
    EXPECT_EQ(messages,
              QStringList{QString::fromStdString(messages::cannotExportWords(file, c.reason))});
    fs::remove(folder.dat() / "lookups.db");
    EXPECT_EQ(FolderSnapshot::changes(before, FolderSnapshot::of(folder.root())),
              std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Places, ExportFault,
    ::testing::Values(UnwritableExport{{"FolderMissing"},
                                       "gone/words.csv",
                                       [](const fs::path&) {},
                                       "cannot create a file beside it: No such file or directory"},
                      UnwritableExport{
                          {"AFolderOfThatName"},
                          "words.csv",
                          [](const fs::path& root) { fs::create_directory(root / "words.csv"); },
                          "cannot replace: Is a directory"}),
    CaseName());

struct NoWord : NamedCase {
    const char* text;
};

class TypedOrCopiedBadInput : public LookupsWindowTest,
                              public ::testing::WithParamInterface<NoWord> {};

// A blank field typed into does not search, and copied text that is not one
// to twelve Chinese characters is not looked up: no message, nothing changes.
TEST_P(TypedOrCopiedBadInput, DoesNothing) {
    openWindow();
    control<QAction>("ActWatchClipboard")->trigger();
    const QString text = QString::fromUtf8(GetParam().text);
    if (text.trimmed().isEmpty()) {
        for (const char* name : {"LedtPinYin", "LedtChengYu"})
            typeInto(control<QLineEdit>(name), GetParam().text);
    }
    QGuiApplication::clipboard()->setText(text);
    QTest::qWait(3 * SearchAsYouType::kPause.count());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(window->foundCharacters().empty());
    EXPECT_TRUE(window->foundIdioms().empty());
    EXPECT_EQ(control<QLineEdit>("LedtChengYu")->text(), text.trimmed().isEmpty() ? text : "");
    EXPECT_EQ(control<QTabWidget>("Page1")->currentIndex(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedOrCopiedBadInput,
    ::testing::Values(NoWord{{"Blanks"}, "   "}, NoWord{{"Letters"}, "zhong"},
                      NoWord{{"Mixed"}, "中a"}, NoWord{{"BlankInside"}, "中 国"},
                      NoWord{{"Punctuation"}, "，。"},
                      NoWord{{"ThirteenCharacters"}, "一二三四五六七八九十百千万"},
                      NoWord{{"OutsideGbk"}, "𠀀"}),
    CaseName());

}  // namespace
}  // namespace lexomir::testing
