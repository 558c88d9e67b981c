#include "index_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "data_folder.h"
#include "index_record_format.h"
#include "messages.h"

namespace lexomir {
namespace {

// Reading in blocks of whole records keeps a scan to a few system calls.
constexpr std::size_t kRecordsPerBlock = 4096;

// glibc's own Chinese texts need the zh_CN locale installed, which a
// minimal system lacks; these are the failures an open, seek or read meets.
std::string chineseErrnoText(int error) {
    switch (error) {
        case ENOENT:
            return "没有那个文件或目录";
        case EACCES:
            return "权限不够";
        case EPERM:
            return "不允许的操作";
        case EISDIR:
            return "是一个目录";
        case ENOTDIR:
            return "路径中有不是目录的部分";
        case ELOOP:
            return "符号链接的层数过多";
        case ENAMETOOLONG:
            return "文件名过长";
        case EMFILE:
        case ENFILE:
            return "打开的文件过多";
        case ENOMEM:
            return "内存不足";
        case EIO:
            return "输入/输出错误";
        case ENXIO:
        case ENODEV:
            return "没有那个设备";
        case EOVERFLOW:
            return "文件过大";
        default:
            return std::strerror(error);
    }
}

IndexFileError systemError(const std::filesystem::path& file, int error) {
    return {file, std::strerror(error), chineseErrnoText(error)};
}

IndexFileError notOpen(const std::filesystem::path& file) {
    return {file, "the file is not open", "文件没有打开"};
}

}  // namespace

std::string IndexFileError::describe() const {
    return "Cannot read " + file.string() + ": " + reason;
}

std::string IndexFileError::describeInChinese() const {
    return messages::cannotRead(file, chineseReason);
}

IndexFile::IndexFile(std::filesystem::path path, std::size_t recordSize, std::int32_t recordCount)
    : m_path(std::move(path)), m_recordSize(recordSize), m_recordCount(recordCount) {
    // Read-only and without any lock, so a second running copy works too.
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) m_openError = systemError(m_path, errno);
}

IndexFile::~IndexFile() {
    close();
}

IndexFile::IndexFile(IndexFile&& other) noexcept {
    *this = std::move(other);
}

IndexFile& IndexFile::operator=(IndexFile&& other) noexcept {
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_recordSize = other.m_recordSize;
        m_recordCount = other.m_recordCount;
        m_fd = std::exchange(other.m_fd, -1);
        m_openError = std::move(other.m_openError);
        m_error = std::move(other.m_error);
        m_block = std::move(other.m_block);
        m_blockUsed = std::exchange(other.m_blockUsed, 0);
        m_blockPos = std::exchange(other.m_blockPos, 0);
        m_recordsRead = std::exchange(other.m_recordsRead, 0);
    }
    return *this;
}

std::optional<IndexFileError> IndexFile::rewind() {
    m_blockUsed = 0;
    m_blockPos = 0;
    m_recordsRead = 0;
    m_error.reset();
    if (m_fd < 0) {
        m_error = m_openError ? *m_openError : notOpen(m_path);
        return m_error;
    }
    if (::lseek(m_fd, 0, SEEK_SET) < 0) {
        m_error = systemError(m_path, errno);
        return m_error;
    }
    return std::nullopt;
}

bool IndexFile::refill() {
    // Keep the start of a record cut off by the last read, so that record k
    // is always the bytes at (k - 1) * recordSize, even if the file grows
    // while a scan waits.
    const std::size_t carried = m_blockUsed - m_blockPos;
    m_block.resize(kRecordsPerBlock * m_recordSize);
    std::copy(m_block.begin() + static_cast<std::ptrdiff_t>(m_blockPos),
              m_block.begin() + static_cast<std::ptrdiff_t>(m_blockUsed), m_block.begin());
    const std::size_t recordsLeft = static_cast<std::size_t>(m_recordCount - m_recordsRead);
    const std::size_t wanted = std::min(recordsLeft, kRecordsPerBlock) * m_recordSize;
    std::size_t got = carried;
    while (got < wanted) {
        const ssize_t n = ::read(m_fd, m_block.data() + got, wanted - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            m_error = systemError(m_path, errno);
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    m_blockUsed = got;
    m_blockPos = 0;
    if (got < m_recordSize) {
        const std::string read = std::to_string(m_recordsRead);
        const std::string count = std::to_string(m_recordCount);
        m_error =
            IndexFileError{m_path, "the file ends after " + read + " of " + count + " records",
                           "文件只有 " + read + " 条完整的记录，应有 " + count + " 条"};
        return false;
    }
    return true;
}

const char* IndexFile::nextRecord() {
    if (m_error || m_fd < 0 || m_recordsRead >= m_recordCount) return noRecord();
    if (m_blockUsed - m_blockPos < m_recordSize && !refill()) return nullptr;
    const char* record = m_block.data() + m_blockPos;
    m_blockPos += m_recordSize;
    ++m_recordsRead;
    return record;
}

const char* IndexFile::noRecord() {
    if (!m_error) {
        m_error = m_fd < 0
                      ? notOpen(m_path)
                      : IndexFileError{m_path, "every record has been read", "所有记录都已读完"};
    }
    return nullptr;
}

void IndexFile::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        m_openError = IndexFileError{m_path, "the file was closed", "文件已经关闭"};
    }
}

IndexFile openXinHuaIndex(const std::filesystem::path& dataFolder) {
    return IndexFile(dataFolder / kXinHuaIndexFile, xinhua_record::kSize,
                     xinhua_record::kRecordCount);
}

IndexFile openChengYuIndex(const std::filesystem::path& dataFolder) {
    return IndexFile(dataFolder / kChengYuIndexFile, chengyu_record::kSize,
                     chengyu_record::kRecordCount);
}

}  // namespace lexomir
