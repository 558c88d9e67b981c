// The window tests need an application object, offscreen unless told otherwise
// (listing the tests at build time has no display either).
#include <gtest/gtest.h>

#include "lexomir_application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    lexomir::LexomirApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
