// Rows of table-driven tests. A row type that derives from NamedCase names
// its test and prints as that name when it fails, instead of as its bytes.
#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>
#include <string>

namespace lexomir::testing {

struct NamedCase {
    const char* name;
};

template <typename Case>
requires std::derived_from<Case, NamedCase>
void PrintTo(const Case& row, std::ostream* out) {
    *out << row.name;
}

// The test name generator of INSTANTIATE_TEST_SUITE_P for NamedCase rows.
struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

}  // namespace lexomir::testing
