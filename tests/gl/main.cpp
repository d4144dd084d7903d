// Entry point of the GL test executable: one hidden window with the game's
// context hints lives for the whole run, so every test has a current context.
#include <gtest/gtest.h>

#include "tests/gl/gl_context.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Death tests re-run this executable, so the child gets its own context.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (!openTestContext(256, 256)) {
        std::fprintf(stderr, "no GL context (is DISPLAY set? run under xvfb-run)\n");
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    closeTestContext();
    return result;
}
