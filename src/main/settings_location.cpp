#include "settings_location.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <system_error>

#include "data_folder.h"

namespace lexomir {
namespace {

bool sameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code errorA;
    std::error_code errorB;
    const auto canonicalA = std::filesystem::canonical(a, errorA);
    const auto canonicalB = std::filesystem::canonical(b, errorB);
    return !errorA && !errorB && canonicalA == canonicalB;
}

// With the effective ids and capabilities, as a write would be checked.
bool writableFolder(const std::filesystem::path& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

std::filesystem::path chooseSettingsFile(const std::filesystem::path& appFolder,
                                         const SettingsPlaces& places) {
    const std::filesystem::path dat = appFolder / "dat";
    std::error_code error;
    // A missing dat/ keeps the place; the close reports that it cannot write there.
    const bool besideProgram = !sameFolder(appFolder, places.installedAppFolder) &&
                               (!std::filesystem::is_directory(dat, error) || writableFolder(dat));
    if (besideProgram) return dat / kSettingsFile;
    std::filesystem::create_directories(places.userFolder, error);
    return places.userFolder / kSettingsFile;
}

SettingsPlaces systemSettingsPlaces() {
    const QString configHome =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {LEXOMIR_INSTALLED_APP_FOLDER,
            std::filesystem::path(QFile::encodeName(configHome).toStdString()) / "lexomir"};
}

}  // namespace lexomir
