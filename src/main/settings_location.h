// Where the window keeps set.ini. A program folder keeps it in its own dat/,
// so that a copied or unpacked folder carries its settings along; an installed
// program, or one whose dat/ cannot be written, keeps it in the user's
// configuration folder, since its dat/ belongs to the system.
#pragma once

#include <filesystem>

namespace lexomir {

struct SettingsPlaces {
    std::filesystem::path installedAppFolder;  // the folder a system install puts the program in
    std::filesystem::path userFolder;          // the user's own folder for these settings
};

// userFolder/set.ini when appFolder is the installed folder (as canonical
// paths) or appFolder/dat exists and cannot be written; appFolder/dat/set.ini
// otherwise. Creates userFolder when it chooses it, so that the close can write.
std::filesystem::path chooseSettingsFile(const std::filesystem::path& appFolder,
                                         const SettingsPlaces& places);

// The installed folder this build was configured for, and
// $XDG_CONFIG_HOME/lexomir.
SettingsPlaces systemSettingsPlaces();

}  // namespace lexomir
