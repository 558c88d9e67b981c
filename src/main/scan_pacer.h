// Decides which records of a scan move the progress bar. QProgressBar repaints
// synchronously whenever its value changes visibly, which would cost more than
// the scan itself if done for each of twenty thousand records.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace lexomir {

class ProgressPacer {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kDefaultInterval = std::chrono::milliseconds(10);

    explicit ProgressPacer(std::int32_t lastValue, Clock::duration interval = kDefaultInterval)
        : m_lastValue(lastValue), m_interval(interval) {}

    // True for the first value, the last value, and any value reached at least
    // one interval after the last one shown.
    bool shouldShow(std::int32_t value, Clock::time_point now);

  private:
    std::int32_t m_lastValue;
    Clock::duration m_interval;
    std::optional<Clock::time_point> m_lastShown;
};

}  // namespace lexomir
