// The fault suite drives the real window offscreen and ends with one line
// that counts the faults and bad inputs it tried.
#include <gtest/gtest.h>

#include "fault_ledger.h"
#include "lexomir_application.h"
#include "offscreen_desktop.h"

int main(int argc, char** argv) {
    lexomir::testing::useOffscreenDesktop();
    lexomir::LexomirApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Appended after the default printer, so the summary is the last line.
    ::testing::UnitTest::GetInstance()->listeners().Append(new lexomir::testing::FaultLedger);
    return RUN_ALL_TESTS();
}
