// View-frustum test of bounding spheres.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/culling.h"

namespace {

bool visible(glm::vec3 centre, double radius, const glm::mat4& projection = glm::mat4(1),
             const glm::mat4& view = glm::mat4(1), const glm::mat4& model = glm::mat4(1)) {
    return ViewFrustumCulling().isSphereVisible(projection, view, model, centre, radius);
}

TEST(FrustumCulling, OnlySpheresWhollyBeyondOnePlaneAreCulled) {
    // With identity matrices the frustum is the cube -1..1, and every distance below is exact.
    EXPECT_FALSE(visible({2, 0, 0}, 1.0)) << "touching the right plane from outside";
    EXPECT_TRUE(visible({std::nextafter(2.0f, 0.0f), 0, 0}, 1.0)) << "one float step closer";
    EXPECT_FALSE(visible({0, -1, 0}, 0.0)) << "a point on the bottom plane";
    EXPECT_TRUE(visible({1.8f, 1.8f, 0}, 1.0)) << "beyond two planes near a corner, within 1 of each";
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-2.0f, 2.0f}) {
            glm::vec3 centre(0.0f);
            centre[axis] = side;
            EXPECT_FALSE(visible(centre, 0.5)) << "beyond plane " << axis << side;
            EXPECT_TRUE(visible(centre, 1.5)) << "reaching over plane " << axis << side;
        }
}

}  // namespace
