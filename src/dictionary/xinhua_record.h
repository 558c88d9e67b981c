// A read-only view of one XinHua.dat record.
#pragma once

#include <cstring>
#include <string_view>

#include "index_record_format.h"

namespace lexomir {

class XinHuaRecord {
  public:
    explicit XinHuaRecord(const char* bytes) : m_bytes(bytes) {}

    std::string_view character() const {
        return field(xinhua_record::kCharacterOffset, xinhua_record::kCharacterWidth);
    }
    std::string_view pinyin() const {
        return field(xinhua_record::kPinyinOffset, xinhua_record::kPinyinWidth);
    }
    std::string_view radical() const {
        return field(xinhua_record::kRadicalOffset, xinhua_record::kRadicalWidth);
    }
    unsigned strokes() const {
        return static_cast<unsigned char>(m_bytes[xinhua_record::kStrokesOffset]);
    }

  private:
    // The bytes up to the first NUL, never past the field's width.
    std::string_view field(std::size_t offset, std::size_t width) const {
        const char* start = m_bytes + offset;
        const void* nul = std::memchr(start, '\0', width);
        return {start, nul ? static_cast<const char*>(nul) - start : width};
    }

    const char* m_bytes;
};

}  // namespace lexomir
