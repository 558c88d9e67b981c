#include "xinhua_scan.h"

namespace lexomir {

ScanOutcome scanXinHua(IndexFile& file, const CharacterFilter& filter, const ScanHook& beforeRecord,
                       std::vector<std::int32_t>& VecXinHua, std::string& StrXinHua) {
    StrXinHua.clear();
    VecXinHua.clear();
    return scanRecords(file, beforeRecord, [&](std::int32_t k, const char* bytes) {
        const XinHuaRecord record(bytes);
        if (!filter(k, record)) return;
        const std::string_view character = record.character();
        // The grid and the detail view pair entry i with bytes 2i, 2i+1, so
        // only a proper two-byte character may be found.
        if (character.size() != 2) return;
        VecXinHua.push_back(k);
        StrXinHua.append(character);
    });
}

}  // namespace lexomir
