// The one pass over XinHua.dat that every character search makes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "index_file.h"
#include "xinhua_record.h"

namespace lexomir {

// A search's per-record test: record number (1-based) and the record.
using XinHuaTest = std::function<bool(std::int32_t recordNumber, const XinHuaRecord& record)>;

// Called before each record is read, with its number; the window moves its
// progress bar and processes events here. Returning false stops the scan.
using ScanHook = std::function<bool(std::int32_t recordNumber)>;

enum class ScanEnd { Completed, Stopped, Failed };

struct ScanOutcome {
    ScanEnd end = ScanEnd::Completed;
    std::optional<IndexFileError> error;  // set when end == Failed
};

// Empties both lists, rewinds the file, then reads recordCount() records in
// order; each record that passes appends its number to VecXinHua and its
// character (2 GBK bytes) to StrXinHua. On a failed or short read the scan
// ends with what it found on the bytes read so far. Exceptions from the test
// (a database failure) propagate.
ScanOutcome scanXinHua(IndexFile& file, const XinHuaTest& test, const ScanHook& beforeRecord,
                       std::vector<std::int32_t>& VecXinHua, std::string& StrXinHua);

}  // namespace lexomir
