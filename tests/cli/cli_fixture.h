// A small data folder in the real layout for the command-line tests.
#pragma once

#include "fixture_files.h"

namespace lexomir::testing {

// Six characters and four idioms, with both databases.
void writeCliFixture(const std::filesystem::path& folder);

}  // namespace lexomir::testing
