// Entry point of the GL tests: one hidden window with the game's context
// hints lives for the whole run, so every test has a current context.
#include <gtest/gtest.h>

#include "tests/support/gl_window.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Death tests re-run this executable, so the child gets its own context.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (!openGlWindow(256, 256)) return 1;
    const int result = RUN_ALL_TESTS();
    closeGlWindow();
    return result;
}
