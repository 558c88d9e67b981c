// Counts the suite's trials as they end: a test whose suite name ends in
// "Fault" is one fault tried, one whose suite name ends in "BadInput" one bad
// input tried; it survived, or was handled, when it passed.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

namespace lexomir::testing {

enum class TrialKind { Fault, BadInput, Other };

// "FileFault", "Prefix/DatabaseFault" -> Fault; "PastedBadInput" -> BadInput.
TrialKind trialKindOf(std::string_view testSuiteName);

class FaultLedger : public ::testing::EmptyTestEventListener {
  public:
    void OnTestEnd(const ::testing::TestInfo& test) override;
    void OnTestProgramEnd(const ::testing::UnitTest& unitTest) override;

    int faultsTried() const { return m_faultsTried; }
    int faultsSurvived() const { return m_faultsSurvived; }
    int badInputsTried() const { return m_badInputsTried; }
    int badInputsHandled() const { return m_badInputsHandled; }

  private:
    int m_faultsTried = 0;
    int m_faultsSurvived = 0;
    int m_badInputsTried = 0;
    int m_badInputsHandled = 0;
};

}  // namespace lexomir::testing
