// The course's collision rules, pinned by what they do: for every slab, a
// point just inside each face is stopped and a point just outside is not.
#include <gtest/gtest.h>

#include "base/course.h"
#include "base/globals.h"
#include "play/input.h"
#include "tests/support/helpers.h"

namespace {

constexpr float e = 0.01f;  // a hair's breadth, world units

// The eighteen boxes of the course: z centre (each 2 deep), x range, y limit
// and whether the solid side is above it (hanging) or below (standing).
struct Row {
    float z, xMin, xMax, yLimit;
    bool hanging;
};
const Row rows[] = {
    {-310, -5.5f, 5.5f, 8, true}, {-370, -11.5f, 1.5f, 8, true}, {-280, -11.5f, 1.5f, 8, true},
    {-420, -11.5f, 1.5f, 8, true}, {-490, -5.5f, 5.5f, 8, true}, {-530, -5.5f, 5.5f, 8, true},
    {-220, -8.5f, 3.5f, 7, false}, {-250, -3.5f, 8.5f, 7, false}, {-280, -8.5f, 3.5f, 7, false},
    {-370, -3.5f, 8.5f, 7, false}, {-390, -5.5f, 5.5f, 5, false}, {-410, -8.5f, 3.5f, 7, false},
    {-420, -3.5f, 8.5f, 5, false}, {-440, -5.5f, 5.5f, 7, false}, {-460, -3.5f, 8.5f, 7, false},
    {-470, -8.5f, 3.5f, 5, false}, {-490, -3.5f, 8.5f, 5, false}, {-510, -8.5f, 3.5f, 7, false},
};

TEST(Course, EverySlabStopsTheCatJustInsideItsBoxAndNowhereElse) {
    ASSERT_EQ(std::size(rows), size_t(slabCount));
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "box at z " << r.z << (r.hanging ? ", hanging" : ", standing"));
        const float x = 0.5f * (r.xMin + r.xMax);
        const float solid = r.hanging ? r.yLimit + 1 : r.yLimit - 1, into = r.hanging ? e : -e;
        const glm::vec3 inside[] = {{x, solid, r.z - 1 + e}, {x, solid, r.z + 1 - e}, {r.xMin + e, solid, r.z},
                                    {r.xMax - e, solid, r.z}, {x, r.yLimit + into, r.z}};
        const glm::vec3 outside[] = {{x, solid, r.z - 1 - e}, {x, solid, r.z + 1 + e}, {r.xMin - e, solid, r.z},
                                     {r.xMax + e, solid, r.z}, {x, r.yLimit - into, r.z}, {x, r.yLimit, r.z}};
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
    const glm::vec3 atLimit[] = {{0, 15.5f, -300}, {0, -2.5f, -300}, {9.5f, 5, -300}, {-9.5f, 5, -300}, {0, 5, -198}};
    const glm::vec3 step[] = {{0, e, 0}, {0, -e, 0}, {e, 0, 0}, {-e, 0, 0}, {0, 0, e}};
    for (int side = 0; side < 5; ++side) {
        EXPECT_FALSE(outsideStreet(atLimit[side])) << ::testing::PrintToString(atLimit[side]);
        EXPECT_TRUE(outsideStreet(atLimit[side] + step[side])) << ::testing::PrintToString(atLimit[side]);
    }
    EXPECT_FALSE(outsideStreet({0.0f, 5.0f, -5000.0f})) << "no end wall: the finish line stops the run";
}

TEST(Course, CameraLooksDownTheStreetAtStartAndStaysOrthonormalWithAHorizontalRight) {
    horizontalAngle = courseStartYaw;
    verticalAngle = 0.0f;
    updateCameraBasis();
    EXPECT_TRUE(closeTo(cameraDirection, {0, 0, -1}, 1e-5f));
    EXPECT_TRUE(closeTo(cameraRight, {1, 0, 0}, 1e-5f));
    for (float h = -7.0f; h < 7.0f; h += 0.7f)
        for (float v = -3.0f; v < 3.0f; v += 0.5f) {
            horizontalAngle = h;
            verticalAngle = v;
            updateCameraBasis();
            const glm::mat3 basis(cameraDirection, cameraRight, cameraUp);
            const glm::mat3 gram = glm::transpose(basis) * basis;
            for (int i = 0; i < 3; ++i) EXPECT_TRUE(closeTo(gram[i], glm::mat3(1.0f)[i], 1e-5f)) << h << ", " << v;
            EXPECT_EQ(cameraRight.y, 0.0f);
        }
}

}  // namespace
