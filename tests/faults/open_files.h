// What this process holds open, read from /proc/self/fd: a file closed by the
// program is no longer there, whatever its handle object says.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace lexomir::testing {

// How many of the process's descriptors refer to a file with this name.
inline int openFilesNamed(const std::string& fileName) {
    int count = 0;
    std::error_code error;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(fd.path(), error);
        if (!error && target.filename() == fileName) ++count;
    }
    return count;
}

// How many of the process's descriptors are open on one of the files.
inline int openDescriptorsOn(const std::vector<std::filesystem::path>& files) {
    std::vector<std::filesystem::path> canonical;
    for (const auto& file : files) canonical.push_back(std::filesystem::weakly_canonical(file));
    int count = 0;
    std::error_code error;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(fd.path(), error);
        if (error) continue;
        count += static_cast<int>(std::count(canonical.begin(), canonical.end(), target));
    }
    return count;
}

}  // namespace lexomir::testing
