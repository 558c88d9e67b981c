#include "scan_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace lexomir {
namespace {

using namespace std::chrono_literals;

ScanPacer::Clock::time_point fakeTime;
ScanPacer::Clock::time_point fakeNow() {
    return fakeTime;
}

// The records before which a scan of the whole file processes events, when
// each record takes perRecord to test.
std::vector<std::int32_t> eventPasses(std::int32_t records, std::chrono::microseconds perRecord) {
    fakeTime = {};
    ScanPacer pacer(records, 900, &fakeNow);
    std::vector<std::int32_t> passes;
    for (std::int32_t k = 1; k <= records; ++k) {
        if (pacer.eventPassDue(k)) passes.push_back(k);
        fakeTime += perRecord;
    }
    return passes;
}

TEST(ScanPacer, PassesEveryThousandRecordsOrEveryFewMillisecondsOfSlowRecords) {
    EXPECT_EQ(eventPasses(3000, 1us), (std::vector<std::int32_t>{1, 1025, 2049}));
    // 100 µs a record: 8 ms after a pass falls between two readings of the clock.
    EXPECT_EQ(eventPasses(300, 100us), (std::vector<std::int32_t>{1, 128, 256}));
}

TEST(ScanPacer, MovesTheBarOnlyWhenItsDrawnLengthChangesAndAlwaysToTheEnd) {
    ScanPacer pacer(20823, 100, &fakeNow);
    struct Step {
        std::int32_t record;
        bool eventPass;
        bool moves;
    };
    for (const Step& step :
         {Step{1, true, true}, Step{2, false, false}, Step{100, true, false},
          Step{1025, true, true}, Step{1026, false, false}, Step{20823, false, true}}) {
        EXPECT_EQ(pacer.barMoveDue(step.record, step.eventPass), step.moves) << step.record;
    }
    // A bar not drawn at all still ends at the last record.
    ScanPacer hidden(13000, 0, &fakeNow);
    EXPECT_TRUE(hidden.barMoveDue(1, true));
    EXPECT_FALSE(hidden.barMoveDue(1025, true));
    EXPECT_TRUE(hidden.barMoveDue(13000, false));
}

}  // namespace
}  // namespace lexomir
