// Coin layout rules and the coin field without any coin on the GPU.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "render/culling.h"
#include "scene/coins.h"

using namespace vesk::scene;

namespace {

CoinOffset fromDraws(int x, int y, int z) { return coinOffsetFromDraws(x, y, z, 18.0, 18.0, 400.0); }

TEST(CoinLayout, XFrom10UpFoldsToMinusHalf) {
    const int expected[18] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -5, -5, -6, -6, -7, -7, -8, -8};
    for (int draw = 0; draw < 18; ++draw) EXPECT_EQ(fromDraws(draw, 5, 0).x, expected[draw]) << draw;
}

TEST(CoinLayout, YBelow2AndAbove15AreMovedOutOfTheWay) {
    // 0 stays, 1 becomes 2, 16 and 17 become -8 and then -20 (below the street).
    const int expected[18] = {0, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, -20, -20};
    for (int draw = 0; draw < 18; ++draw) EXPECT_EQ(fromDraws(3, draw, 0).y, expected[draw]) << draw;
}

TEST(CoinLayout, ZRunsBackFromTheOriginByUpTo334) {
    EXPECT_EQ(fromDraws(0, 5, 0).z, 0);
    EXPECT_EQ(fromDraws(0, 5, 120).z, -120);
    EXPECT_EQ(fromDraws(0, 5, 334).z, -334);
    EXPECT_EQ(fromDraws(0, 5, 335).z, 0);
}

TEST(CoinLayout, RawDrawsAreReducedModuloTheFieldFirst) {
    const CoinOffset o = fromDraws(18 * 1000 + 12, 18 * 777 + 16, 335 * 4000 + 7);
    EXPECT_EQ(o.x, -6);
    EXPECT_EQ(o.y, -20);
    EXPECT_EQ(o.z, -7);
    // The field's size reaches the rules: a narrower field never folds x.
    EXPECT_EQ(coinOffsetFromDraws(9, 0, 0, 10.0, 18.0, 400.0).x, 9);
    EXPECT_EQ(coinOffsetFromDraws(0, 0, 99, 18.0, 18.0, 100.0).z, -(99 % 35));
}

TEST(CoinLayout, DrawsXThenYThenZFromRand) {
    GameRaster field;
    for (unsigned seed : {1u, 2u, 12345u}) {
        std::srand(seed);
        const int x = std::rand(), y = std::rand();
        const int z = std::rand();
        const CoinOffset expected = fromDraws(x, y, z);
        std::srand(seed);
        const CoinOffset drawn = field.drawCoinOffset();
        EXPECT_EQ(drawn.x, expected.x);
        EXPECT_EQ(drawn.y, expected.y);
        EXPECT_EQ(drawn.z, expected.z);
    }
}

TEST(CoinLayout, LayoutsOverManySeedsStayInTheFieldAndReachEveryPlace) {
    GameRaster field;
    std::set<int> allowedX{-8, -7, -6, -5, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::set<int> allowedY{-20, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    std::set<int> seenX, seenY;
    int nearestZ = -1000, farthestZ = 1000;
    for (unsigned seed = 0; seed < 500; ++seed) {
        std::srand(seed);
        for (int i = 0; i < 22; ++i) {
            const CoinOffset o = field.drawCoinOffset();
            ASSERT_TRUE(allowedX.count(o.x)) << "seed " << seed << " x " << o.x;
            ASSERT_TRUE(allowedY.count(o.y)) << "seed " << seed << " y " << o.y;
            const float worldZ = field.origin.z + static_cast<float>(o.z);
            ASSERT_GE(worldZ, -215.0f - 334.0f) << "seed " << seed;
            ASSERT_LE(worldZ, -215.0f) << "seed " << seed;
            seenX.insert(o.x);
            seenY.insert(o.y);
            nearestZ = std::max(nearestZ, o.z);
            farthestZ = std::min(farthestZ, o.z);
        }
    }
    EXPECT_EQ(seenX, allowedX);
    EXPECT_EQ(seenY, allowedY);
    EXPECT_GE(nearestZ, -2);
    EXPECT_LE(farthestZ, -332);
}

TEST(CoinField, StartsEmptyWithTheDefaultField) {
    GameRaster field;
    EXPECT_EQ(field.origin, glm::vec3(0.0f, 0.0f, -215.0f));
    EXPECT_EQ(field.fieldLength, 400.0);
    EXPECT_EQ(field.fieldWidth, 18.0);
    EXPECT_EQ(field.fieldHeight, 18.0);
    EXPECT_EQ(field.collectedCount, 0);
    EXPECT_NE(field.culler, nullptr);
    EXPECT_TRUE(GameRaster::coins.empty());
}

TEST(CoinField, AnEmptyFieldCollectsNothingAndSaysNothing) {
    GameRaster field;
    ::testing::internal::CaptureStdout();
    field.collect(0.0, 0.0, -215.0);
    field.update(1.0);
    field.translate(1.0, 2.0, 3.0);
    field.clear();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(field.collectedCount, 0);
}

}  // namespace
