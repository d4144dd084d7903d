// View-frustum test of bounding spheres.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

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

TEST(FrustumCulling, AModelSpaceSphereUnderTheGameCameraIsCulledLikeItsWorldImage) {
    const glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1600.0f / 1400.0f, 0.1f, 2000.0f);
    const glm::mat4 view = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0.3f, 4.8f, -200), glm::vec3(0, 1, 0));
    const float scale = 4.0f, radius = 1.5f;
    const glm::mat4 model = glm::scale(glm::translate(glm::mat4(1), glm::vec3(-10, 8, -220)), glm::vec3(scale));
    int culled = 0, shown = 0;
    for (int x = -40; x <= 40; x += 2)
        for (int y = -20; y <= 20; y += 2)
            for (int z = -40; z <= 40; z += 2) {
                const glm::vec3 local(x, y, z), world(model * glm::vec4(local, 1.0f));
                // Rounding can only disagree for spheres that practically touch a plane.
                if (visible(world, radius * scale - 1e-3, projection, view) != visible(world, radius * scale + 1e-3, projection, view))
                    continue;
                const bool inModelSpace = visible(local, radius, projection, view, model);
                ASSERT_EQ(inModelSpace, visible(world, radius * scale, projection, view)) << x << " " << y << " " << z;
                (inModelSpace ? shown : culled)++;
            }
    EXPECT_TRUE(culled > 1000 && shown > 1000) << "both answers must occur for the comparison to mean anything";
    EXPECT_FALSE(visible({0, 5, -2200}, 1.0, projection, view)) << "beyond the far plane";
    EXPECT_TRUE(visible({0, 5, -2200}, 300.0, projection, view)) << "reaching back over it";
}

}  // namespace
