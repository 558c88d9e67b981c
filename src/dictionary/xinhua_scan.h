// The one pass over XinHua.dat that every character search makes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "record_scan.h"
#include "xinhua_record.h"

namespace lexomir {

// A search's per-record test: record number (1-based) and the record.
using XinHuaTest = std::function<bool(std::int32_t recordNumber, const XinHuaRecord& record)>;

// Empties both lists, rewinds the file, then reads recordCount() records in
// order; each record that passes appends its number to VecXinHua and its
// character (2 GBK bytes) to StrXinHua. On a failed or short read the scan
// ends with what it found on the bytes read so far. Exceptions from the test
// (a database failure) propagate.
ScanOutcome scanXinHua(IndexFile& file, const XinHuaTest& test, const ScanHook& beforeRecord,
                       std::vector<std::int32_t>& VecXinHua, std::string& StrXinHua);

}  // namespace lexomir
