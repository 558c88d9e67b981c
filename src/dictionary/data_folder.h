// Where the data files live: the folder dat beside the executable.
#pragma once

#include <filesystem>
#include <string_view>

namespace lexomir {

inline constexpr std::string_view kXinHuaIndexFile = "XinHua.dat";
inline constexpr std::string_view kChengYuIndexFile = "ChengYu.dat";
inline constexpr std::string_view kXinHuaDatabaseFile = "XinHua.db";
inline constexpr std::string_view kChengYuDatabaseFile = "ChengYu.db";
inline constexpr std::string_view kSettingsFile = "set.ini";
// The history and the word list, beside set.ini (settings_location.h).
inline constexpr std::string_view kLookupsFile = "lookups.db";

// The folder of the running executable (from /proc/self/exe).
std::filesystem::path executableDirectory();
// executableDirectory() / "dat".
std::filesystem::path defaultDataFolder();

}  // namespace lexomir
