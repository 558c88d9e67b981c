#include "xinhua_scan.h"

namespace lexomir {

ScanOutcome scanXinHua(IndexFile& file, const XinHuaTest& test, const ScanHook& beforeRecord,
                       std::vector<std::int32_t>& VecXinHua, std::string& StrXinHua) {
    StrXinHua.clear();
    VecXinHua.clear();
    if (auto error = file.rewind()) return {ScanEnd::Failed, std::move(error)};

    for (std::int32_t k = 1; k <= file.recordCount(); ++k) {
        if (beforeRecord && !beforeRecord(k)) return {ScanEnd::Stopped, std::nullopt};
        const char* bytes = file.nextRecord();
        if (!bytes) return {ScanEnd::Failed, file.error()};
        const XinHuaRecord record(bytes);
        if (!test(k, record)) continue;
        const std::string_view character = record.character();
        // The grid and the detail view pair entry i with bytes 2i, 2i+1, so
        // only a proper two-byte character may be found.
        if (character.size() != 2) continue;
        VecXinHua.push_back(k);
        StrXinHua.append(character);
    }
    return {};
}

}  // namespace lexomir
