// Odd dat/set.ini files and a settings file that cannot be written: the
// window opens where it can be seen, every value it cannot use falls back to
// its default, and at close the file holds the seven keys with sane values.
#include <sys/stat.h>

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <sstream>

#include "fault_fixture.h"
#include "named_case.h"
#include "open_files.h"
#include "result_grid.h"
#include "without_root_override.h"

namespace lexomir::testing {
namespace {

// A width or height below the window's least size shows as that size.
struct Geometry {
    int left = 10, top = 10, width = 400, height = 400;
    int GridXinHua = 160, GridChengYu = 160;
};

struct OddSettings : NamedCase {
    std::string text;
    Geometry shown;  // what the window must take from it
};

const char* const kSevenKeys[] = {"left",  "top",        "width",      "height",
                                  "state", "GridXinHua", "GridChengYu"};

// Lines of [window] that set key, however many there are.
int timesSetInWindowSection(const std::string& ini, const std::string& key) {
    std::istringstream lines(ini);
    std::string line;
    bool inWindow = false;
    int times = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.front() == '[') inWindow = line.rfind("[window]", 0) == 0;
        if (inWindow && line.rfind(key + "=", 0) == 0) ++times;
    }
    return times;
}

class SettingsFileFault : public FaultTest, public ::testing::WithParamInterface<OddSettings> {
  protected:
    void expectGeometry(const Geometry& g) {
        EXPECT_EQ(window->pos(), QPoint(g.left, g.top));
        EXPECT_EQ(window->size(), QSize(g.width, g.height).expandedTo(window->minimumSize()));
        EXPECT_EQ(control<ResultGrid>("GridXinHua")->height(), g.GridXinHua);
        EXPECT_EQ(control<ResultGrid>("GridChengYu")->height(), g.GridChengYu);
        EXPECT_FALSE(window->isMinimized());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_TRUE(screen.intersects(window->frameGeometry()))
            << "frame off the screen " << screen.width() << "x" << screen.height();
    }

    // Each of the seven keys once in [window], with the window's own values.
    void expectSevenSaneKeys(const Geometry& g) {
        const std::string ini = folder.readSettings();
        for (const char* key : kSevenKeys)
            EXPECT_EQ(timesSetInWindowSection(ini, key), 1) << key << " in\n" << ini;
        const auto value = [&](const char* key) {
            return settingsValue(folder.settingsFile(), QString::fromLatin1(key));
        };
        EXPECT_EQ(value("left"), QString::number(g.left));
        EXPECT_EQ(value("top"), QString::number(g.top));
        const QSize size = QSize(g.width, g.height).expandedTo(window->minimumSize());
        EXPECT_EQ(value("width"), QString::number(size.width()));
        EXPECT_EQ(value("height"), QString::number(size.height()));
        EXPECT_EQ(value("state"), QStringLiteral("0"));
        EXPECT_EQ(value("GridXinHua"), QString::number(g.GridXinHua));
        EXPECT_EQ(value("GridChengYu"), QString::number(g.GridChengYu));
    }
};

TEST_P(SettingsFileFault, TheWindowOpensSaneWorksAndWritesTheSevenKeys) {
    const OddSettings& odd = GetParam();
    writeFileBytes(folder.settingsFile(), odd.text);
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.dat());

    openWindow();
    expectGeometry(odd.shown);
    expectBothPagesWork();
    EXPECT_EQ(FolderSnapshot::changes(before, FolderSnapshot::withoutLookups(folder.dat())),
              std::vector<std::string>{});
    closeWindow();

    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    expectSevenSaneKeys(odd.shown);
    EXPECT_EQ(FolderSnapshot::changes(before, FolderSnapshot::withoutLookups(folder.dat())),
              std::vector<std::string>{"set.ini"});
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    OddFiles, SettingsFileFault,
    ::testing::Values(
        OddSettings{"GarbageText", "this is no settings file\n= =\n[[[\n;;\n]]]\nleft\n", {}},
        OddSettings{"EmptyValues",
                    "[window]\nleft=\ntop=\nwidth=\nheight=\nstate=\nGridXinHua=\nGridChengYu=\n",
                    {}},
        OddSettings{"NumbersBeyondInt",
                    "[window]\nleft=99999999999\ntop=2147483648\nwidth=2147483648\n"
                    "height=99999999999\nstate=2147483650\nGridXinHua=99999999999\n"
                    "GridChengYu=-2147483649\n",
                    {}},
        OddSettings{"NegativeNumbers",
                    "[window]\nleft=-5000\ntop=-5\nwidth=-5\nheight=-5\nstate=-5\nGridXinHua=-5\n"
                    "GridChengYu=-5\n",
                    {10, 10, 400, 400, 30, 30}},
        OddSettings{"NoSize",
                    "[window]\nleft=40\ntop=50\nwidth=-5\nheight=0\n",
                    {40, 50, 400, 400, 160, 160}},
        OddSettings{"LargestInts",
                    "[window]\nleft=2147483647\ntop=2147483647\nwidth=2147483647\n"
                    "height=2147483647\nstate=2147483647\nGridXinHua=2147483647\n"
                    "GridChengYu=2147483647\n",
                    {}},
        OddSettings{"HugeSizeOnTheScreen",
                    "[window]\nleft=20\ntop=30\nwidth=99999999\nheight=99999999\n"
                    "GridXinHua=99999999\nGridChengYu=99999999\n",
                    {20, 30, 400, 400, 160, 160}},
        OddSettings{"DuplicateKeys",
                    "[window]\nleft=40\nleft=60\nwidth=500\nwidth=520\nGridXinHua=200\n"
                    "[window]\ntop=70\ntop=80\nGridXinHua=170\n",
                    {60, 80, 520, 400, 170, 160}},
        OddSettings{"BinaryJunk",
                    "\xff\xfe\0\0[window]\nleft=\xff\x80\ntop=\0\0\nwidth=\xe2\x82\n\xc3\x28=1\n"
                    "height=\x01\x02\nGridXinHua=1\x00"
                    "2\nGridChengYu=\xef\xbb\xbf"
                    "170\n"s,
                    {}},
        OddSettings{"NoWindowSection",
                    "left=40\ntop=50\nwidth=700\nheight=600\nstate=2\nGridXinHua=210\n"
                    "GridChengYu=190\n",
                    {}}),
    CaseName());

struct OldSettings : NamedCase {
    std::string text;
};

// The folder turns read-only while the window is open; the file in it was
// readable and well-formed, or garbage that the window could not use.
class ReadOnlyFolderAtCloseFault : public FaultTest,
                                   public ::testing::WithParamInterface<OldSettings> {};

TEST_P(ReadOnlyFolderAtCloseFault, IsReportedOnceTheFilesAreClosedAndTheOldFileStays) {
    WithoutRootOverride withoutRoot;
    if (!withoutRoot.permissionsApply())
        GTEST_SKIP() << "cannot drop the permission override; mode bits would not apply";
    const std::string old = GetParam().text;
    writeFileBytes(folder.settingsFile(), old);
    openWindow();
    expectBothPagesWork();
    ASSERT_EQ(openFilesNamed("XinHua.dat"), 1);
    ASSERT_EQ(openFilesNamed("ChengYu.dat"), 1);
    window->move(60, 70);  // something new to save, which cannot be

    ASSERT_EQ(::chmod(folder.dat().c_str(), 0555), 0);
    closeWindow();
    ::chmod(folder.dat().c_str(), 0755);

    EXPECT_EQ(messages, QStringList{QStringLiteral("Unable to write to ") +
                                    QString::fromStdString(folder.settingsFile().string())});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(openFilesNamed("XinHua.dat"), 0);
    EXPECT_EQ(openFilesNamed("ChengYu.dat"), 0);
    EXPECT_EQ(readFileBytes(folder.settingsFile()), old);
    std::vector<std::string> datFiles;
    for (const auto& entry : std::filesystem::directory_iterator(folder.dat()))
        datFiles.push_back(entry.path().filename().string());
    std::sort(datFiles.begin(), datFiles.end());
    EXPECT_EQ(datFiles, (std::vector<std::string>{"ChengYu.dat", "ChengYu.db", "XinHua.dat",
                                                  "XinHua.db", "lookups.db", "set.ini"}));
}

INSTANTIATE_TEST_SUITE_P(
    OldFiles, ReadOnlyFolderAtCloseFault,
    ::testing::Values(OldSettings{"WellFormed",
                                  "[window]\nleft=40\ntop=50\nwidth=500\nheight=450\nstate=0\n"
                                  "GridXinHua=170\nGridChengYu=180\n"},
                      OldSettings{"Garbage", "= =\n[[[\n\xff\x01\nleft=60\n"}),
    CaseName());

}  // namespace
}  // namespace lexomir::testing
