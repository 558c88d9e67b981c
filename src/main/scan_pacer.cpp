#include "scan_pacer.h"

#include <algorithm>

namespace lexomir {

ScanPacer::ScanPacer(std::int32_t lastRecord, int barPixels, Now now)
    : m_lastRecord(lastRecord), m_barPixels(std::max(barPixels, 0)), m_now(now) {}

bool ScanPacer::eventPassDue(std::int32_t record) {
    bool due = m_lastPass == 0 || record - m_lastPass >= kRecordsBetweenEventPasses;
    if (!due && record % kRecordsBetweenClockReadings == 0)
        due = m_now() - m_lastPassTime >= kLongestWait;
    if (!due) return false;
    m_lastPass = record;
    m_lastPassTime = m_now();
    return true;
}

bool ScanPacer::barMoveDue(std::int32_t record, bool eventPass) {
    if (record != m_lastRecord && !eventPass) return false;
    const int length = drawnLength(record);
    if (record != m_lastRecord && m_drawnLength == length) return false;
    m_drawnLength = length;
    return true;
}

int ScanPacer::drawnLength(std::int32_t record) const {
    if (m_lastRecord <= 1) return m_barPixels;
    const auto done = static_cast<long long>(std::clamp(record, 1, m_lastRecord) - 1);
    return static_cast<int>(done * m_barPixels / (m_lastRecord - 1));
}

}  // namespace lexomir
