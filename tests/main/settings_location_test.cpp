// The window keeps set.ini where the settings-location rule says, and finds
// it there at the next start.
#include <sys/stat.h>

#include <QAction>
#include <cstdlib>

#include "looked_up_list.h"
#include "window_fixture.h"
#include "without_root_override.h"

namespace lexomir::testing {
namespace {

// The window over a read-only dat/ keeps its settings and lookups.db in
// $XDG_CONFIG_HOME without a word, and finds them there at the next start.
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
    typedSearch("中");
    window->findChild<QAction*>(QStringLiteral("ActToggleWord"))->trigger();
    closeWindow();
    openWindow();
    const QPoint restored = window->pos();
    window->findChild<QAction*>(QStringLiteral("ActWords"))->trigger();
    const auto* words = window->findChild<LookedUpList*>(QStringLiteral("WordsWindow"));
    const std::size_t wordsListed = words ? words->entries().size() : 0;
    closeWindow();

    ::chmod(folder.dat().c_str(), 0755);
    savedConfigHome ? ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(restored, QPoint(60, 70));
    EXPECT_EQ(settingsValue(config / "lexomir" / "set.ini", QStringLiteral("left")),
              QStringLiteral("60"));
    EXPECT_FALSE(std::filesystem::exists(folder.settingsFile()));
    EXPECT_EQ(wordsListed, 1u);
    EXPECT_TRUE(std::filesystem::exists(config / "lexomir" / "lookups.db"));
    EXPECT_FALSE(std::filesystem::exists(folder.dat() / "lookups.db"));
}

}  // namespace
}  // namespace lexomir::testing
