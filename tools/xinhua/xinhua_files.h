// Writing XinHua.dat and XinHua.db from checked entries. Both hold the
// entries in the order buildXinHua gives them: common characters first, by the
// 2013 list's level (1, 2, 3, unlisted), then first reading toneless, tone,
// strokes and code point; record k is row id k.
#pragma once

#include <array>
#include <filesystem>
#include <vector>

#include "index_record_format.h"
#include "xinhua_builder.h"

namespace lexomir::xinhua {

using XinHuaRecordBytes = std::array<char, xinhua_record::kSize>;

// Throws BuildError when a field does not fit its width.
XinHuaRecordBytes encodeRecord(const XinHuaEntry& entry);

// Both write to a temporary file beside the target and rename it, so a
// failed build never leaves a half-written file behind.
void writeXinHuaDat(const std::vector<XinHuaEntry>& entries, const std::filesystem::path& file);
void writeXinHuaDb(const std::vector<XinHuaEntry>& entries, const std::filesystem::path& file);

}  // namespace lexomir::xinhua
