#include "tests/support/autopilot.h"

#include <cmath>
#include <utility>

#include "app/globals.h"
#include "play/input.h"
#include "scene/cat.h"

namespace {

// The cat's speeds as the game rules move it, units per second.
constexpr float walkSpeed = 10.0f;
constexpr float sprintSpeed = 30.0f;
// The mouse look's turn per pixel of cursor travel and second of frame time.
constexpr double radiansPerPixelSecond = 0.04;

glm::vec3 catTranslation() { return glm::vec3(theCat->modelMatrix[3]); }

}  // namespace

const std::vector<glm::vec3>& courseRoute() {
    static const std::vector<glm::vec3> route = {
        {6, 5, -217},    {6, 5, -223},     // around the standing slab at -220
        {-6, 5, -247},   {-6, 5, -253},    // around -250
        {6, 5, -277},    {6, 5, -283},     // beside both slabs at -280
        {0, 4, -307},    {0, 4, -313},     // under the hanging slab at -310
        {-6, 4, -367},   {-6, 4, -373},    // under one, beside the other at -370
        {0, 6.5f, -387}, {0, 6.5f, -393},  // over the low slab at -390
        {0, 10, -407},   {0, 10, -412},    // over -410
        {5, 10, -417},   {5, 10, -423},    // over the low one, beside the hanging one at -420
        {0, 9, -437},    {0, 9, -443},     // over -440
        {-6, 5, -457},   {-6, 5, -462},    // around -460
        {-6, 6, -467},   {-6, 6, -473},    // over the low slab at -470
        {0, 6.5f, -487}, {0, 6.5f, -493},  // between the two at -490
        {6, 5, -507},    {6, 5, -513},     // around -510
        {0, 5, -527},    {0, 5, -533},     // under -530
        {0, 5, -560},                      // over the finish line
    };
    return route;
}

void steerTowards(ScriptedPlatform& platform, glm::vec3 target, double step) {
    updateCameraBasis();
    glm::vec3 next = catTranslation();
    if (platform.keyDown(GLFW_KEY_W) && !gameOver) {
        const float speed = platform.keyDown(GLFW_KEY_SPACE) ? sprintSpeed : walkSpeed;
        next += cameraDirection * speed * static_cast<float>(step);
    }
    const glm::vec3 way = target - next;
    double yaw = std::atan2(way.x, way.z);
    while (yaw - horizontalAngle > M_PI) yaw -= 2 * M_PI;
    while (horizontalAngle - yaw > M_PI) yaw += 2 * M_PI;
    const double pitch = std::asin(way.y / glm::length(way));
    const double pixelsPerRadian = 1.0 / (radiansPerPixelSecond * step);
    platform.cursorAtX = screenWidth / 2 - (yaw - horizontalAngle) * pixelsPerRadian;
    platform.cursorAtY = screenHeight / 2 - (pitch - verticalAngle) * pixelsPerRadian;
}

Autopilot::Autopilot(std::vector<glm::vec3> route) : route_(std::move(route)) {}

void Autopilot::steer(ScriptedPlatform& platform, double step) {
    while (next_ + 1 < route_.size() && catTranslation().z <= route_[next_].z) ++next_;
    steerTowards(platform, route_[next_], step);
}
