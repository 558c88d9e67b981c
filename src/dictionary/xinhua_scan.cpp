#include "xinhua_scan.h"

namespace lexomir {

ScanOutcome scanXinHua(IndexFile& file, const CharacterFilter& filter, const ScanHook& beforeRecord,
                       FoundList& VecXinHua) {
    VecXinHua.clear();
    return scanRecords(file, beforeRecord, [&](std::int32_t k, const char* bytes) {
        const XinHuaRecord record(bytes);
        if (!filter(k, record)) return;
        const std::string_view character = record.character();
        // A grid cell holds one character; a record without a proper
        // two-byte one has nothing to show.
        if (character.size() != 2) return;
        VecXinHua.push_back({k, std::string(character)});
    });
}

}  // namespace lexomir
