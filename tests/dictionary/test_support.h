// Helpers shared by the core's tests: readable GBK literals, record bytes and
// fixture files in a private temporary folder.
#pragma once

#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "gbk_codec.h"
#include "index_record_format.h"
#include "xinhua_record.h"
#include "xinhua_scan.h"

namespace lexomir::testing {

// Tests are written in UTF-8 and compared in GBK, the way the system holds text.
inline std::string gbk(std::string_view utf8) {
    return utf8ToGbk(utf8);
}

struct XinHuaFields {
    std::string character;  // UTF-8
    std::string pinyin;
    std::string radical;  // UTF-8
    unsigned strokes = 0;
};

// The 57 bytes of a XinHua.dat record; text fields keep their NUL.
inline std::string xinhuaRecordBytes(const XinHuaFields& fields) {
    namespace f = xinhua_record;
    std::string bytes(f::kSize, '\0');
    bytes.replace(f::kCharacterOffset, gbk(fields.character).size(), gbk(fields.character));
    bytes.replace(f::kPinyinOffset, fields.pinyin.size(), fields.pinyin);
    bytes.replace(f::kRadicalOffset, gbk(fields.radical).size(), gbk(fields.radical));
    bytes[f::kStrokesOffset] = static_cast<char>(fields.strokes);
    return bytes;
}

// Asks a search's record filter about one record built from fields.
inline bool passes(const CharacterFilter& filter, const XinHuaFields& fields,
                   std::int32_t recordNumber = 1) {
    const std::string bytes = xinhuaRecordBytes(fields);
    return filter(recordNumber, XinHuaRecord(bytes.data()));
}

// The 35 bytes of a ChengYu.dat record.
inline std::string chengyuRecordBytes(std::string_view idiomUtf8) {
    std::string bytes(chengyu_record::kSize, '\0');
    const std::string text = gbk(idiomUtf8);
    bytes.replace(0, text.size(), text);
    return bytes;
}

// A folder of its own under the system's temporary folder, removed at the end.
class TempDir {
  public:
    TempDir() {
        static int counter = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("lexomir-dictionary-tests-" + std::to_string(::getpid()) + "-" +
                  std::to_string(++counter));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace lexomir::testing
