// The one pass over XinHua.dat that every character search makes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "found_list.h"
#include "record_scan.h"
#include "xinhua_record.h"

namespace lexomir {

// A search's record filter: record number (1-based) and the record; true keeps it.
using CharacterFilter = std::function<bool(std::int32_t recordNumber, const XinHuaRecord& record)>;

// Empties the list, rewinds the file, then reads recordCount() records in
// order; each record that passes is appended with its character (2 GBK bytes).
// On a failed or short read the scan ends with what it found on the bytes read
// so far. Exceptions from the filter (a database failure) propagate.
ScanOutcome scanXinHua(IndexFile& file, const CharacterFilter& filter, const ScanHook& beforeRecord,
                       FoundList& VecXinHua);

}  // namespace lexomir
