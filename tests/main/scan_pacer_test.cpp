#include "progress_pacer.h"

#include <gtest/gtest.h>

namespace lexomir {
namespace {

using namespace std::chrono_literals;

TEST(ProgressPacer, ShowsTheFirstAndLastValueAndOneValuePerInterval) {
    ProgressPacer pacer(100, 10ms);
    const ProgressPacer::Clock::time_point start{};
    struct Step {
        int value;
        std::chrono::milliseconds at;
        bool shown;
    };
    for (const Step& step :
         {Step{1, 0ms, true}, Step{2, 3ms, false}, Step{3, 9ms, false}, Step{4, 10ms, true},
          Step{5, 15ms, false}, Step{6, 21ms, true}, Step{100, 22ms, true}}) {
        EXPECT_EQ(pacer.shouldShow(step.value, start + step.at), step.shown) << step.value;
    }
}

}  // namespace
}  // namespace lexomir
