// When a scan on the window's thread stops to let the window handle its
// events, and when it moves its progress bar. A scan of the whole file takes
// well under a frame, so it handles events only once it has run for a while,
// and moves the bar only when the bar would be drawn otherwise: QProgressBar
// repaints at once whenever its drawn length changes, which costs more than
// testing thousands of records.
#pragma once

#include <chrono>
#include <cstdint>

namespace lexomir {

class ScanPacer {
  public:
    using Clock = std::chrono::steady_clock;
    // The longest a scan keeps events waiting.
    static constexpr Clock::duration kLongestWait = std::chrono::milliseconds(10);
    // The clock is read only every so many records.
    static constexpr std::int32_t kRecordsBetweenClockReadings = 64;
    using Now = Clock::time_point (*)();

    // A bar from 1 to lastRecord, drawn barPixels wide, now showing barValue.
    ScanPacer(std::int32_t lastRecord, int barPixels, std::int32_t barValue, Now now = &Clock::now);

    // Before a record: whether to process events now, kLongestWait after the
    // scan's first record or its last event pass.
    bool eventPassDue(std::int32_t record);
    // Whether to set the bar to this record: at an event pass that changes
    // the bar's drawn length, and at the last record, where it ends.
    bool barMoveDue(std::int32_t record, bool eventPass);

  private:
    int drawnLength(std::int32_t record) const;

    std::int32_t m_lastRecord;
    int m_barPixels;
    int m_drawnLength;
    Now m_now;
    Clock::time_point m_lastPassTime;
};

}  // namespace lexomir
