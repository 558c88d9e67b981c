// A whole session leaves the program's folder as it found it, but for the
// settings file and the lookups file: the dictionaries are opened for reading
// only, and nothing else (journals, caches, lock files) is left behind.
#include <sys/inotify.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>
#include <set>

#include "fault_fixture.h"
#include "gbk_codec.h"
#include "handwriting_pad.h"
#include "lookup_store.h"
#include "result_grid.h"

namespace lexomir::testing {
namespace {

// Every name that is created, written, moved or removed in the watched
// folders while the object lives.
class FolderActivity {
  public:
    // The program's folder and its dat/ folder.
    explicit FolderActivity(const std::filesystem::path& root)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        watch(root, "");
        watch(root / "dat", "dat/");
    }
    ~FolderActivity() { ::close(m_fd); }
    FolderActivity(const FolderActivity&) = delete;
    FolderActivity& operator=(const FolderActivity&) = delete;

    bool watching() const { return m_fd >= 0 && m_prefixOf.size() == 2; }

    // "dat/set.ini" and the like, each name once.
    std::set<std::string> touchedNames() {
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0) break;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0) m_touched.insert(m_prefixOf[event->wd] + event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return m_touched;
    }

  private:
    void watch(const std::filesystem::path& folder, std::string prefix) {
        const int wd = inotify_add_watch(m_fd, folder.c_str(),
                                         IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_FROM |
                                             IN_MOVED_TO | IN_DELETE | IN_ATTRIB);
        if (wd >= 0) m_prefixOf[wd] = std::move(prefix);
    }

    int m_fd;
    std::map<int, std::string> m_prefixOf;
    std::set<std::string> m_touched;
};

bool isUnnamedTemporaryFile(std::string_view name) {
    constexpr std::string_view prefix = "dat/#";
    if (!name.starts_with(prefix) || name.size() == prefix.size()) return false;
    name.remove_prefix(prefix.size());
    return name.find_first_not_of("0123456789") == std::string_view::npos;
}

class SessionWrites : public FaultTest {
  protected:
    void closeNextModalWindow() {
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
    }
    // Double-clicks the last found entry, which the search did not show itself.
    void doubleClickLastFound(const char* gridName, std::size_t found) {
        ASSERT_GT(found, 0u);
        const int columns = control<ResultGrid>(gridName)->columnCount();
        const int k = static_cast<int>(found) - 1;
        doubleClickCell(gridName, k / columns, k % columns);
    }
    void everySearchAndView() {
        typedSearch("zh");
        doubleClickLastFound("GridXinHua", window->foundCharacters().size());
        window->GridXinHuaMouseUp(Qt::RightButton);
        typedSearch("中国");
        typedSearch("口");  // drawn from Strokes.db
        control<QAbstractButton>("BtnShouXie")->click();
        QTRY_VERIFY(window->findChild<HandwritingPad*>()->templatesReady());
        auto* radicals = control<QComboBox>("CboBuShou");
        radicalSearch(radicals->findText(QString::fromUtf8("口")), 2);
        strokeSearch(3);
        control<QComboBox>("CboZiMu2")->setCurrentIndex(26);  // z
        control<QPushButton>("Btn2")->click();
        control<QComboBox>("CboZiMu2")->setCurrentIndex(0);
        meaningSearch("水 火");
        doubleClickCell("GridXinHua", 0, 0);
        idiomSearch("百战");
        doubleClickLastFound("GridChengYu", window->foundIdioms().size());
        window->GridChengYuMouseUp(Qt::RightButton);
        for (const char* item : {"N1", "N2"}) {
            closeNextModalWindow();
            window->findChild<QAction*>(QString::fromLatin1(item))->trigger();
        }
    }
};

TEST_F(SessionWrites, OnlyTheSettingsAndLookupsFilesChangeInTheProgramsFolder) {
    folder.writeStrokeData();
    const FolderSnapshot before = FolderSnapshot::of(folder.root());
    FolderActivity activity(folder.root());

    openWindow();
    everySearchAndView();
    closeWindow();

    // The session did what it was meant to, so the check below means something.
    EXPECT_EQ(messages.size(), 3) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：水(")));
    EXPECT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：百战不殆之师(")));

    EXPECT_EQ(FolderSnapshot::changes(before, FolderSnapshot::of(folder.root())),
              (std::vector<std::string>{"dat/lookups.db", "dat/set.ini"}));
    LookupStore lookups(folder.dat() / "lookups.db", StoreAccess::ReadOnly);
    const std::vector<LookedUpEntry> history = lookups.history();
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(gbkToUtf8(history.front().text), "百战不殆之师");
    // Without inotify (a sandbox may refuse it) the snapshots above still hold.
    if (!activity.watching()) GTEST_SKIP() << "inotify is not available; transient files unchecked";
    // Nothing else is touched even for a moment, but for the settings file's
    // own atomic write (a lock file beside it, and an unnamed temporary file,
    // O_TMPFILE, that inotify names after its inode) and the lookups file's
    // journal.
    for (const std::string& name : activity.touchedNames())
        EXPECT_TRUE(name == "dat/set.ini" || name.starts_with("dat/set.ini.") ||
                    isUnnamedTemporaryFile(name) || name == "dat/lookups.db" ||
                    name == "dat/lookups.db-journal")
            << name;
}

}  // namespace
}  // namespace lexomir::testing
