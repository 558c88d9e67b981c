// Helpers shared by the core's tests: readable GBK literals and a search's
// filter asked about one record; the record bytes and the temporary folder
// come from the fixture files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fixture_files.h"
#include "gbk_codec.h"
#include "xinhua_record.h"
#include "xinhua_scan.h"

namespace lexomir::testing {

// Tests are written in UTF-8 and compared in GBK, the way the system holds text.
inline std::string gbk(std::string_view utf8) {
    return utf8ToGbk(utf8);
}

// Asks a search's record filter about one record built from its fields.
inline bool passes(const CharacterFilter& filter, const XinHuaIndexRecord& record,
                   std::int32_t recordNumber = 1) {
    const std::string bytes = xinhuaRecordBytes(record);
    return filter(recordNumber, XinHuaRecord(bytes.data()));
}

}  // namespace lexomir::testing
