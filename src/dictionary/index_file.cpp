#include "index_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "data_folder.h"
#include "index_record_format.h"

namespace lexomir {
namespace {

// Reading in blocks of whole records keeps a scan to a few system calls.
constexpr std::size_t kRecordsPerBlock = 4096;

std::string errnoText(int error) {
    return std::strerror(error);
}

}  // namespace

std::string IndexFileError::describe() const {
    return "Cannot read " + file.string() + ": " + reason;
}

IndexFile::IndexFile(std::filesystem::path path, std::size_t recordSize, std::int32_t recordCount)
    : m_path(std::move(path)), m_recordSize(recordSize), m_recordCount(recordCount) {
    // Read-only and without any lock, so a second running copy works too.
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) m_openError = IndexFileError{m_path, errnoText(errno)};
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
        m_error = m_openError ? *m_openError : IndexFileError{m_path, "the file is not open"};
        return m_error;
    }
    if (::lseek(m_fd, 0, SEEK_SET) < 0) {
        m_error = IndexFileError{m_path, errnoText(errno)};
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
            m_error = IndexFileError{m_path, errnoText(errno)};
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    m_blockUsed = got;
    m_blockPos = 0;
    if (got < m_recordSize) {
        m_error = IndexFileError{m_path, "the file ends after " + std::to_string(m_recordsRead) +
                                             " of " + std::to_string(m_recordCount) + " records"};
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
        m_error = IndexFileError{m_path,
                                 m_fd < 0 ? "the file is not open" : "every record has been read"};
    }
    return nullptr;
}

void IndexFile::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        m_openError = IndexFileError{m_path, "the file was closed"};
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
