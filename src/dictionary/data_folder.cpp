#include "data_folder.h"

#include <system_error>

namespace lexomir {

std::filesystem::path executableDirectory() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path(error);
    return exe.parent_path();
}

std::filesystem::path defaultDataFolder() {
    return executableDirectory() / "dat";
}

}  // namespace lexomir
