// Entry point of the GL tests: one hidden window with the game's context
// hints lives for the whole run, so every test has a current context; the
// game's settings and records go to a home of the tests' own.
#include <gtest/gtest.h>

#include "tests/support/gl_window.h"
#include "tests/support/temp_home.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Death tests re-run this executable, so the child gets its own context.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    useTemporaryHome();
    if (!openGlWindow(256, 256)) return 1;
    const int result = RUN_ALL_TESTS();
    closeGlWindow();
    return result;
}
