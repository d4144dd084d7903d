// Where the coin field puts a coin from three rand() draws, without any GL.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "base/course.h"
#include "scene/coins.h"

using namespace vesk::scene;

namespace {

std::tuple<int, int, int> offsetOf(CoinOffset o) { return {o.x, o.y, o.z}; }

// Draws as the layout reads them, the field 18 wide, 18 high and 400 long:
// x = drawX % 18 and y = drawY % 18, folded (x over 9 to -(x / 2), y over 15
// to -(y / 2), then y under 2 to y / 2 + 2y), z = -(drawZ % 335).
TEST(CoinLayout, EachDrawLandsWhereTheRulesPutIt) {
    struct Case {
        int drawX, drawY, drawZ;
        std::tuple<int, int, int> offset;
    };
    const Case cases[] = {
        {3, 7, 120, {3, 7, -120}},      // COIN 0 X:3 Y:7 Z:-120
        {9, 15, 0, {9, 15, 0}},         // the largest unfolded values
        {10, 0, 334, {-5, 0, -334}},    // x 10 folds to -5; the deepest z
        {11, 1, 335, {-5, 2, 0}},       // y 1 becomes 2; z wraps at 335
        {17, 16, 1, {-8, -20, -1}},     // y 16 folds to -8, then to -20, below the street
        {18 + 4, 17, 2, {4, -20, -2}},  // draws wrap at the field's width and height
        {36 + 12, 18 + 5, 335 + 7, {-6, 5, -7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(offsetOf(coinOffsetFromDraws(c.drawX, c.drawY, c.drawZ, 18.0, 18.0, 400.0)), c.offset)
            << c.drawX << " " << c.drawY << " " << c.drawZ;
}

// The draws come from rand() in the order x, y, z, so a seed fixes the layout.
TEST(CoinLayout, DrawsXThenYThenZ) {
    GameRaster field;
    // A seed whose first three draws fold nothing and tell each other apart.
    unsigned seed = 1;
    int x = 0, y = 0, z = 0;
    for (;; ++seed) {
        std::srand(seed);
        x = std::rand() % 18, y = std::rand() % 18, z = std::rand() % 335;
        if (x <= 9 && y >= 2 && y <= 9 && x != y && z > 17) break;
    }
    std::srand(seed);
    EXPECT_EQ(offsetOf(field.drawCoinOffset()), std::make_tuple(x, y, -z));
}

TEST(CoinLayout, ItsConsoleLinesReadBackOnlyExactly) {
    EXPECT_EQ(coinLayoutLine(0, {3, 7, -120}), "COIN 0 X:3 Y:7 Z:-120");
    int index = -1;
    CoinOffset offset{};
    ASSERT_TRUE(parseCoinLayoutLine("COIN 21 X:-8 Y:-20 Z:0", index, offset));
    EXPECT_EQ(std::make_tuple(index, offset.x, offset.y, offset.z), std::make_tuple(21, -8, -20, 0));
    for (const char* line : {"COIN 1 X:3 Y:7", "COIN 1 X:3 Y:7 Z:-1 more", "COIN  1 X:3 Y:7 Z:-1",
                             "COIN 1 X:+3 Y:7 Z:-1", "Goodies Collected: 1"})
        EXPECT_FALSE(parseCoinLayoutLine(line, index, offset)) << line;
}

}  // namespace
