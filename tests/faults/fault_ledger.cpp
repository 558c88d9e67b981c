#include "fault_ledger.h"

#include <cstdio>

namespace lexomir::testing {

TrialKind trialKindOf(std::string_view testSuiteName) {
    // Value-parameterised suites are named "Instantiation/Suite".
    if (const auto slash = testSuiteName.rfind('/'); slash != std::string_view::npos)
        testSuiteName.remove_prefix(slash + 1);
    if (testSuiteName.ends_with("Fault")) return TrialKind::Fault;
    if (testSuiteName.ends_with("BadInput")) return TrialKind::BadInput;
    return TrialKind::Other;
}

void FaultLedger::OnTestEnd(const ::testing::TestInfo& test) {
    const ::testing::TestResult& result = *test.result();
    if (result.Skipped()) return;
    switch (trialKindOf(test.test_suite_name())) {
        case TrialKind::Fault:
            ++m_faultsTried;
            if (result.Passed()) ++m_faultsSurvived;
            break;
        case TrialKind::BadInput:
            ++m_badInputsTried;
            if (result.Passed()) ++m_badInputsHandled;
            break;
        case TrialKind::Other:
            break;
    }
}

void FaultLedger::OnTestProgramEnd(const ::testing::UnitTest&) {
    std::printf("faults: %d tried, %d survived; bad inputs: %d tried, %d handled\n", m_faultsTried,
                m_faultsSurvived, m_badInputsTried, m_badInputsHandled);
    std::fflush(stdout);
}

}  // namespace lexomir::testing
