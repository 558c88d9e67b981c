// Where set.ini and lookups.db are kept: beside the program unless it runs
// from its installed folder or its dat/ cannot be written.
#include "settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "fixture_files.h"
#include "named_case.h"
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

// Sets an environment variable, or removes it, until the object goes.
class EnvironmentVariable {
  public:
    EnvironmentVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_saved = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvironmentVariable() { m_saved ? ::setenv(m_name, m_saved->c_str(), 1) : ::unsetenv(m_name); }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_saved;
};

struct ConfigHomeCase : NamedCase {
    const char* xdgConfigHome;  // nullptr: not set
    const char* home;
    const char* userFolder;
};

class UserFolderTest : public ::testing::TestWithParam<ConfigHomeCase> {};

TEST_P(UserFolderTest, FollowsTheXdgRule) {
    const ConfigHomeCase& c = GetParam();
    const EnvironmentVariable xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
    const EnvironmentVariable home("HOME", c.home);
    EXPECT_EQ(systemSettingsPlaces().userFolder, std::filesystem::path(c.userFolder));
}

INSTANTIATE_TEST_SUITE_P(
    Environments, UserFolderTest,
    ::testing::Values(ConfigHomeCase{{"Set"}, "/x/conf", "/home/u", "/x/conf/lexomir"},
                      ConfigHomeCase{{"NotSet"}, nullptr, "/home/u", "/home/u/.config/lexomir"},
                      ConfigHomeCase{{"Empty"}, "", "/home/u", "/home/u/.config/lexomir"},
                      ConfigHomeCase{{"Relative"}, "conf", "/home/u", "/home/u/.config/lexomir"}),
    CaseName());

}  // namespace
}  // namespace lexomir::testing
