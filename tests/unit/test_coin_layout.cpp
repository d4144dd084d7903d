// Where the coin field puts a coin from three rand() draws, without any GL.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>

#include "scene/coins.h"

using namespace vesk::scene;

namespace {

// The game's field: 18 wide, 18 high, 400 long.
std::tuple<int, int, int> fromDraws(int x, int y, int z) {
    const CoinOffset o = coinOffsetFromDraws(x, y, z, 18.0, 18.0, 400.0);
    return {o.x, o.y, o.z};
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
