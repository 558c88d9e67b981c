// Read-only access to one fixed-record index file, kept open between scans.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lexomir {

// What went wrong with an index file, for the window or terminal to show.
struct IndexFileError {
    std::filesystem::path file;
    std::string reason;         // English, e.g. "No such file or directory"
    std::string chineseReason;  // UTF-8, e.g. "没有那个文件或目录"

    // "Cannot read <file>: <reason>" in UTF-8, for the terminal.
    std::string describe() const;
    // "无法读取 <file>：<chineseReason>" in UTF-8, for the window.
    std::string describeInChinese() const;
};

class IndexFile {
  public:
    IndexFile() = default;  // closed; every rewind() reports it
    IndexFile(std::filesystem::path path, std::size_t recordSize, std::int32_t recordCount);
    ~IndexFile();
    IndexFile(IndexFile&& other) noexcept;
    IndexFile& operator=(IndexFile&& other) noexcept;
    IndexFile(const IndexFile&) = delete;
    IndexFile& operator=(const IndexFile&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::int32_t recordCount() const { return m_recordCount; }
    bool isOpen() const { return m_fd >= 0; }

    // Starts a new pass at record 1, discarding anything read before. Reports
    // the open failure, if the file could not be opened.
    std::optional<IndexFileError> rewind();

    // Reads the next record of this pass. Returns nullptr and sets error() when
    // the read fails, the file ends before recordCount() records or the pass
    // has read them all; the bytes returned are always bytes read during the
    // current pass.
    const char* nextRecord();
    const std::optional<IndexFileError>& error() const { return m_error; }

    void close();

  private:
    bool refill();
    // Sets why no record can be read, unless an error is set already; nullptr.
    const char* noRecord();

    std::filesystem::path m_path;
    std::size_t m_recordSize = 0;
    std::int32_t m_recordCount = 0;
    int m_fd = -1;
    std::optional<IndexFileError> m_openError;
    std::optional<IndexFileError> m_error;
    std::vector<char> m_block;
    std::size_t m_blockUsed = 0;
    std::size_t m_blockPos = 0;
    std::int32_t m_recordsRead = 0;
};

// The index files in a data folder, at their full record counts.
IndexFile openXinHuaIndex(const std::filesystem::path& dataFolder);
IndexFile openChengYuIndex(const std::filesystem::path& dataFolder);

}  // namespace lexomir
