#include "progress_pacer.h"

namespace lexomir {

bool ProgressPacer::shouldShow(std::int32_t value, Clock::time_point now) {
    const bool due = !m_lastShown || value >= m_lastValue || now - *m_lastShown >= m_interval;
    if (due) m_lastShown = now;
    return due;
}

}  // namespace lexomir
