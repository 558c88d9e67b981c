#include "scan_pacer.h"

#include <algorithm>

namespace lexomir {

ScanPacer::ScanPacer(std::int32_t lastRecord, int barPixels, std::int32_t barValue, Now now)
    : m_lastRecord(lastRecord), m_barPixels(std::max(barPixels, 0)), m_drawnLength(0), m_now(now) {
    m_drawnLength = drawnLength(barValue);
}

bool ScanPacer::eventPassDue(std::int32_t record) {
    if (record == 1) {
        m_lastPassTime = m_now();
        return false;
    }
    if (record % kRecordsBetweenClockReadings != 0) return false;
    const Clock::time_point now = m_now();
    if (now - m_lastPassTime < kLongestWait) return false;
    m_lastPassTime = now;
    return true;
}

bool ScanPacer::barMoveDue(std::int32_t record, bool eventPass) {
    if (record == m_lastRecord) return true;
    if (!eventPass) return false;
    const int length = drawnLength(record);
    if (length == m_drawnLength) return false;
    m_drawnLength = length;
    return true;
}

int ScanPacer::drawnLength(std::int32_t record) const {
    if (m_lastRecord <= 1) return m_barPixels;
    const auto done = static_cast<long long>(std::clamp(record, 1, m_lastRecord) - 1);
    return static_cast<int>(done * m_barPixels / (m_lastRecord - 1));
}

}  // namespace lexomir
