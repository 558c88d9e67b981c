// Small data files that tests write for themselves: SQLite databases in the
// layout of XinHua.db / ChengYu.db and index files in the layout of
// XinHua.dat / ChengYu.dat, all inside a temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lexomir::testing {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

  private:
    std::filesystem::path m_path;
};

// A file's bytes, empty when it cannot be read.
std::string readFileBytes(const std::filesystem::path& file);
// Both throw std::runtime_error when the bytes cannot be written.
void writeFileBytes(const std::filesystem::path& file, std::string_view bytes);
void appendFileBytes(const std::filesystem::path& file, std::string_view bytes);

// Runs SQL on a database file, creating it when needed. Throws
// std::runtime_error with SQLite's message.
void executeSql(const std::filesystem::path& file, const std::string& sql);

// Overwrites the first page of a table's tree with junk, so that every row
// lookup in it meets a damaged page ("database disk image is malformed")
// while the file still opens and its schema reads.
void spoilTheRootPageOf(const std::filesystem::path& file, const std::string& table);

// One row of table xhzd; text in UTF-8, nullopt stores NULL.
struct XinHuaRow {
    std::int32_t id = 0;
    std::string zi, pinyin, py, bushou;
    std::optional<std::int32_t> bihua;
    std::string wubi;
    std::optional<std::string> jijie, xiangjie;
};
void writeXinHuaDatabase(const std::filesystem::path& file, const std::vector<XinHuaRow>& rows);

// One row of table ChengYu, UTF-8.
struct ChengYuRow {
    std::int32_t id = 0;
    std::string ChengYu, PinYin, DianGu, ChuChu, LiZi;
};
void writeChengYuDatabase(const std::filesystem::path& file, const std::vector<ChengYuRow>& rows);

// One XinHua.dat record, UTF-8 character and radical.
struct XinHuaIndexRecord {
    std::string character, pinyin, radical;
    unsigned strokes = 0;
};
// Its 57 bytes; each text field keeps its NUL. Throws std::invalid_argument
// for a field too long for its width.
std::string xinhuaRecordBytes(const XinHuaIndexRecord& record);
// The 35 bytes of a ChengYu.dat record.
std::string chengyuRecordBytes(std::string_view idiomUtf8);
// Writes the records first, then zero records up to recordCount.
void writeXinHuaIndex(const std::filesystem::path& file,
                      const std::vector<XinHuaIndexRecord>& records, std::int32_t recordCount);
// Idioms in UTF-8, then zero records up to recordCount.
void writeChengYuIndex(const std::filesystem::path& file, const std::vector<std::string>& idioms,
                       std::int32_t recordCount);

}  // namespace lexomir::testing
