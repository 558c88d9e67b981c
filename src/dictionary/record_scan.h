// The one pass over an index file that every search makes: each record in
// file order, with a hook before each read that may stop the pass.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "index_file.h"

namespace lexomir {

// Called before each record is read, with its number; the window moves its
// progress bar and processes events here. Returning false stops the scan.
using ScanHook = std::function<bool(std::int32_t recordNumber)>;

enum class ScanEnd { Completed, Stopped, Failed };

struct ScanOutcome {
    ScanEnd end = ScanEnd::Completed;
    std::optional<IndexFileError> error;  // set exactly when end == Failed
};

// Rewinds the file, then reads its recordCount() records in order: asks
// beforeRecord (when set) before each read, and hands each record to
// onRecord(recordNumber, bytes). A failed rewind or read ends the scan with
// the file's error; exceptions from onRecord propagate.
template <typename OnRecord>
ScanOutcome scanRecords(IndexFile& file, const ScanHook& beforeRecord, OnRecord&& onRecord) {
    if (auto error = file.rewind()) return {ScanEnd::Failed, std::move(error)};
    for (std::int32_t k = 1; k <= file.recordCount(); ++k) {
        if (beforeRecord && !beforeRecord(k)) return {ScanEnd::Stopped, std::nullopt};
        const char* bytes = file.nextRecord();
        if (!bytes) return {ScanEnd::Failed, file.error()};
        onRecord(k, bytes);
    }
    return {};
}

}  // namespace lexomir
