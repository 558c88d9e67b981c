// The window tests need an application object, offscreen unless told otherwise
// (listing the tests at build time has no display either).
#include <gtest/gtest.h>

#include "lexomir_application.h"
#include "offscreen_desktop.h"

int main(int argc, char** argv) {
    lexomir::testing::useOffscreenDesktop();
    lexomir::LexomirApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
