// What the street hides: a point the plane clips must really be behind the
// floor or a wall, seen from the eye, and the plane must give up whenever the
// street cannot be relied on.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <optional>

#include "base/course.h"
#include "render/street_occlusion.h"

namespace {

const glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1600.0f / 1400.0f, 0.1f, 2000.0f);

glm::mat4 viewProjection(glm::vec3 eye, float yawDegrees, float pitchDegrees) {
    const float yaw = glm::radians(yawDegrees), pitch = glm::radians(pitchDegrees);
    const glm::vec3 direction(std::sin(yaw) * std::cos(pitch), std::sin(pitch), -std::cos(yaw) * std::cos(pitch));
    return projection * glm::lookAt(eye, eye + direction, glm::vec3(0, 1, 0));
}

bool outsideStreet(glm::vec3 p) {
    const float outer = streetWallX + streetWallThickness;
    return std::fabs(p.x) >= outer || p.y < streetFloorY || p.y > streetWallTopY || p.z < streetEndZ || p.z > 0.0f;
}

// Whether the segment from the eye to p passes through the floor or a wall's inner face.
bool streetHides(glm::vec3 eye, glm::vec3 p) {
    const glm::vec3 d = p - eye;
    auto within = [](float v, float lo, float hi) { return v >= lo && v <= hi; };
    if (d.y < 0.0f) {  // the floor, from above
        const float t = (streetFloorY - eye.y) / d.y;
        const glm::vec3 at = eye + t * d;
        if (t > 0.0f && t < 1.0f && within(at.x, -streetWallX, streetWallX) && within(at.z, streetEndZ, 0.0f))
            return true;
    }
    for (float side : {-1.0f, 1.0f}) {
        if (d.x * side <= 0.0f) continue;
        const float t = (side * streetWallX - eye.x) / d.x;
        const glm::vec3 at = eye + t * d;
        if (t > 0.0f && t < 1.0f && within(at.y, streetFloorY, streetWallTopY) && within(at.z, streetEndZ, 0.0f))
            return true;
    }
    return false;
}

struct View {
    glm::vec3 eye;
    float yaw, pitch;  // degrees; yaw 0 looks down the street
};

TEST(StreetOcclusion, EveryPointItClipsIsBehindTheFloorOrAWall) {
    const View views[] = {
        {{0, 8, -190}, 0, 0},     {{-9, 15.5f, -200}, 10, -20}, {{9.5f, -4, -400}, -10, 10},
        {{0, 12, -560}, 0, -10},  {{3, 2, -610}, 0, 0},          {{0, 8, -300}, 20, 5},
    };
    for (const View& view : views) {
        const std::optional<glm::vec4> plane =
            streetOcclusionPlane(view.eye, viewProjection(view.eye, view.yaw, view.pitch), true);
        ASSERT_TRUE(plane) << view.eye.z;
        int clipped = 0;
        for (float x = -60; x <= 60; x += 2.5f)
            for (float y = -40; y <= 80; y += 2.5f)
                for (float z = view.eye.z; z >= -900; z -= 7.5f) {
                    const glm::vec3 p(x, y, z);
                    if (!outsideStreet(p) || glm::dot(*plane, glm::vec4(p, 1.0f)) >= 0.0f) continue;
                    ++clipped;
                    ASSERT_TRUE(streetHides(view.eye, p)) << "eye z " << view.eye.z << ", point " << x << " " << y << " " << z;
                }
        EXPECT_GT(clipped, 1000) << "eye z " << view.eye.z;
    }
}

TEST(StreetOcclusion, TheHousesLowerStoreysAheadAreClipped) {
    const glm::vec3 eye(0, 8, -190);
    const std::optional<glm::vec4> plane = streetOcclusionPlane(eye, viewProjection(eye, 0, 0), true);
    ASSERT_TRUE(plane);
    for (glm::vec3 p : {glm::vec3(-12, 0, -200), glm::vec3(14, 12, -240), glm::vec3(-20, streetFloorY, -500)})
        EXPECT_LT(glm::dot(*plane, glm::vec4(p, 1.0f)), 0.0f) << p.x << " " << p.y << " " << p.z;
    EXPECT_GE(glm::dot(*plane, glm::vec4(-12, 16, -200, 1)), 0.0f) << "above the walls";
    EXPECT_GE(glm::dot(*plane, glm::vec4(-12, -4, -640, 1)), 0.0f) << "past the far end";
}

TEST(StreetOcclusion, NoneWhenTheStreetCannotBeReliedOn) {
    const struct {
        const char* why;
        View view;
        bool opaque;
    } cases[] = {
        {"see-through walls", {{0, 8, -190}, 0, 0}, false},
        {"eye above the walls", {{0, 16, -190}, 0, -10}, true},
        {"eye beside the street", {{-10.5f, 8, -250}, 30, 0}, true},
        {"eye past the far end", {{0, 8, -625}, 0, 0}, true},
        {"looking back", {{0, 8, -300}, 180, 0}, true},
        {"looking sideways", {{0, 8, -300}, 90, 0}, true},
        {"looking straight down", {{0, 8, -300}, 0, -89}, true},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(streetOcclusionPlane(c.view.eye, viewProjection(c.view.eye, c.view.yaw, c.view.pitch), c.opaque))
            << c.why;
}

}  // namespace
