// View-frustum test of bounding spheres.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "render/culling.h"
#include "tests/support/helpers.h"

namespace {

const glm::mat4 identity(1.0f);

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
        {"point on the bottom plane", {0, -1, 0}, 0.0, false},
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

TEST(FrustumCulling, ModelSpaceSphereUnderTheGameCameraMatchesItsWorldSpaceImage) {
    // The game's camera: 90 degrees vertical, near 0.1, far 2000.
    const glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1600.0f / 1400.0f, 0.1f, 2000.0f);
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
    // Both answers must occur, behind, beside and beyond the far plane, for the comparison to mean anything.
    EXPECT_GT(culled, 1000);
    EXPECT_GT(shown, 1000);
    EXPECT_FALSE(visible(projection, view, {"beyond the far plane", {0, 5, -2200}, 1.0, false}));
    EXPECT_TRUE(visible(projection, view, {"reaching back over it", {0, 5, -2200}, 300.0, false}));
}

}  // namespace
