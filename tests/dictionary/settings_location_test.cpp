// Where set.ini and lookups.db are kept: beside the program unless it runs
// from its installed folder or its dat/ cannot be written.
#include "settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "fixture_files.h"
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

// The XDG rule: a relative $XDG_CONFIG_HOME does not count.
TEST(UserFolder, IsUnderAnAbsoluteXdgConfigHomeElseUnderHome) {
    const auto saved = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    const std::string home = saved("HOME"), xdgConfigHome = saved("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/u", 1);
    for (const auto& [xdg, userFolder] : {std::pair{"/x/conf", "/x/conf/lexomir"},
                                          {"", "/home/u/.config/lexomir"},
                                          {"conf", "/home/u/.config/lexomir"}}) {
        ::setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(systemSettingsPlaces().userFolder, std::filesystem::path(userFolder)) << xdg;
    }
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", xdgConfigHome.c_str(), 1);
}

}  // namespace
}  // namespace lexomir::testing
