// Entry point of the logic tests: the game's settings and records go to a
// home of the tests' own.
#include <gtest/gtest.h>

#include "tests/support/temp_home.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    useTemporaryHome();
    return RUN_ALL_TESTS();
}
