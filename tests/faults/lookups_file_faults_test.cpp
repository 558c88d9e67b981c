// lookups.db, the second file the program writes, broken in every way a file
// can be: the store tells the failure once, never throws, leaves the file as
// it was and goes on with what it has (the file read-only, or lists kept in
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
#include <sstream>
#include <utility>

#include "cli_app.h"
#include "fixture_files.h"
#include "gbk_codec.h"
#include "named_case.h"
#include "without_root_override.h"
#include "word_list_export.h"

namespace lexomir::testing {
namespace {

namespace fs = std::filesystem;

const LookedUpEntry kZhong{EntryKind::Character, 1, utf8ToGbk("中"), "", ""};
const LookedUpEntry kGuo{EntryKind::Character, 2, utf8ToGbk("国"), "", ""};
const LookedUpEntry kShui{EntryKind::Character, 5, utf8ToGbk("水"), "", ""};  // shown meanwhile

std::vector<std::string> historyTexts(LookupStore& store) {
    std::vector<std::string> texts;
    for (const LookedUpEntry& entry : store.history()) texts.push_back(gbkToUtf8(entry.text));
    return texts;
}

// As the window leaves it: 国 and 中 shown, 中 listed.
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

// A test's lookups file, as the window left it before something broke it;
// the permissions are put back and the other program's lock let go after.
struct LookupsFile {
    LookupsFile() { writeKeptLookups(file); }
    ~LookupsFile() {
        if (locker) sqlite3_close(locker);
        ::chmod(folder.path().c_str(), 0755);
    }
    TempFolder folder;
    fs::path file = folder / "lookups.db";
    sqlite3* locker = nullptr;  // another program's connection
};

struct DamageCase : NamedCase {
    void (*damage)(LookupsFile&);
    bool needsModeBits;
    std::string reason;                // what the store tells
    bool keepsFile;                    // else the lists live in memory this run
    std::vector<std::string> history;  // after 水 was shown, newest first
    int cliStatus;                     // of lexomir-cli history; -1: not asked
};

class LookupsFileFault : public ::testing::TestWithParam<DamageCase> {};

TEST_P(LookupsFileFault, IsToldOnceLeavesTheFileAsItWasAndTheRestWorks) {
    const DamageCase& c = GetParam();
    LookupsFile lookups;
    c.damage(lookups);
    const fs::path& file = lookups.file;
    WithoutRootOverride withoutRoot;
    if (c.needsModeBits && !withoutRoot.permissionsApply())
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
        EXPECT_EQ(historyTexts(store), c.history);
        store.recordShown(kZhong);
        EXPECT_FALSE(store.takeError()) << "told twice";
    }
    EXPECT_EQ(readFileBytes(file), before);
    EXPECT_FALSE(fs::exists(lookups.folder / "gone"));

    if (c.cliStatus < 0) return;
    EXPECT_EQ(cli.status, c.cliStatus) << cli.err;
    EXPECT_EQ(cli.err, c.cliStatus == 0 ? ""
                                        : "lexomir-cli: cannot read the lookups file: " + c.reason +
                                              " (" + file.string() + ")\n");
}

const std::vector<std::string> kKept = {"国", "中"};
const std::vector<std::string> kThisRun = {"水"};
const std::string kCannotOpen = "unable to open database file: ";

INSTANTIATE_TEST_SUITE_P(
    Damages, LookupsFileFault,
    ::testing::Values(
        DamageCase{{"FolderMissing"},
                   [](LookupsFile& f) { f.file = f.folder / "gone" / "lookups.db"; },
                   false,
                   kCannotOpen + "No such file or directory",
                   false,
                   kThisRun,
                   0},
        DamageCase{{"RandomBytes"},
                   [](LookupsFile& f) { writeFileBytes(f.file, std::string(8192, 'Z')); },
                   false,
                   "file is not a database",
                   false,
                   kThisRun,
                   1},
        DamageCase{{"ForeignDatabase"},
                   [](LookupsFile& f) {
                       fs::remove(f.file);
                       executeSql(f.file, "create table notes (line text)");
                   },
                   false,
                   "not a Lexomir lookups file",
                   false,
                   kThisRun,
                   1},
        DamageCase{{"NewerVersion"},
                   [](LookupsFile& f) { executeSql(f.file, "pragma user_version = 2"); },
                   false,
                   "made by a newer Lexomir",
                   false,
                   kThisRun,
                   1},
        DamageCase{
            {"ColumnMissing"},
            [](LookupsFile& f) { executeSql(f.file, "alter table history drop column brief"); },
            false,
            "no such column: brief",
            false,
            kThisRun,
            1},
        DamageCase{{"CutShort"},
                   [](LookupsFile& f) { fs::resize_file(f.file, fs::file_size(f.file) / 2); },
                   false,
                   "database disk image is malformed",
                   false,
                   kThisRun,
                   1},
        DamageCase{{"Unreadable"},
                   [](LookupsFile& f) { ::chmod(f.file.c_str(), 0); },
                   true,
                   kCannotOpen + "Permission denied",
                   false,
                   kThisRun,
                   1},
        DamageCase{{"ReadOnlyFile"},
                   [](LookupsFile& f) { ::chmod(f.file.c_str(), 0444); },
                   true,
                   "attempt to write a readonly database",
                   true,
                   kKept,
                   0},
        // The folder turned read-only after the window chose it; a program
        // started now keeps its files in the user's folder, so the CLI is not
        // asked.
        DamageCase{{"ReadOnlyFolder"},
                   [](LookupsFile& f) { ::chmod(f.folder.path().c_str(), 0555); },
                   true,
                   "attempt to write a readonly database",
                   true,
                   kKept,
                   -1},
        DamageCase{{"LockedByAnotherProgram"},
                   [](LookupsFile& f) {
                       sqlite3_open(f.file.c_str(), &f.locker);
                       sqlite3_exec(f.locker, "begin exclusive", nullptr, nullptr, nullptr);
                   },
                   false,
                   "database is locked",
                   false,
                   kThisRun,
                   1}),
    CaseName());

// Another program holds the file while the window runs: the changes of that
// moment fail, told once; once it lets go, the same store writes again.
TEST(LookupsFileLockFault, ALockTakenWhileOpenFailsTheChangesOfThatMomentOnly) {
    LookupsFile lookups;
    LookupStore store(lookups.file, StoreAccess::ReadWrite);
    sqlite3_open(lookups.file.c_str(), &lookups.locker);
    sqlite3_exec(lookups.locker, "begin exclusive", nullptr, nullptr, nullptr);
    store.recordShown(kShui);
    EXPECT_EQ(store.toggleWord(kShui), std::nullopt);
    const std::optional<StoreError> error = store.takeError();
    sqlite3_close(std::exchange(lookups.locker, nullptr));  // rolls back

    EXPECT_EQ(error ? error->reason : "not told", "database is locked");
    store.recordShown(kShui);
    EXPECT_EQ(store.toggleWord(kShui), true);
    EXPECT_EQ(historyTexts(store), (std::vector<std::string>{"水", "国", "中"}));
    EXPECT_FALSE(store.takeError());
}

// The disk fills up while the window runs: the change that finds no room is
// rolled back whole and told once, the lists stay readable, an export leaves
// no part of a file behind, and once there is room the store writes again.
std::string fullDiskSession(const fs::path& folder) {
    std::ostringstream problems;
    const fs::path file = folder / "lookups.db";
    writeKeptLookups(file);
    LookupStore store(file, StoreAccess::ReadWrite);
    {
        std::ofstream filler(folder / "filler", std::ios::binary);
        const std::string block(4096, '\0');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    // The first changes may still find room in the file's free pages.
    std::optional<StoreError> error;
    std::string before;
    std::vector<std::string> historyBefore;
    for (int i = 0; i < 200 && !error; ++i) {
        before = readFileBytes(file);
        historyBefore = historyTexts(store);
        store.recordShown({EntryKind::Idiom, i, std::to_string(i), "", std::string(500, 'x')});
        error = store.takeError();
    }
    if (!error || error->reason != "database or disk is full")
        return "told: " + (error ? error->describe() : "nothing");
    if (readFileBytes(file) != before) problems << "the failed change reached the file\n";
    if (historyTexts(store) != historyBefore) problems << "the history changed\n";
    const CliResult cli = runCli(folder, "words");
    if (cli.status != 0 || cli.out != "character\t1\t中\t\t\n")
        problems << "lexomir-cli words: " << cli.status << " " << cli.out << cli.err << "\n";
    const std::optional<StoreError> exported =
        exportWordList(folder / "words.csv", store.words(), WordListFormat::Csv);
    if (!exported || exported->reason != "cannot write: No space left on device")
        problems << "export: " << (exported ? exported->describe() : "succeeded") << "\n";
    if (fs::exists(folder / "words.csv") || fs::exists(folder / "words.csv.part"))
        problems << "the export left a file\n";

    fs::remove(folder / "filler");
    store.recordShown(kShui);
    if (historyTexts(store).at(0) != "水") problems << "no write once there was room\n";
    if (store.takeError()) problems << "told twice\n";
    return problems.str();
}

TEST(LookupsFileFullDiskFault, AChangeThatFindsNoRoomIsRolledBackAndToldOnce) {
    TempFolder folder;
    // A child process with a mount namespace of its own puts a 256 KiB tmpfs
    // over the folder and reports what went wrong; the mount ends with it.
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string said =
            ::unshare(CLONE_NEWNS) == 0 &&
                    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    ::mount("tmpfs", folder.path().c_str(), "tmpfs", 0, "size=262144") == 0
                ? fullDiskSession(folder.path())
                : "\x01" + std::string(std::strerror(errno));
        [[maybe_unused]] const ssize_t written = ::write(report[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string problems;
    char buffer[4096];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) problems.append(buffer, n);
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the session died";
    if (problems.starts_with('\x01'))
        GTEST_SKIP() << "no private tmpfs to fill: " << problems.substr(1);
    EXPECT_EQ(problems, "");
}

}  // namespace
}  // namespace lexomir::testing
