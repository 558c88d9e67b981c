// Where set.ini is kept: beside the program unless it runs from its installed
// folder or its dat/ cannot be written.
#include "settings_location.h"

#include <sys/stat.h>

#include <cstdlib>

#include "window_fixture.h"
#include "without_root_override.h"

namespace lexomir::testing {
namespace {

enum class Dat { Writable, ReadOnly, Missing };
enum class Installed { Elsewhere, Here, HereThroughALink };

struct LocationCase {
    const char* name;
    Installed installed;
    Dat dat;
    bool inUserFolder;
};

void PrintTo(const LocationCase& c, std::ostream* out) {
    *out << c.name;
}

class SettingsLocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(SettingsLocationTest, ChoosesTheProgramFolderOrTheUserFolder) {
    const LocationCase c = GetParam();
    TempFolder root;
    const auto app = root / "app";
    std::filesystem::create_directories(app);
    if (c.dat != Dat::Missing) std::filesystem::create_directory(app / "dat");
    std::filesystem::create_directory_symlink(app, root / "link");
    const SettingsPlaces places{c.installed == Installed::Elsewhere ? root / "installed"
                                : c.installed == Installed::Here    ? app
                                                                    : root / "link",
                                root / "config" / "lexomir"};

    WithoutRootOverride withoutRoot;
    if (c.dat == Dat::ReadOnly) {
        if (!withoutRoot.permissionsApply()) GTEST_SKIP() << "mode bits would not apply";
        ASSERT_EQ(::chmod((app / "dat").c_str(), 0555), 0);
    }
    const auto chosen = chooseSettingsFile(app, places);
    ::chmod((app / "dat").c_str(), 0755);

    EXPECT_EQ(chosen, (c.inUserFolder ? places.userFolder : app / "dat") / "set.ini");
    EXPECT_EQ(std::filesystem::is_directory(places.userFolder), c.inUserFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Places, SettingsLocationTest,
    ::testing::Values(LocationCase{"CopiedFolder", Installed::Elsewhere, Dat::Writable, false},
                      LocationCase{"CopiedFolderWithoutDat", Installed::Elsewhere, Dat::Missing,
                                   false},
                      LocationCase{"ReadOnlyCopy", Installed::Elsewhere, Dat::ReadOnly, true},
                      LocationCase{"InstalledFolder", Installed::Here, Dat::Writable, true},
                      LocationCase{"InstalledFolderThroughALink", Installed::HereThroughALink,
                                   Dat::Writable, true}),
    [](const ::testing::TestParamInfo<LocationCase>& info) { return info.param.name; });

// The window over a read-only dat/ keeps its settings in $XDG_CONFIG_HOME
// without a word, and finds them there at the next start.
using SettingsPlaceTest = WindowTest;

TEST_F(SettingsPlaceTest, AReadOnlyDataFolderKeepsTheSettingsInTheUserFolder) {
    WithoutRootOverride withoutRoot;
    if (!withoutRoot.permissionsApply()) GTEST_SKIP() << "mode bits would not apply";
    TempFolder config;
    ASSERT_EQ(::chmod(folder.dat().c_str(), 0555), 0);
    const char* savedConfigHome = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = savedConfigHome ? savedConfigHome : "";
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);

    openWindow();
    window->move(60, 70);
    closeWindow();
    openWindow();
    const QPoint restored = window->pos();
    closeWindow();

    ::chmod(folder.dat().c_str(), 0755);
    savedConfigHome ? ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(restored, QPoint(60, 70));
    EXPECT_EQ(settingsValue(config / "lexomir" / "set.ini", QStringLiteral("left")),
              QStringLiteral("60"));
    EXPECT_FALSE(std::filesystem::exists(folder.settingsFile()));
}

}  // namespace
}  // namespace lexomir::testing
