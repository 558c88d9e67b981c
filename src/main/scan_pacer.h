// When a scan on the window's thread stops to let the window handle its
// events, and when it moves its progress bar. Processing events costs more
// than testing a thousand records, and QProgressBar repaints at once whenever
// its drawn length changes, so doing either for each of twenty thousand
// records would cost many times the scan itself.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace lexomir {

class ScanPacer {
  public:
    using Clock = std::chrono::steady_clock;
    // Events wait at most this many records, or about this long when the
    // records are slow to test (a filter that reads the database).
    static constexpr std::int32_t kRecordsBetweenEventPasses = 1024;
    static constexpr Clock::duration kLongestWait = std::chrono::milliseconds(8);

    // The clock is asked only every kRecordsBetweenClockReadings records.
    static constexpr std::int32_t kRecordsBetweenClockReadings = 64;
    using Now = Clock::time_point (*)();

    // A bar from 1 to lastRecord, drawn barPixels wide.
    ScanPacer(std::int32_t lastRecord, int barPixels, Now now = &Clock::now);

    // Before a record: whether to process events now. True at the first
    // record, then once kRecordsBetweenEventPasses have passed, or kLongestWait.
    bool eventPassDue(std::int32_t record);
    // Whether to set the bar to this record: at an event pass that changes
    // the bar's drawn length, and at the last record, where it ends.
    bool barMoveDue(std::int32_t record, bool eventPass);

  private:
    int drawnLength(std::int32_t record) const;

    std::int32_t m_lastRecord;
    int m_barPixels;
    Now m_now;
    std::int32_t m_lastPass = 0;
    Clock::time_point m_lastPassTime;
    std::optional<int> m_drawnLength;
};

}  // namespace lexomir
