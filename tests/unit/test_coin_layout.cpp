// Where the coin field puts a coin from three rand() draws, without any GL.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>

#include "scene/coins.h"

using namespace vesk::scene;

namespace {

std::tuple<int, int, int> fromDraws(int x, int y, int z, double width = 18.0, double length = 400.0) {
    const CoinOffset o = coinOffsetFromDraws(x, y, z, width, 18.0, length);
    return {o.x, o.y, o.z};
}

TEST(CoinLayout, HighXFoldsToMinusHalfAndYOutsideTwoToFifteenMovesOutOfTheWay) {
    // y: 1 becomes 2; 16 and 17 become -8 and then -20, below the street.
    const int x[18] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -5, -5, -6, -6, -7, -7, -8, -8};
    const int y[18] = {0, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, -20, -20};
    for (int draw = 0; draw < 18; ++draw) {
        EXPECT_EQ(std::get<0>(fromDraws(draw, 5, 0)), x[draw]) << "x draw " << draw;
        EXPECT_EQ(std::get<1>(fromDraws(3, draw, 0)), y[draw]) << "y draw " << draw;
    }
    // Raw draws are reduced modulo the field first, and the field's size counts.
    EXPECT_EQ(fromDraws(18 * 1000 + 12, 18 * 777 + 16, 335 * 4000 + 7), std::make_tuple(-6, -20, -7));
    EXPECT_EQ(fromDraws(0, 5, 335), std::make_tuple(0, 5, 0));
    EXPECT_EQ(fromDraws(9, 5, 99, 10.0, 100.0), std::make_tuple(9, 5, -(99 % 35)));
}

TEST(CoinLayout, DrawsXThenYThenZFromRandAndOverManySeedsReachesEveryPlace) {
    GameRaster field;
    std::srand(12345);
    const int x = std::rand(), y = std::rand();
    const int z = std::rand();
    std::srand(12345);
    const CoinOffset drawn = field.drawCoinOffset();
    EXPECT_EQ(std::make_tuple(drawn.x, drawn.y, drawn.z), fromDraws(x, y, z));

    std::set<int> seenX, seenY, seenZ;
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::srand(seed);
        for (int coin = 0; coin < 22; ++coin) {
            const CoinOffset o = field.drawCoinOffset();
            seenX.insert(o.x);
            seenY.insert(o.y);
            seenZ.insert(o.z);
        }
    }
    EXPECT_EQ(seenX, (std::set<int>{-8, -7, -6, -5, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(seenY, (std::set<int>{-20, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(*seenZ.begin(), -334);
    EXPECT_EQ(*seenZ.rbegin(), 0);
}

}  // namespace
