// Helpers shared by the fuzz targets: invariant checks that libFuzzer sees
// as crashes, control indexes that are mostly in range, and an in-memory
// index file for the scans.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace lexomir::fuzzing {

[[noreturn]] inline void invariantFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
    std::abort();
}

// Unlike assert(), stays on in optimised builds.
#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::lexomir::fuzzing::invariantFailed(#condition, __FILE__, __LINE__))

// A combo box index: usually near the range the window offers, sometimes any
// int, so that both the ordinary and the impossible selections are tried.
inline int controlIndex(FuzzedDataProvider& data) {
    if (data.ConsumeBool()) return data.ConsumeIntegralInRange(-2, 300);
    return data.ConsumeIntegral<int>();
}

// A file that exists only in memory but has a path, so that IndexFile opens it
// like a file in dat/ without any disk traffic between runs.
class MemoryFile {
  public:
    MemoryFile() : m_fd(::memfd_create("lexomir-fuzz", MFD_CLOEXEC)) {
        if (m_fd < 0) invariantFailed("memfd_create", __FILE__, __LINE__);
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~MemoryFile() { ::close(m_fd); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the whole content.
    void assign(std::string_view bytes) {
        if (::ftruncate(m_fd, 0) != 0) invariantFailed("ftruncate", __FILE__, __LINE__);
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::pwrite(m_fd, bytes.data() + written, bytes.size() - written,
                                       static_cast<off_t>(written));
            if (n <= 0) invariantFailed("pwrite", __FILE__, __LINE__);
            written += static_cast<std::size_t>(n);
        }
    }
    const std::string& path() const { return m_path; }

  private:
    int m_fd;
    std::string m_path;
};

}  // namespace lexomir::fuzzing
