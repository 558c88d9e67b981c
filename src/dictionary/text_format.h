// printf-style formatting into a std::string, for the system's messages that
// carry a number.
#pragma once

#include <string>

namespace lexomir {

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace lexomir
