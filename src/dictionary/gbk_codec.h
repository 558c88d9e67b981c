// Conversion between the system's GBK text and UTF-8 at its edges (widgets,
// SQLite, the terminal). GB18030 is used because it is a superset of GBK that
// also maps the bamboo radical at FE 71.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace lexomir {

class TextConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Both throw TextConversionError on bytes that are not valid in the source
// encoding. Characters outside GBK become GB18030 four-byte sequences, which
// never match a record.
std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);

}  // namespace lexomir
