// View-frustum test of bounding spheres.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "render/culling.h"

namespace {

const glm::mat4 identity(1.0f);

// With identity matrices the frustum is the clip cube -1..1 on every axis,
// so every plane distance below is exact in float.
bool visibleInClipCube(glm::vec3 center, double radius) {
    ViewFrustumCulling culler;
    return culler.isSphereVisible(identity, identity, identity, center, radius);
}

TEST(FrustumCulling, EachOfTheSixPlanesCullsASphereBeyondIt) {
    const glm::vec3 outside[6] = {{2, 0, 0}, {-2, 0, 0}, {0, 2, 0}, {0, -2, 0}, {0, 0, 2}, {0, 0, -2}};
    for (const glm::vec3& c : outside) {
        EXPECT_FALSE(visibleInClipCube(c, 0.5)) << c.x << " " << c.y << " " << c.z;
        EXPECT_TRUE(visibleInClipCube(c, 1.5)) << c.x << " " << c.y << " " << c.z;
    }
    EXPECT_TRUE(visibleInClipCube(glm::vec3(0.0f), 0.0));
}

TEST(FrustumCulling, ASphereJustTouchingAPlaneFromOutsideIsCulled) {
    // Centre 1 outside the right plane x = 1: distance exactly -radius.
    EXPECT_FALSE(visibleInClipCube({2.0f, 0.0f, 0.0f}, 1.0));
    // One float step closer: distance -radius + epsilon.
    EXPECT_TRUE(visibleInClipCube({std::nextafter(2.0f, 0.0f), 0.0f, 0.0f}, 1.0));
}

TEST(FrustumCulling, RadiusZeroIsAPointTestAndAPointOnAPlaneIsCulled) {
    EXPECT_FALSE(visibleInClipCube({1.0f, 0.0f, 0.0f}, 0.0));
    EXPECT_FALSE(visibleInClipCube({0.0f, -1.0f, 0.0f}, 0.0));
    EXPECT_TRUE(visibleInClipCube({std::nextafter(1.0f, 0.0f), 0.0f, 0.0f}, 0.0));
}

TEST(FrustumCulling, ASphereOutsideOnlyNearACornerStillCountsAsVisible) {
    // 0.8 beyond two planes at once: about 1.13 from the corner, yet within 1 of each plane.
    EXPECT_TRUE(visibleInClipCube({1.8f, 1.8f, 0.0f}, 1.0));
}

class CameraFrustum : public ::testing::Test {
protected:
    // The game's camera: 90 degrees vertical, near 0.1, far 2000, here at the
    // origin looking down -z.
    glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1600.0f / 1400.0f, 0.1f, 2000.0f);
    glm::mat4 view = glm::lookAt(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
    ViewFrustumCulling culler;

    bool visible(glm::vec3 center, double radius, const glm::mat4& model = identity) {
        return culler.isSphereVisible(projection, view, model, center, radius);
    }
};

TEST_F(CameraFrustum, InFrontIsVisibleBehindTheCameraIsCulled) {
    EXPECT_TRUE(visible({0, 0, -10}, 1.0));
    EXPECT_FALSE(visible({0, 0, 10}, 1.0));
    // Straddling the camera plane: part of it lies beyond the near plane.
    EXPECT_TRUE(visible({0, 0, 0.5f}, 1.0));
}

TEST_F(CameraFrustum, BeyondTheFarPlaneAt2000IsCulled) {
    EXPECT_TRUE(visible({0, 0, -1990}, 1.0));
    EXPECT_FALSE(visible({0, 0, -2010}, 1.0));
    EXPECT_TRUE(visible({0, 0, -2010}, 20.0));
}

TEST_F(CameraFrustum, FarToTheSideIsCulledByTheSidePlanes) {
    // 90 degrees vertical: at distance 10 the view reaches 10 up and about 11.4 sideways.
    EXPECT_FALSE(visible({0, 15, -10}, 1.0));
    EXPECT_FALSE(visible({-15, 0, -10}, 1.0));
    EXPECT_TRUE(visible({0, 10.5f, -10}, 1.0));
}

TEST_F(CameraFrustum, UniformlyScaledModelSpaceSphereMatchesItsWorldSpaceImage) {
    view = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0.3f, 4.8f, -200), glm::vec3(0, 1, 0));
    const float scale = 4.0f;
    const glm::mat4 model = glm::scale(glm::translate(identity, glm::vec3(-10, 8, -220)), glm::vec3(scale));
    const double radius = 1.5;
    int culled = 0, shown = 0;
    for (int x = -40; x <= 40; x += 2)
        for (int y = -20; y <= 20; y += 2)
            for (int z = -40; z <= 40; z += 2) {
                const glm::vec3 local(x, y, z);
                const glm::vec3 world = glm::vec3(model * glm::vec4(local, 1.0f));
                const bool inModelSpace = visible(local, radius, model);
                // Rounding can only disagree for spheres that practically touch a plane.
                const bool nearTouching = visible(world, radius * scale - 1e-3) != visible(world, radius * scale + 1e-3);
                if (nearTouching) continue;
                ASSERT_EQ(inModelSpace, visible(world, radius * scale)) << x << " " << y << " " << z;
                (inModelSpace ? shown : culled)++;
            }
    // Both answers must actually occur for the comparison to mean anything.
    EXPECT_GT(culled, 1000);
    EXPECT_GT(shown, 1000);
}

}  // namespace
