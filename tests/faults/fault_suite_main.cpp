// The fault suite drives the real window offscreen and ends with one line
// that counts the faults and bad inputs it tried.
#include <gtest/gtest.h>

#include "fault_ledger.h"
#include "lexomir_application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    lexomir::LexomirApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Appended after the default printer, so the summary is the last line.
    ::testing::UnitTest::GetInstance()->listeners().Append(new lexomir::testing::FaultLedger);
    return RUN_ALL_TESTS();
}
