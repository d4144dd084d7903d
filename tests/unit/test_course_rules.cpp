// The rules of the course that need no GL: the obstacle boxes, the street
// bounds and the camera basis built from the two angles.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "play/course.h"
#include "play/input.h"
#include "tests/helpers.h"

namespace {

TEST(ObstacleBoxes, EachBlocksOnlyStrictlyInsideAndOnOneSideOfItsHeight) {
    for (const Slab& slab : courseSlabs) {
        const ObstacleBox& box = slab.box;
        SCOPED_TRACE(testing::Message() << "slab at z " << box.zMin);
        const float blocked = box.blocksAbove ? box.yLimit + 0.5f : box.yLimit - 0.5f;
        const float open = box.blocksAbove ? box.yLimit - 0.5f : box.yLimit + 0.5f;
        const glm::vec3 centre((box.xMin + box.xMax) / 2, blocked, (box.zMin + box.zMax) / 2);
        EXPECT_TRUE(insideObstacle(centre));
        EXPECT_TRUE(box.contains({box.xMin + 0.01f, blocked, box.zMax - 0.01f}));
        EXPECT_FALSE(box.contains({centre.x, open, centre.z}));
        EXPECT_FALSE(box.contains({centre.x, box.yLimit, centre.z})) << "the limit itself is open";
        for (float z : {box.zMin, box.zMax}) EXPECT_FALSE(box.contains({centre.x, blocked, z}));
        for (float x : {box.xMin, box.xMax}) EXPECT_FALSE(box.contains({x, blocked, centre.z}));
    }
}

TEST(StreetBounds, EachSideEndsTheRunJustPastItsLimit) {
    const glm::vec3 atLimit[] = {{0, 15.5f, -300}, {0, -2.5f, -300}, {9.5f, 5, -300}, {-9.5f, 5, -300}, {0, 5, -198}};
    const glm::vec3 past[] = {{0, 15.51f, -300}, {0, -2.51f, -300}, {9.51f, 5, -300}, {-9.51f, 5, -300}, {0, 5, -197.99f}};
    for (int side = 0; side < 5; ++side) {
        EXPECT_FALSE(outsideStreet(atLimit[side])) << ::testing::PrintToString(atLimit[side]);
        EXPECT_TRUE(outsideStreet(past[side])) << ::testing::PrintToString(past[side]);
    }
    EXPECT_FALSE(outsideStreet({0.0f, 5.0f, -5000.0f})) << "no end wall: the finish line stops the run";
    EXPECT_TRUE(outsideStreet(glm::vec3(0.0f))) << "where the cat is before the first frame";
}

TEST(CameraBasis, LooksDownTheStreetAtStartAndIsOrthonormalWithAHorizontalRightForAnyAngles) {
    horizontalAngle = 3.14159f;
    verticalAngle = 0.0f;
    updateCameraBasis();
    EXPECT_TRUE(closeTo(cameraDirection, {0, 0, -1}, 1e-5f));
    EXPECT_TRUE(closeTo(cameraRight, {1, 0, 0}, 1e-5f));
    verticalAngle = -1.5707963f;
    updateCameraBasis();
    EXPECT_TRUE(closeTo(cameraUp, {0, 0, -1}, 1e-5f)) << "looking down, up runs along the street";
    for (float h = -7.0f; h < 7.0f; h += 0.7f)
        for (float v = -3.0f; v < 3.0f; v += 0.5f) {
            horizontalAngle = h;
            verticalAngle = v;
            updateCameraBasis();
            const glm::mat3 basis(cameraDirection, cameraRight, cameraUp);
            const glm::mat3 gram = glm::transpose(basis) * basis;
            for (int i = 0; i < 3; ++i)
                EXPECT_TRUE(closeTo(gram[i], glm::mat3(1.0f)[i], 1e-5f)) << "angles " << h << ", " << v;
            EXPECT_EQ(cameraRight.y, 0.0f);
        }
}

}  // namespace
