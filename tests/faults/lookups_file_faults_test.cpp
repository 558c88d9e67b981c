// lookups.db, the second file the program writes, broken in every way a file
// can be: the store tells the failure once, never throws, leaves the file as
// it was, and goes on with what it has (the file read-only, or lists kept in
// memory for the run); lexomir-cli says what is wrong and exits 1, or reads
// what can be read. Once the file is put right it is used again.
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli_app.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "lookup_store.h"
#include "named_case.h"
#include "without_root_override.h"
#include "word_list_export.h"

namespace lexomir::testing {
namespace {

namespace fs = std::filesystem;

LookedUpEntry characterEntry(std::int32_t record, const char* utf8) {
    return {EntryKind::Character, record, utf8ToGbk(utf8), "", ""};
}

const LookedUpEntry kZhong = characterEntry(1, "中");
const LookedUpEntry kGuo = characterEntry(2, "国");
const LookedUpEntry kShui = characterEntry(5, "水");  // shown while the file is broken

std::vector<std::string> textsOf(const std::vector<LookedUpEntry>& entries) {
    std::vector<std::string> texts;
    for (const LookedUpEntry& entry : entries) texts.push_back(gbkToUtf8(entry.text));
    return texts;
}

// A lookups file as the window leaves it: 国 and 中 shown, 中 listed.
void writeKeptLookups(const fs::path& file) {
    LookupStore store(file, StoreAccess::ReadWrite);
    store.recordShown(kZhong);
    store.recordShown(kGuo);
    store.addWord(kZhong);
}

struct CliResult {
    int status;
    std::string out, err;
};

CliResult runCli(const fs::path& dataFolder, const std::string& command) {
    std::ostringstream out, err;
    const int status =
        cli::runCommandLine({"--data", dataFolder.string(), command}, "/nonexistent", out, err);
    return {status, out.str(), err.str()};
}

enum class Damage {
    FolderMissing,
    RandomBytes,
    ForeignDatabase,
    NewerVersion,
    ColumnMissing,
    CutShort,
    Unreadable,
    ReadOnlyFile,
    ReadOnlyFolder,
    LockedByAnotherProgram,
};

struct DamageCase : NamedCase {
    Damage damage;
    std::string reason;                // what the store tells
    bool keepsFile;                    // else the lists live in memory this run
    std::vector<std::string> history;  // after 水 was shown, newest first
    int cliStatus;                     // of lexomir-cli history; -1: not asked (see below)
};

class LookupsFileFault : public ::testing::TestWithParam<DamageCase> {
  protected:
    void SetUp() override {
        writeKeptLookups(file);
        damage(GetParam().damage);
    }
    void TearDown() override {
        if (m_locker) sqlite3_close(m_locker);
        ::chmod(folder.path().c_str(), 0755);
        ::chmod(file.c_str(), 0644);
    }

    void damage(Damage kind) {
        switch (kind) {
            case Damage::FolderMissing:
                file = folder / "gone" / "lookups.db";
                break;
            case Damage::RandomBytes:
                writeFileBytes(file, std::string(8192, '\x5a'));
                break;
            case Damage::ForeignDatabase:
                fs::remove(file);
                executeSql(file, "create table notes (line text)");
                break;
            case Damage::NewerVersion:
                executeSql(file, "pragma user_version = 2");
                break;
            case Damage::ColumnMissing:
                executeSql(file, "alter table history drop column brief");
                break;
            case Damage::CutShort:
                fs::resize_file(file, fs::file_size(file) / 2);
                break;
            case Damage::Unreadable:
                ::chmod(file.c_str(), 0);
                break;
            case Damage::ReadOnlyFile:
                ::chmod(file.c_str(), 0444);
                break;
            case Damage::ReadOnlyFolder:
                ::chmod(folder.path().c_str(), 0555);
                break;
            case Damage::LockedByAnotherProgram:
                ASSERT_EQ(sqlite3_open(file.c_str(), &m_locker), SQLITE_OK);
                ASSERT_EQ(sqlite3_exec(m_locker, "begin exclusive", nullptr, nullptr, nullptr),
                          SQLITE_OK);
                break;
        }
    }

    TempFolder folder;
    fs::path file = folder / "lookups.db";
    sqlite3* m_locker = nullptr;
};

TEST_P(LookupsFileFault, IsToldOnceLeavesTheFileAsItWasAndTheRestWorks) {
    const DamageCase& c = GetParam();
    WithoutRootOverride withoutRoot;
    const bool needsModeBits = c.damage == Damage::Unreadable || c.damage == Damage::ReadOnlyFile ||
                               c.damage == Damage::ReadOnlyFolder;
    if (needsModeBits && !withoutRoot.permissionsApply())
        GTEST_SKIP() << "cannot drop the permission override; mode bits would not apply";
    const std::string before = readFileBytes(file);
    const CliResult cli = runCli(file.parent_path(), "history");
    {
        LookupStore store(file, StoreAccess::ReadWrite);
        store.recordShown(kShui);
        EXPECT_EQ(store.toggleWord(kShui).has_value(), !c.keepsFile);
        const std::optional<StoreError> error = store.takeError();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->describe(), c.reason + " (" + file.string() + ")");
        EXPECT_EQ(store.keepsFile(), c.keepsFile);
        EXPECT_EQ(textsOf(store.history()), c.history);
        store.recordShown(kZhong);
        EXPECT_FALSE(store.takeError()) << "told twice";
    }
    EXPECT_EQ(readFileBytes(file), before);
    EXPECT_EQ(fs::exists(folder / "gone"), false);

    if (c.cliStatus < 0) return;
    EXPECT_EQ(cli.status, c.cliStatus) << cli.err;
    if (c.cliStatus == cli::kExitFailure) {
        EXPECT_EQ(cli.err, "lexomir-cli: cannot read the lookups file: " + c.reason + " (" +
                               file.string() + ")\n");
    } else {
        EXPECT_EQ(cli.err, "");
    }
}

const std::vector<std::string> kKept = {"国", "中"};
const std::vector<std::string> kThisRun = {"水"};
const std::string kOpenFailure = "unable to open database file: ";

INSTANTIATE_TEST_SUITE_P(
    Damages, LookupsFileFault,
    ::testing::Values(
        DamageCase{{"FolderMissing"},
                   Damage::FolderMissing,
                   kOpenFailure + "No such file or directory",
                   false,
                   kThisRun,
                   0},
        DamageCase{
            {"RandomBytes"}, Damage::RandomBytes, "file is not a database", false, kThisRun, 1},
        DamageCase{{"ForeignDatabase"},
                   Damage::ForeignDatabase,
                   "not a Lexomir lookups file",
                   false,
                   kThisRun,
                   1},
        DamageCase{
            {"NewerVersion"}, Damage::NewerVersion, "made by a newer Lexomir", false, kThisRun, 1},
        DamageCase{
            {"ColumnMissing"}, Damage::ColumnMissing, "no such column: brief", false, kThisRun, 1},
        DamageCase{
            {"CutShort"}, Damage::CutShort, "database disk image is malformed", false, kThisRun, 1},
        DamageCase{{"Unreadable"},
                   Damage::Unreadable,
                   kOpenFailure + "Permission denied",
                   false,
                   kThisRun,
                   1},
        DamageCase{{"ReadOnlyFile"},
                   Damage::ReadOnlyFile,
                   "attempt to write a readonly database",
                   true,
                   kKept,
                   0},
        // The folder turned read-only after the window chose it; a program
        // started now keeps its files in the user's folder instead.
        DamageCase{{"ReadOnlyFolder"},
                   Damage::ReadOnlyFolder,
                   "attempt to write a readonly database",
                   true,
                   kKept,
                   -1},
        DamageCase{{"LockedByAnotherProgram"},
                   Damage::LockedByAnotherProgram,
                   "database is locked",
                   false,
                   kThisRun,
                   1}),
    CaseName());

// Another program holds the file while the window runs: the changes of that
// moment fail, told once; once it lets go, the same store writes again.
TEST(LookupsFileLockFault, ALockTakenWhileOpenFailsTheChangesOfThatMomentOnly) {
    TempFolder folder;
    const fs::path file = folder / "lookups.db";
    writeKeptLookups(file);
    LookupStore store(file, StoreAccess::ReadWrite);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    store.recordShown(kShui);
    EXPECT_EQ(store.toggleWord(kShui), std::nullopt);
    const std::optional<StoreError> error = store.takeError();
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    ASSERT_TRUE(error);
    EXPECT_EQ(error->reason, "database is locked");
    store.recordShown(kShui);
    EXPECT_EQ(store.toggleWord(kShui), true);
    EXPECT_EQ(textsOf(store.history()), (std::vector<std::string>{"水", "国", "中"}));
    EXPECT_EQ(textsOf(store.words()), (std::vector<std::string>{"中", "水"}));
    EXPECT_FALSE(store.takeError());
}

// Runs body in a child process whose private mount namespace has a tmpfs of
// the given size on mountPoint; the body's report of what went wrong, empty
// when all went well. Skips when the system grants no such namespace.
std::string onTinyFileSystem(const fs::path& mountPoint, std::size_t bytes,
                             const std::function<std::string()>& body) {
    int report[2];
    if (::pipe(report) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        std::string said;
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        bool isolated = ::unshare(CLONE_NEWNS) == 0;
        if (!isolated && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) {
            // Root inside a user namespace of our own, to mount there.
            std::ofstream("/proc/self/setgroups") << "deny";
            std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
            std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
            isolated = true;
        }
        const std::string size = "size=" + std::to_string(bytes);
        if (!isolated || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, size.c_str()) != 0) {
            said = std::string("\x01") + std::strerror(errno);
        } else {
            said = body();
        }
        [[maybe_unused]] const ssize_t written = ::write(report[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return "the child process died";
    return said;
}

// Writes to the folder until the file system is full; the file written.
fs::path fillUp(const fs::path& folder) {
    const fs::path filler = folder / "filler";
    std::ofstream out(filler, std::ios::binary);
    const std::string block(4096, '\0');
    while (out.write(block.data(), block.size()) && out.flush()) {
    }
    return filler;
}

// The disk fills up while the window runs: the change that finds no room is
// rolled back whole, told once, the lists stay readable, an export leaves no
// part of a file behind, and once there is room again the store writes.
std::string fullDiskSession(const fs::path& folder) {
    std::ostringstream problems;
    const fs::path file = folder / "lookups.db";
    writeKeptLookups(file);
    LookupStore store(file, StoreAccess::ReadWrite);
    const fs::path filler = fillUp(folder);

    // The first changes may still find room in the file's free pages.
    std::optional<StoreError> error;
    std::string before;
    std::vector<std::string> historyBefore;
    for (int i = 0; i < 200 && !error; ++i) {
        before = readFileBytes(file);
        historyBefore = textsOf(store.history());
        store.recordShown({EntryKind::Idiom, i, std::to_string(i), "", std::string(500, 'x')});
        error = store.takeError();
    }
    if (!error) return "the disk never filled";
    if (error->reason != "database or disk is full")
        problems << "told: " << error->describe() << "\n";
    if (readFileBytes(file) != before) problems << "the failed change reached the file\n";
    if (textsOf(store.history()) != historyBefore) problems << "the history changed\n";
    const CliResult cli = runCli(folder, "words");
    if (cli.status != 0 || cli.out != "character\t1\t中\t\t\n")
        problems << "lexomir-cli words: " << cli.status << " " << cli.out << cli.err << "\n";
    const std::optional<StoreError> exported =
        exportWordList(folder / "words.csv", store.words(), WordListFormat::Csv);
    if (!exported || exported->reason != "cannot write: No space left on device")
        problems << "export: " << (exported ? exported->describe() : "succeeded") << "\n";
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("words.csv"))
            problems << "export left " << entry.path() << "\n";
    }

    fs::remove(filler);
    store.recordShown(kShui);
    if (textsOf(store.history()).at(0) != "水") problems << "no write after room was made\n";
    if (store.takeError()) problems << "told twice\n";
    return problems.str();
}

TEST(LookupsFileFullDiskFault, AChangeThatFindsNoRoomIsRolledBackAndToldOnce) {
    TempFolder folder;
    const std::string problems =
        onTinyFileSystem(folder.path(), 256 * 1024, [&] { return fullDiskSession(folder.path()); });
    if (problems.starts_with('\x01'))
        GTEST_SKIP() << "no private tmpfs to fill (" << problems.substr(1) << ")";
    EXPECT_EQ(problems, "");
}

}  // namespace
}  // namespace lexomir::testing
