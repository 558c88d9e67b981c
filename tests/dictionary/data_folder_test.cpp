#include "data_folder.h"

#include <gtest/gtest.h>

#include <cerrno>  // program_invocation_short_name
#include <filesystem>

namespace lexomir {
namespace {

TEST(DataFolder, IsTheFolderDatBesideTheRunningProgram) {
    const std::filesystem::path directory = executableDirectory();
    EXPECT_TRUE(directory.is_absolute());
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    // This test program itself lies in that folder.
    EXPECT_TRUE(std::filesystem::exists(directory / program_invocation_short_name));
    EXPECT_EQ(defaultDataFolder(), directory / "dat");
}

}  // namespace
}  // namespace lexomir
