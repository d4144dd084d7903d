// The model-matrix steps the scene objects are built from, and the grid
// placement that collision boxes are checked against.
#include <gtest/gtest.h>

#include "scene/level.h"

using namespace vesk::scene;

namespace {

void expectNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

glm::vec3 translationOf(const glm::mat4& m) { return glm::vec3(m[3]); }

TEST(SceneTransforms, RotationsAreGivenInDegreesExceptAboutZ) {
    const glm::mat4 quarterTurnY = rotatedDegrees(glm::mat4(1.0f), 90.0f, glm::vec3(0, 1, 0));
    expectNear(glm::vec3(quarterTurnY[0]), {0, 0, -1});  // x axis turned onto -z
    const glm::mat4 quarterTurnZ = rotationAboutZ(1.5707963f);
    expectNear(glm::vec3(quarterTurnZ[0]), {0, 1, 0});
    expectNear(glm::vec3(quarterTurnZ[1]), {-1, 0, 0});
    EXPECT_EQ(glm::vec3(quarterTurnZ[2]), glm::vec3(0, 0, 1));
    EXPECT_EQ(quarterTurnZ[3], glm::vec4(0, 0, 0, 1));
}

TEST(SceneTransforms, TranslationIsTakenInTheMatrixOwnFrame) {
    const glm::mat4 turned = rotatedDegrees(glm::mat4(1.0f), 90.0f, glm::vec3(0, 1, 0));
    expectNear(translationOf(translated(turned, 1.0, 0.0, 0.0)), {0, 0, -1});
}

TEST(GridPlacement, OffsetsMoveTheSlabInTheUprightFrame) {
    expectNear(translationOf(gridModelMatrix(0, 0, 0)), {-10, 8, -220});
    expectNear(translationOf(gridModelMatrix(1, -60, 0)), {-9, 8, -280});
    expectNear(translationOf(gridModelMatrix(1, -60, -10)), {-9, 18, -280});
    expectNear(translationOf(gridModelMatrix(4.5, -170, 2)), {-5.5f, 6, -390});
}

TEST(GridPlacement, TheSlabStandsUprightAcrossTheStreet) {
    const glm::mat4 m = gridModelMatrix(9, -30, 0);
    expectNear(glm::vec3(m[0]), {1, 0, 0});
    expectNear(glm::vec3(m[1]), {0, 0, 1});   // the model's y runs along the street
    expectNear(glm::vec3(m[2]), {0, -1, 0});  // the model's z points down
}

}  // namespace
