// View-frustum test of bounding spheres.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "render/culling.h"
#include "tests/helpers.h"

namespace {

const glm::mat4 identity(1.0f);
// The game's camera: 90 degrees vertical, near 0.1, far 2000.
const glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1600.0f / 1400.0f, 0.1f, 2000.0f);
const glm::mat4 lookingDownMinusZ = glm::lookAt(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));

struct Sphere {
    const char* what;
    glm::vec3 centre;
    double radius;
    bool visible;
};

bool visible(const glm::mat4& projection, const glm::mat4& view, const Sphere& s, const glm::mat4& model = identity) {
    ViewFrustumCulling culler;
    return culler.isSphereVisible(projection, view, model, s.centre, s.radius);
}

TEST(FrustumCulling, EdgeCasesInTheClipCube) {
    // With identity matrices the frustum is the cube -1..1 on every axis, so
    // every plane distance below is exact in float.
    std::vector<Sphere> cases = {
        {"touching the right plane from outside (distance -radius)", {2, 0, 0}, 1.0, false},
        {"one float step closer (-radius + epsilon)", {std::nextafter(2.0f, 0.0f), 0, 0}, 1.0, true},
        {"point on the right plane", {1, 0, 0}, 0.0, false},
        {"point on the bottom plane", {0, -1, 0}, 0.0, false},
        {"point one step inside", {std::nextafter(1.0f, 0.0f), 0, 0}, 0.0, true},
        {"beyond two planes near a corner, within 1 of each", {1.8f, 1.8f, 0}, 1.0, true},
    };
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-2.0f, 2.0f}) {
            glm::vec3 centre(0.0f);
            centre[axis] = side;
            cases.push_back({"small sphere beyond a plane", centre, 0.5, false});
            cases.push_back({"large sphere reaching over a plane", centre, 1.5, true});
        }
    for (const Sphere& s : cases)
        EXPECT_EQ(visible(identity, identity, s), s.visible) << s.what << " at " << ::testing::PrintToString(s.centre);
}

TEST(FrustumCulling, GameCameraCullsBehindBeyondTheFarPlaneAndFarToTheSide) {
    const Sphere cases[] = {
        {"in front", {0, 0, -10}, 1.0, true},
        {"behind the camera", {0, 0, 10}, 1.0, false},
        {"straddling the camera plane", {0, 0, 0.5f}, 1.0, true},
        {"just before the far plane", {0, 0, -1990}, 1.0, true},
        {"beyond the far plane", {0, 0, -2010}, 1.0, false},
        {"reaching back over the far plane", {0, 0, -2010}, 20.0, true},
        // At distance 10 the view reaches 10 up and about 11.4 sideways.
        {"above the view", {0, 15, -10}, 1.0, false},
        {"left of the view", {-15, 0, -10}, 1.0, false},
        {"reaching into the top edge", {0, 10.5f, -10}, 1.0, true},
    };
    for (const Sphere& s : cases) EXPECT_EQ(visible(projection, lookingDownMinusZ, s), s.visible) << s.what;
}

TEST(FrustumCulling, UniformlyScaledModelSpaceSphereMatchesItsWorldSpaceImage) {
    const glm::mat4 view = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0.3f, 4.8f, -200), glm::vec3(0, 1, 0));
    const float scale = 4.0f, radius = 1.5f;
    const glm::mat4 model = glm::scale(glm::translate(identity, glm::vec3(-10, 8, -220)), glm::vec3(scale));
    int culled = 0, shown = 0;
    for (int x = -40; x <= 40; x += 2)
        for (int y = -20; y <= 20; y += 2)
            for (int z = -40; z <= 40; z += 2) {
                const glm::vec3 local(x, y, z), world(model * glm::vec4(local, 1.0f));
                // Rounding can only disagree for spheres that practically touch a plane.
                if (visible(projection, view, {"", world, radius * scale - 1e-3, false}) !=
                    visible(projection, view, {"", world, radius * scale + 1e-3, false}))
                    continue;
                const bool inModelSpace = visible(projection, view, {"", local, radius, false}, model);
                ASSERT_EQ(inModelSpace, visible(projection, view, {"", world, radius * scale, false})) << x << " " << y << " " << z;
                (inModelSpace ? shown : culled)++;
            }
    // Both answers must actually occur for the comparison to mean anything.
    EXPECT_GT(culled, 1000);
    EXPECT_GT(shown, 1000);
}

}  // namespace
