// The summary line is only as good as the sorting of trials behind it.
#include "fault_ledger.h"

namespace lexomir::testing {
namespace {

TEST(FaultLedgerTest, SortsTrialsBySuiteName) {
    EXPECT_EQ(trialKindOf("FileFault"), TrialKind::Fault);
    EXPECT_EQ(trialKindOf("EachIndexFile/FileFault"), TrialKind::Fault);
    EXPECT_EQ(trialKindOf("PastedBadInput"), TrialKind::BadInput);
    EXPECT_EQ(trialKindOf("Fields/EditFieldBadInput"), TrialKind::BadInput);
    // Only the suite's own name counts, not its instantiation's.
    EXPECT_EQ(trialKindOf("Fault/SessionWrites"), TrialKind::Other);
    EXPECT_EQ(trialKindOf("FaultLedgerTest"), TrialKind::Other);
}

}  // namespace
}  // namespace lexomir::testing
