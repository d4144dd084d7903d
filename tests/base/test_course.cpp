// The course's collision rules, pinned by what they do: for every slab, a
// point just inside each face is stopped and a point just outside is not.
#include <gtest/gtest.h>

#include "base/course.h"

namespace {

constexpr float e = 0.01f;  // a hair's breadth, world units

// For every slab, read from the course itself: a point just inside each face
// of its box stops the cat, one just outside does not, nor one on its face.
TEST(Course, EverySlabStopsTheCatJustInsideItsBoxAndNowhereElse) {
    for (const Slab& slab : courseSlabs) {
        const ObstacleBox& b = slab.box;
        SCOPED_TRACE(testing::Message() << "box at z " << b.zMin << (b.blocksAbove ? ", hanging" : ", standing"));
        const float x = 0.5f * (b.xMin + b.xMax), z = 0.5f * (b.zMin + b.zMax);
        const float solid = b.blocksAbove ? b.yLimit + 1 : b.yLimit - 1, into = b.blocksAbove ? e : -e;
        const glm::vec3 inside[] = {{x, solid, b.zMin + e}, {x, solid, b.zMax - e}, {b.xMin + e, solid, z},
                                    {b.xMax - e, solid, z}, {x, b.yLimit + into, z}};
        const glm::vec3 outside[] = {{x, solid, b.zMin - e}, {x, solid, b.zMax + e}, {b.xMin - e, solid, z},
                                     {b.xMax + e, solid, z}, {x, b.yLimit - into, z}, {x, b.yLimit, z},
                                     {b.xMin, solid, z}, {x, solid, b.zMax}};
        for (glm::vec3 p : inside) EXPECT_GE(obstacleEntryAlong(p, p), 0.0) << ::testing::PrintToString(p);
        for (glm::vec3 p : outside) EXPECT_EQ(obstacleEntryAlong(p, p), -1.0) << ::testing::PrintToString(p);
    }
}

TEST(Course, AWayMustEnterABoxNotJustTouchItAndACoinsBoxCountsItsFaces) {
    const glm::vec3 before(0.0f, 5.0f, -212.0f);  // ahead, the standing slab's box from z -219 to -221
    EXPECT_EQ(obstacleEntryAlong(before, {0.0f, 5.0f, -219.0f}), -1.0) << "ends on its face";
    EXPECT_NEAR(obstacleEntryAlong(before, {0.0f, 5.0f, -226.0f}), 0.5, 1e-6) << "half-way: the face";
    EXPECT_EQ(obstacleEntryAlong({0.0f, 7.0f, -212.0f}, {0.0f, 7.0f, -226.0f}), -1.0) << "along its top";
    const glm::dvec3 low(-1.5, 3.5, -201.5), high(1.5, 6.5, -198.5);  // a coin's box at (0, 5, -200)
    EXPECT_EQ(entryAlong({0, 6.5, -190}, {0, 6.5, -210}, low, high, false), 0.425) << "along its top";
    EXPECT_EQ(entryAlong({0, 6.6, -190}, {0, 6.6, -210}, low, high, false), -1.0);
}

TEST(Course, EachSideOfTheStreetEndsTheRunJustPastItsLimit) {
    const glm::vec3 atLimit[] = {{0, streetLimitY[1], -300}, {0, streetLimitY[0], -300}, {streetLimitX[1], 5, -300},
                                 {streetLimitX[0], 5, -300}, {0, 5, streetLimitZ}};
    const glm::vec3 step[] = {{0, e, 0}, {0, -e, 0}, {e, 0, 0}, {-e, 0, 0}, {0, 0, e}};
    for (int side = 0; side < 5; ++side) {
        EXPECT_FALSE(outsideStreet(atLimit[side])) << ::testing::PrintToString(atLimit[side]);
        EXPECT_TRUE(outsideStreet(atLimit[side] + step[side])) << ::testing::PrintToString(atLimit[side]);
    }
    EXPECT_FALSE(outsideStreet({0.0f, 5.0f, -5000.0f})) << "no end wall: the finish line stops the run";
}

}  // namespace
