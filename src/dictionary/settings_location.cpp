#include "settings_location.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "data_folder.h"

namespace lexomir {
namespace {

// Through links, and for a path whose end does not exist yet.
bool samePlace(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code errorA;
    std::error_code errorB;
    const auto canonicalA = std::filesystem::weakly_canonical(a, errorA);
    const auto canonicalB = std::filesystem::weakly_canonical(b, errorB);
    return !errorA && !errorB && canonicalA == canonicalB;
}

// With the effective ids and capabilities, as a write would be checked.
bool writableFolder(const std::filesystem::path& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
}

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    // A service or a cleared environment: the account's own entry.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_dir;
    return "/";
}

}  // namespace

std::filesystem::path userFilesFolder(const std::filesystem::path& dataFolder,
                                      const SettingsPlaces& places) {
    std::error_code error;
    const bool besideProgram =
        !samePlace(dataFolder, places.installedAppFolder / "dat") &&
        (!std::filesystem::is_directory(dataFolder, error) || writableFolder(dataFolder));
    return besideProgram ? dataFolder : places.userFolder;
}

std::filesystem::path chooseUserFile(const std::filesystem::path& dataFolder,
                                     const SettingsPlaces& places, std::string_view fileName) {
    const std::filesystem::path folder = userFilesFolder(dataFolder, places);
    std::error_code error;
    if (folder == places.userFolder) std::filesystem::create_directories(folder, error);
    return folder / fileName;
}

std::filesystem::path chooseSettingsFile(const std::filesystem::path& appFolder,
                                         const SettingsPlaces& places) {
    return chooseUserFile(appFolder / "dat", places, kSettingsFile);
}

SettingsPlaces systemSettingsPlaces() {
    // The XDG rule: a relative $XDG_CONFIG_HOME is ignored.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::filesystem::path configFolder =
        configHome != nullptr && std::filesystem::path(configHome).is_absolute()
            ? std::filesystem::path(configHome)
            : homeFolder() / ".config";
    return {LEXOMIR_INSTALLED_APP_FOLDER, configFolder / "lexomir"};
}

}  // namespace lexomir
