// CI runs the tests as root, and root reads a file of mode 000 and writes
// into a read-only folder. While this object lives, the calling thread has
// dropped the capabilities that let it, so permission faults are real faults.
#pragma once

#include <cstdint>

namespace lexomir::testing {

class WithoutRootOverride {
  public:
    WithoutRootOverride();
    ~WithoutRootOverride();
    WithoutRootOverride(const WithoutRootOverride&) = delete;
    WithoutRootOverride& operator=(const WithoutRootOverride&) = delete;

    // False when the capabilities could not be dropped; permissions may then
    // still be overridden.
    bool permissionsApply() const { return m_permissionsApply; }

  private:
    bool m_dropped = false;
    bool m_permissionsApply = false;
    std::uint32_t m_savedEffective = 0;
};

}  // namespace lexomir::testing
