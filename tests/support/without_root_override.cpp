#include "without_root_override.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lexomir::testing {
namespace {

constexpr std::uint32_t kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

bool readCapabilities(Capabilities& caps) {
    return ::syscall(SYS_capget, &caps.header, caps.data) == 0;
}

bool writeCapabilities(Capabilities& caps) {
    return ::syscall(SYS_capset, &caps.header, caps.data) == 0;
}

}  // namespace

WithoutRootOverride::WithoutRootOverride() {
    Capabilities caps;
    if (!readCapabilities(caps)) return;
    m_savedEffective = caps.data[0].effective;
    if ((m_savedEffective & kOverrides) == 0) {
        m_permissionsApply = true;
        return;
    }
    caps.data[0].effective &= ~kOverrides;
    m_dropped = writeCapabilities(caps);
    m_permissionsApply = m_dropped;
}

WithoutRootOverride::~WithoutRootOverride() {
    if (!m_dropped) return;
    Capabilities caps;
    if (!readCapabilities(caps)) return;
    caps.data[0].effective = m_savedEffective;
    writeCapabilities(caps);
}

}  // namespace lexomir::testing
