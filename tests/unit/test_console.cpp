#include <gtest/gtest.h>

#include <sstream>

#include "app/console.h"

TEST(ConsolePause, AsksForEnterAndConsumesOneLine) {
    std::istringstream in("first\nsecond\n");
    std::ostringstream out;
    consolePause(in, out);
    EXPECT_NE(out.str().find("Enter"), std::string::npos);
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "second");
}

TEST(ConsolePause, ReturnsAtOnceAtEndOfInput) {
    std::istringstream in("");
    std::ostringstream out;
    consolePause(in, out);
    EXPECT_TRUE(in.eof());
}
