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

// The records before which a scan of a whole file processes events, when
// each record takes perRecord to test.
std::vector<std::int32_t> eventPasses(std::int32_t records, std::chrono::nanoseconds perRecord) {
    fakeTime = {};
    ScanPacer pacer(records, 900, records, &fakeNow);
    std::vector<std::int32_t> passes;
    for (std::int32_t k = 1; k <= records; ++k) {
        if (pacer.eventPassDue(k)) passes.push_back(k);
        fakeTime += perRecord;
    }
    return passes;
}

TEST(ScanPacer, HandlesEventsOnlyOnceTheScanHasTakenAWhile) {
    // A scan of twenty thousand records in 0.2 ms keeps nothing waiting.
    EXPECT_EQ(eventPasses(20823, 10ns), std::vector<std::int32_t>{});
    // 100 µs a record: 10 ms after the start falls between two clock readings.
    EXPECT_EQ(eventPasses(400, 100us), (std::vector<std::int32_t>{128, 256, 384}));
}

TEST(ScanPacer, MovesTheBarOnlyWhenItsDrawnLengthChangesAndAlwaysToTheEnd) {
    ScanPacer pacer(20823, 100, 20823, &fakeNow);
    struct Step {
        std::int32_t record;
        bool eventPass;
        bool moves;
    };
    for (const Step& step :
         {Step{1, false, false}, Step{100, true, true}, Step{101, true, false},
          Step{150, false, false}, Step{1025, true, true}, Step{20823, false, true}}) {
        EXPECT_EQ(pacer.barMoveDue(step.record, step.eventPass), step.moves) << step.record;
    }
}

}  // namespace
}  // namespace lexomir
