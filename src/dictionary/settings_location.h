// Where the user's own files live: set.ini and lookups.db. A program folder
// keeps them in its own dat/, so that a copied or unpacked folder carries them
// along; an installed program, or one whose dat/ cannot be written, keeps them
// in the user's configuration folder, since its dat/ belongs to the system.
// The window and lexomir-cli both ask here, so that they find the same files.
#pragma once

#include <filesystem>
#include <string_view>

namespace lexomir {

struct SettingsPlaces {
    std::filesystem::path installedAppFolder;  // the folder a system install puts the program in
    std::filesystem::path userFolder;          // the user's own folder for these files
};

// userFolder when dataFolder is the installed folder's dat/ (as canonical
// paths) or exists and cannot be written; dataFolder otherwise. Only looks.
std::filesystem::path userFilesFolder(const std::filesystem::path& dataFolder,
                                      const SettingsPlaces& places);

// userFilesFolder / fileName, for a program about to write it: creates
// userFolder when it chooses it. A missing dataFolder keeps the place; the
// writer reports that it cannot write there.
std::filesystem::path chooseUserFile(const std::filesystem::path& dataFolder,
                                     const SettingsPlaces& places, std::string_view fileName);

// chooseUserFile for set.ini of the program in appFolder.
std::filesystem::path chooseSettingsFile(const std::filesystem::path& appFolder,
                                         const SettingsPlaces& places);

// The installed folder this build was configured for, and the user's
// configuration folder with lexomir in it: $XDG_CONFIG_HOME/lexomir when that
// is an absolute path, else ~/.config/lexomir.
SettingsPlaces systemSettingsPlaces();

}  // namespace lexomir
