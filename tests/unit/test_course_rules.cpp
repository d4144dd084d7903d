// The rules of the course that need no GL: the obstacle boxes, the street
// bounds and the camera basis built from the two angles.
#include <gtest/gtest.h>

#include <cmath>

#include "app/globals.h"
#include "play/input.h"

namespace {

glm::vec3 centreOf(const ObstacleBox& box, float y) {
    return {(box.xMin + box.xMax) / 2, y, (box.zMin + box.zMax) / 2};
}

float blockedY(const ObstacleBox& box) { return box.blocksAbove ? box.yLimit + 0.5f : box.yLimit - 0.5f; }
float openY(const ObstacleBox& box) { return box.blocksAbove ? box.yLimit - 0.5f : box.yLimit + 0.5f; }

TEST(ObstacleBoxes, EachSlabBlocksOneSideOfItsHeightOnly) {
    for (const ObstacleBox& box : obstacleBoxes) {
        SCOPED_TRACE(testing::Message() << "slab at z " << box.zMin);
        EXPECT_TRUE(insideObstacle(centreOf(box, blockedY(box))));
        EXPECT_TRUE(box.contains(centreOf(box, blockedY(box))));
        EXPECT_FALSE(box.contains(centreOf(box, openY(box))));
        EXPECT_FALSE(box.contains(centreOf(box, box.yLimit)));  // the limit itself is open
    }
}

TEST(ObstacleBoxes, AllBoundsAreStrict) {
    for (const ObstacleBox& box : obstacleBoxes) {
        const glm::vec3 inside = centreOf(box, blockedY(box));
        for (float z : {box.zMin, box.zMax}) EXPECT_FALSE(box.contains({inside.x, inside.y, z}));
        for (float x : {box.xMin, box.xMax}) EXPECT_FALSE(box.contains({x, inside.y, inside.z}));
        EXPECT_TRUE(box.contains({box.xMin + 0.01f, inside.y, box.zMax - 0.01f}));
    }
}

TEST(ObstacleBoxes, CourseHasSixHangingAndTwelveStandingSlabs) {
    int hanging = 0;
    for (const ObstacleBox& box : obstacleBoxes) {
        EXPECT_FLOAT_EQ(box.zMax - box.zMin, 2.0f);
        hanging += box.blocksAbove ? 1 : 0;
    }
    EXPECT_EQ(hanging, 6);
}

TEST(ObstacleBoxes, MiddleOfTheStreetAtCruisingHeightIsFreeAlongTheCourse) {
    // Between 7 and 8 units up, every standing slab is below and every hanging one above.
    for (float z = -200.0f; z > -560.0f; z -= 0.25f) EXPECT_FALSE(insideObstacle({0.0f, 7.5f, z})) << z;
}

TEST(ObstacleBoxes, FinishStretchHasNoSlab) {
    for (float z = -531.0f; z >= -550.0f; z -= 0.5f) {
        for (float y : {-2.0f, 5.0f, 15.0f}) EXPECT_FALSE(insideObstacle({0.0f, y, z}));
    }
}

TEST(StreetBounds, EachSideEndsTheRunJustPastItsLimit) {
    const glm::vec3 start(0.0f, 5.0f, -200.0f);
    EXPECT_FALSE(outsideStreet(start));
    struct Side {
        glm::vec3 atLimit, pastLimit;
    };
    const Side sides[] = {
        {{0.0f, 15.5f, -300.0f}, {0.0f, 15.51f, -300.0f}},   // above
        {{0.0f, -2.5f, -300.0f}, {0.0f, -2.51f, -300.0f}},   // below
        {{9.5f, 5.0f, -300.0f}, {9.51f, 5.0f, -300.0f}},     // right
        {{-9.5f, 5.0f, -300.0f}, {-9.51f, 5.0f, -300.0f}},   // left
        {{0.0f, 5.0f, -198.0f}, {0.0f, 5.0f, -197.99f}},     // behind the start
    };
    for (const Side& side : sides) {
        EXPECT_FALSE(outsideStreet(side.atLimit));
        EXPECT_TRUE(outsideStreet(side.pastLimit));
    }
    EXPECT_FALSE(outsideStreet({0.0f, 5.0f, -5000.0f}));  // no end wall: the finish line stops the run
    EXPECT_TRUE(outsideStreet(glm::vec3(0.0f)));          // where the cat is before the first frame
}

class CameraBasis : public ::testing::Test {
protected:
    void TearDown() override {
        horizontalAngle = 3.14159f;
        verticalAngle = 0.0f;
    }
};

TEST_F(CameraBasis, StartAnglesLookDownTheStreet) {
    horizontalAngle = 3.14159f;
    verticalAngle = 0.0f;
    updateCameraBasis();
    EXPECT_NEAR(cameraDirection.x, 0.0f, 1e-5f);
    EXPECT_NEAR(cameraDirection.y, 0.0f, 1e-6f);
    EXPECT_NEAR(cameraDirection.z, -1.0f, 1e-6f);
    EXPECT_NEAR(cameraRight.x, 1.0f, 1e-6f);
    EXPECT_NEAR(cameraUp.y, 1.0f, 1e-5f);
}

TEST_F(CameraBasis, LookingStraightDownPutsUpAlongTheStreet) {
    horizontalAngle = 3.14159f;
    verticalAngle = -1.5707963f;
    updateCameraBasis();
    EXPECT_NEAR(cameraDirection.y, -1.0f, 1e-6f);
    EXPECT_NEAR(cameraUp.z, -1.0f, 1e-5f);
}

TEST_F(CameraBasis, IsOrthonormalWithAHorizontalRightVectorForAnyAngles) {
    for (float h = -7.0f; h < 7.0f; h += 0.7f) {
        for (float v = -3.0f; v < 3.0f; v += 0.5f) {
            horizontalAngle = h;
            verticalAngle = v;
            updateCameraBasis();
            EXPECT_NEAR(glm::length(cameraDirection), 1.0f, 1e-5f);
            EXPECT_NEAR(glm::length(cameraRight), 1.0f, 1e-5f);
            EXPECT_EQ(cameraRight.y, 0.0f);
            EXPECT_NEAR(glm::dot(cameraRight, cameraDirection), 0.0f, 1e-5f);
            EXPECT_NEAR(glm::dot(cameraUp, cameraDirection), 0.0f, 1e-5f);
            EXPECT_NEAR(glm::dot(cameraUp, cameraRight), 0.0f, 1e-5f);
        }
    }
}

}  // namespace
