// Broken and busy databases: the error box shows SQLite's message with the
// file, the grids, lists and memos keep what they showed, and once the file
// is put right the next look-up and the next search work again.
#include <sqlite3.h>

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <ostream>
#include <random>
#include <tuple>

#include "fault_fixture.h"
#include "index_record_format.h"
#include "open_files.h"
#include "result_grid.h"

namespace lexomir::testing {
namespace {

// The three ways the window reads a database.
enum class Access { CharacterDetail, MeaningSearch, IdiomDetail };

enum class Damage {
    Missing,
    ZeroBytes,
    RandomBytes,
    TableMissing,
    ColumnMissing,
    DamagedPage,    // the page a lookup reaches
    ExclusiveLock,  // another program writes
    PendingLock,    // another program waits to write while a third one reads
    ReservedLock,   // another program has begun to write; readers may go on
};

const char* nameOf(Access access) {
    switch (access) {
        case Access::CharacterDetail:
            return "CharacterDetail";
        case Access::MeaningSearch:
            return "MeaningSearch";
        case Access::IdiomDetail:
            return "IdiomDetail";
    }
    return "";
}

const char* nameOf(Damage damage) {
    switch (damage) {
        case Damage::Missing:
            return "Missing";
        case Damage::ZeroBytes:
            return "ZeroBytes";
        case Damage::RandomBytes:
            return "RandomBytes";
        case Damage::TableMissing:
            return "TableMissing";
        case Damage::ColumnMissing:
            return "ColumnMissing";
        case Damage::DamagedPage:
            return "DamagedPage";
        case Damage::ExclusiveLock:
            return "ExclusiveLock";
        case Damage::PendingLock:
            return "PendingLock";
        case Damage::ReservedLock:
            return "ReservedLock";
    }
    return "";
}

void PrintTo(Access access, std::ostream* out) {
    *out << nameOf(access);
}

void PrintTo(Damage damage, std::ostream* out) {
    *out << nameOf(damage);
}

// A connection of another program to a database, here in the same process;
// closing it rolls back whatever it began.
class OtherConnection {
  public:
    explicit OtherConnection(const std::filesystem::path& file) {
        if (sqlite3_open(file.c_str(), &m_db) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << file << ": " << sqlite3_errmsg(m_db);
    }
    ~OtherConnection() { sqlite3_close(m_db); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;

    int run(const std::string& sql) {
        return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    void mustRun(const std::string& sql) {
        EXPECT_EQ(run(sql), SQLITE_OK) << sql << ": " << sqlite3_errmsg(m_db);
    }

  private:
    sqlite3* m_db = nullptr;
};

struct DatabaseFile {
    std::filesystem::path path;
    std::string table, shownColumn;
};

// A database broken in one way; the destructor puts it right again, byte for
// byte, and ends any other connection it opened.
class Breakage {
  public:
    Breakage(const DatabaseFile& file, Damage damage)
        : m_path(file.path), m_intact(readFileBytes(file.path)) {
        switch (damage) {
            case Damage::Missing:
                std::filesystem::remove(m_path);
                break;
            case Damage::ZeroBytes:
                std::filesystem::resize_file(m_path, 0);
                break;
            case Damage::RandomBytes:
                writeFileBytes(m_path, randomBytes(8192));
                break;
            case Damage::TableMissing:
                executeSql(m_path, "alter table " + file.table + " rename to gone");
                break;
            case Damage::ColumnMissing:
                executeSql(m_path,
                           "alter table " + file.table + " drop column " + file.shownColumn);
                break;
            case Damage::DamagedPage:
                spoilTheRootPageOf(m_path, file.table);
                break;
            case Damage::ExclusiveLock:
                other().mustRun("begin exclusive");
                break;
            case Damage::PendingLock: {
                other().mustRun("begin; select count(*) from " + file.table);
                OtherConnection& writer = other();
                writer.mustRun("begin immediate; update " + file.table + " set id = id");
                // The reader keeps the commit from its exclusive lock; the
                // writer is left holding the pending one.
                EXPECT_EQ(writer.run("commit"), SQLITE_BUSY);
                break;
            }
            case Damage::ReservedLock:
                other().mustRun("begin immediate; update " + file.table + " set " +
                                file.shownColumn + " = 'changed'");
                break;
        }
    }
    ~Breakage() {
        // The writer first: it holds the journal the reader would check.
        while (!m_others.empty()) m_others.pop_back();
        if (!std::filesystem::exists(m_path) || readFileBytes(m_path) != m_intact)
            writeFileBytes(m_path, m_intact);
    }
    Breakage(const Breakage&) = delete;
    Breakage& operator=(const Breakage&) = delete;

  private:
    OtherConnection& other() {
        m_others.push_back(std::make_unique<OtherConnection>(m_path));
        return *m_others.back();
    }
    static std::string randomBytes(std::size_t count) {
        std::mt19937 generator(20240611);
        std::string bytes(count, '\0');
        for (char& byte : bytes) byte = static_cast<char>(generator() & 0xff);
        return bytes;
    }

    std::filesystem::path m_path;
    std::string m_intact;
    std::vector<std::unique_ptr<OtherConnection>> m_others;
};

using DatabaseCase = std::tuple<Access, Damage>;

class DatabaseFault : public FaultTest, public ::testing::WithParamInterface<DatabaseCase> {
  protected:
    Access access() const { return std::get<0>(GetParam()); }
    Damage damage() const { return std::get<1>(GetParam()); }

    DatabaseFile database() const {
        if (access() == Access::IdiomDetail)
            return {folder.dat() / "ChengYu.db", "ChengYu", "LiZi"};
        return {folder.dat() / "XinHua.db", "xhzd", "jijie"};
    }

    // SQLite's message for the damage, with the file; empty when the window
    // reads on regardless.
    QString expectedError() const {
        const DatabaseFile file = database();
        std::string message;
        switch (damage()) {
            case Damage::Missing:
                message = "unable to open database file";
                break;
            case Damage::ZeroBytes:
            case Damage::TableMissing:
                message = "no such table: " + file.table;
                break;
            case Damage::RandomBytes:
                message = "file is not a database";
                break;
            case Damage::ColumnMissing:
                message = "no such column: " + file.shownColumn + " in table " + file.table;
                break;
            case Damage::DamagedPage:
                message = "database disk image is malformed";
                break;
            case Damage::ExclusiveLock:
            case Damage::PendingLock:
                message = "database is locked";
                break;
            case Damage::ReservedLock:
                return {};
        }
        return cannotReadMessage(file.path, message);
    }

    // Both pages show a result and an entry: 中 张 长 with 张's entry, and
    // 百战不殆 百战百胜 百战不殆之师 with the first one's.
    void showResults() {
        typedSearch("zh");
        doubleClickCell("GridXinHua", 0, 1);
        idiomSearch("百战");
        ASSERT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：张(")));
        ASSERT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：百战不殆(")));
        ASSERT_EQ(cell("GridChengYu", 0, 1), QString::fromUtf8("百战百胜"));
        ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        m_shown = shownNow();
    }

    void readTheDatabase() {
        switch (access()) {
            case Access::CharacterDetail:
                return doubleClickCell("GridXinHua", 0, 0);
            case Access::MeaningSearch:
                return meaningSearch("水");
            case Access::IdiomDetail:
                return doubleClickCell("GridChengYu", 0, 1);
        }
    }

    void expectTheDatabaseWasRead() {
        switch (access()) {
            case Access::CharacterDetail:
                EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：中(")));
                break;
            case Access::MeaningSearch:
                EXPECT_EQ(gridTexts("GridXinHua").first(), QString::fromUtf8("水"));
                EXPECT_EQ(window->foundCharacters(), std::vector<std::int32_t>{10});
                break;
            case Access::IdiomDetail:
                EXPECT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：百战百胜(")));
                break;
        }
    }

    struct Shown {
        QStringList characterGrid, idiomGrid;
        std::vector<std::int32_t> characters, idioms;
        QString memo1, memo2;
        bool operator==(const Shown&) const = default;
    };
    Shown shownNow() {
        return {gridTexts("GridXinHua"),
                gridTexts("GridChengYu"),
                window->foundCharacters(),
                window->foundIdioms(),
                memo("Memo1"),
                memo("Memo2")};
    }
    void expectShownAsBefore() {
        const Shown now = shownNow();
        EXPECT_EQ(now.characterGrid, m_shown.characterGrid);
        EXPECT_EQ(now.idiomGrid, m_shown.idiomGrid);
        EXPECT_EQ(now.characters, m_shown.characters);
        EXPECT_EQ(now.idioms, m_shown.idioms);
        EXPECT_EQ(now.memo1, m_shown.memo1);
        EXPECT_EQ(now.memo2, m_shown.memo2);
    }

    Shown m_shown;
};

TEST_P(DatabaseFault, TheErrorIsShownNothingShownChangesAndOncePutRightItWorksAgain) {
    openWindow();
    showResults();
    const FolderSnapshot intact = FolderSnapshot::withoutLookups(folder.dat());
    {
        const Breakage breakage(database(), damage());
        readTheDatabase();
        const QString expected = expectedError();
        if (expected.isEmpty()) {
            EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
            expectTheDatabaseWasRead();
            // What the other program has not committed is not seen.
            EXPECT_FALSE(memo("Memo1").contains(QStringLiteral("changed")));
            EXPECT_FALSE(memo("Memo2").contains(QStringLiteral("changed")));
        } else {
            EXPECT_EQ(errors, QStringList{expected});
            expectShownAsBefore();
        }
        for (const char* name : {"Btn1", "Btn2", "BtnChengYu"})
            EXPECT_TRUE(control<QPushButton>(name)->isEnabled()) << name;
    }
    EXPECT_EQ(FolderSnapshot::changes(intact, FolderSnapshot::withoutLookups(folder.dat())),
              std::vector<std::string>{});
    EXPECT_EQ(openFilesNamed(database().path.filename().string()), 0)
        << "the window keeps no database open between uses";

    errors.clear();
    readTheDatabase();
    expectTheDatabaseWasRead();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    expectBothPagesWork();
}

INSTANTIATE_TEST_SUITE_P(
    EachDatabase, DatabaseFault,
    ::testing::Combine(
        ::testing::Values(Access::CharacterDetail, Access::MeaningSearch, Access::IdiomDetail),
        ::testing::Values(Damage::Missing, Damage::ZeroBytes, Damage::RandomBytes,
                          Damage::TableMissing, Damage::ColumnMissing, Damage::DamagedPage,
                          Damage::ExclusiveLock, Damage::PendingLock, Damage::ReservedLock)),
    [](const ::testing::TestParamInfo<DatabaseCase>& info) {
        return std::string(nameOf(std::get<0>(info.param))) + nameOf(std::get<1>(info.param));
    });

// A meaning search looks every record up in XinHua.db. Here the database has
// a row for each record, with explanations long enough to fill some thousand
// pages, so that damage half way through the file is met half way through
// the scan.
class MidScanDatabaseFault : public FaultTest {
  protected:
    void SetUp() override {
        FaultTest::SetUp();
        std::filesystem::remove(xinhuaDb());
        writeXinHuaDatabase(xinhuaDb(), rowForEveryRecord());
        m_intact = readFileBytes(xinhuaDb());
        openWindow();
        typedSearch("zh");
        doubleClickCell("GridXinHua", 0, 1);
        ASSERT_EQ(window->foundCharacters(), (std::vector<std::int32_t>{1, 3, 4}));
        ASSERT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：张(")));
        m_memo = memo("Memo1");
    }

    std::filesystem::path xinhuaDb() const { return folder.dat() / "XinHua.db"; }
    QString malformed() const {
        return cannotReadMessage(xinhuaDb(), "database disk image is malformed");
    }

    static std::vector<XinHuaRow> rowForEveryRecord() {
        std::vector<XinHuaRow> rows;
        std::int32_t id = 1;
        for (const CharacterFixture& c : fixtureCharacters())
            rows.push_back({id++, c.character, c.toned, c.pinyin, c.radical,
                            static_cast<std::int32_t>(c.strokes), c.wubi, c.jijie, c.xiangjie});
        std::string filler;
        for (int i = 0; i < 40; ++i) filler += "说明";
        for (; id <= xinhua_record::kRecordCount; ++id)
            rows.push_back({id, "", "", "", "", 0, "", filler, filler});
        return rows;
    }

    // The grid, the found list and the detail view are still those of the
    // search before: a double click on each cell shows that character.
    void expectThePreviousResultInEveryPart() {
        EXPECT_EQ(gridTexts("GridXinHua").mid(0, 4),
                  (QStringList{QString::fromUtf8("中"), QString::fromUtf8("张"),
                               QString::fromUtf8("长"), QString()}));
        EXPECT_EQ(window->foundCharacters(), (std::vector<std::int32_t>{1, 3, 4}));
        EXPECT_EQ(memo("Memo1"), m_memo);
    }
    void expectEachCellShowsItsOwnEntry() {
        const char* characters[] = {"中", "张", "长"};
        for (int column = 0; column < 3; ++column) {
            doubleClickCell("GridXinHua", 0, column);
            EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：") +
                                                 QString::fromUtf8(characters[column]) +
                                                 QLatin1Char('(')))
                << memo("Memo1").toStdString();
        }
    }
    void expectTheMeaningSearchWorks() {
        const auto errorsBefore = errors.size();
        meaningSearch("水");
        EXPECT_EQ(window->foundCharacters(), std::vector<std::int32_t>{10});
        EXPECT_EQ(gridTexts("GridXinHua").first(), QString::fromUtf8("水"));
        EXPECT_EQ(errors.size(), errorsBefore) << errors.join(QLatin1Char('\n')).toStdString();
    }
    void putTheDatabaseRight() { writeFileBytes(xinhuaDb(), m_intact); }

    // Runs action from the scan's event processing once the window has the
    // database open.
    void onceTheDatabaseIsOpen(std::function<void()> action) {
        m_watch = std::make_unique<QTimer>();
        m_watch->setInterval(0);
        QObject::connect(m_watch.get(), &QTimer::timeout, [this, action = std::move(action)] {
            if (!window->isScanning() || openFilesNamed("XinHua.db") == 0) return;
            m_watch->stop();
            action();
        });
        m_watch->start();
    }

    // Notes how far the progress bar comes, with an event pass at each record.
    void watchHowFarTheScanComes() {
        window->forceEventPasses(1, xinhua_record::kRecordCount);
        m_watch = std::make_unique<QTimer>();
        m_watch->setInterval(0);
        QObject::connect(m_watch.get(), &QTimer::timeout, [this] {
            if (window->isScanning())
                m_reached = std::max(m_reached, control<QProgressBar>("ProgXinHua")->value());
        });
        m_watch->start();
    }

    // Whether a statement over the given ids runs to its end on the file.
    bool rowsReadable(std::int32_t fromId, std::int32_t toId) {
        OtherConnection reader(xinhuaDb());
        return reader.run("select count(jijie) from xhzd where id between " +
                          std::to_string(fromId) + " and " + std::to_string(toId)) == SQLITE_OK;
    }

    std::string m_intact;
    QString m_memo;
    std::unique_ptr<QTimer> m_watch;
    int m_reached = 0;
};

// A table leaf page in the middle of the file, overwritten with junk.
void spoilALeafPageHalfWay(const std::filesystem::path& file) {
    std::string bytes = readFileBytes(file);
    const std::size_t pageSize =
        (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    const std::size_t pages = bytes.size() / pageSize;
    constexpr char kTableLeaf = 0x0d;
    for (std::size_t page = pages / 2; page < pages; ++page) {
        if (bytes[page * pageSize] != kTableLeaf) continue;
        bytes.replace(page * pageSize, pageSize, std::string(pageSize, '\xff'));
        return writeFileBytes(file, bytes);
    }
    ADD_FAILURE() << "no table leaf page in the second half of " << file;
}

TEST_F(MidScanDatabaseFault, ASpoiledPageHalfWayEndsTheScanWithTheErrorAndKeepsTheResult) {
    spoilALeafPageHalfWay(xinhuaDb());
    ASSERT_TRUE(rowsReadable(1, 100));
    ASSERT_FALSE(rowsReadable(1, xinhua_record::kRecordCount));
    watchHowFarTheScanComes();
    meaningSearch("水");
    EXPECT_EQ(errors, QStringList{malformed()});
    // It ended at the spoiled page, well past the first rows and before the end.
    EXPECT_GT(m_reached, xinhua_record::kRecordCount / 4);
    EXPECT_LT(m_reached, xinhua_record::kRecordCount);
    expectThePreviousResultInEveryPart();
    // The first rows are whole, so the entries can be read even now.
    expectEachCellShowsItsOwnEntry();
    EXPECT_EQ(errors.size(), 1);

    putTheDatabaseRight();
    expectTheMeaningSearchWorks();
    expectBothPagesWork();
    EXPECT_EQ(readFileBytes(xinhuaDb()), m_intact);
}

TEST_F(MidScanDatabaseFault, AFileCutShortDuringTheScanIsAnErrorNotACrash) {
    onceTheDatabaseIsOpen([&] { std::filesystem::resize_file(xinhuaDb(), m_intact.size() / 2); });
    meaningSearch("水");
    EXPECT_EQ(errors, QStringList{malformed()});
    EXPECT_FALSE(m_watch->isActive());
    expectThePreviousResultInEveryPart();

    putTheDatabaseRight();
    expectEachCellShowsItsOwnEntry();
    expectTheMeaningSearchWorks();
    expectBothPagesWork();
    EXPECT_EQ(readFileBytes(xinhuaDb()), m_intact);
}

TEST_F(MidScanDatabaseFault, AFileRenamedOverTheOpenOneLeavesTheScanOnTheOldFile) {
    // The new file explains 水 without the keyword: only the old one finds it.
    std::vector<XinHuaRow> rows = rowForEveryRecord();
    rows[9].jijie = "河流。";
    rows[9].xiangjie = "江河。";
    const std::filesystem::path replacement = folder.dat() / "XinHua.db.new";
    writeXinHuaDatabase(replacement, rows);
    const std::string replacementBytes = readFileBytes(replacement);
    onceTheDatabaseIsOpen([&] { std::filesystem::rename(replacement, xinhuaDb()); });
    meaningSearch("水");
    EXPECT_FALSE(m_watch->isActive());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(window->foundCharacters(), std::vector<std::int32_t>{10});

    // Each use opens the file anew, so the next search reads the new one.
    meaningSearch("水");
    EXPECT_TRUE(window->foundCharacters().empty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    expectBothPagesWork();
    EXPECT_EQ(readFileBytes(xinhuaDb()), replacementBytes);
}

TEST_F(MidScanDatabaseFault, AFileRemovedDuringTheScanIsReadToTheEndThenMissed) {
    onceTheDatabaseIsOpen([&] { std::filesystem::remove(xinhuaDb()); });
    meaningSearch("水");
    EXPECT_FALSE(m_watch->isActive());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(window->foundCharacters(), std::vector<std::int32_t>{10});

    doubleClickCell("GridXinHua", 0, 0);
    EXPECT_EQ(errors, QStringList{cannotReadMessage(xinhuaDb(), "unable to open database file")});
    putTheDatabaseRight();
    doubleClickCell("GridXinHua", 0, 0);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：水(")));
    expectBothPagesWork();
}

}  // namespace
}  // namespace lexomir::testing
