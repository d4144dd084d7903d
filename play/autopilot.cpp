#include "play/autopilot.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/course.h"
#include "base/globals.h"
#include "play/input.h"
#include "scene/cat.h"
#include "scene/world.h"

namespace {

glm::vec3 catTranslation() { return glm::vec3(theCat->modelMatrix[3]); }

// Whether a point of the plane at (x, y) keeps `clearance` from the box.
bool clears(const ObstacleBox& box, glm::vec2 at, float clearance) {
    if (at.x <= box.xMin - clearance || at.x >= box.xMax + clearance) return true;
    return box.blocksAbove ? at.y <= box.yLimit - clearance : at.y >= box.yLimit + clearance;
}

}  // namespace

std::vector<glm::vec3> planCourseRoute(float clearance) {
    std::vector<float> planes;  // the slabs' z, nearest the start first
    for (const Slab& slab : courseSlabs) planes.push_back(0.5f * (slab.box.zMin + slab.box.zMax));
    std::sort(planes.begin(), planes.end(), std::greater<float>());
    planes.erase(std::unique(planes.begin(), planes.end()), planes.end());

    std::vector<glm::vec3> route;
    glm::vec2 passage(courseStart.x, courseStart.y);
    for (const float z : planes) {
        glm::vec2 best(0.0f);
        float bestDistance = 1e30f;
        // Half-unit steps over the street, a unit inside its limits.
        for (float x = streetLimitX[0] + 1.0f; x <= streetLimitX[1] - 1.0f; x += 0.5f)
            for (float y = streetLimitY[0] + 1.0f; y <= streetLimitY[1] - 1.0f; y += 0.5f) {
                const glm::vec2 at(x, y);
                bool clear = true;
                for (const Slab& slab : courseSlabs)
                    if (0.5f * (slab.box.zMin + slab.box.zMax) == z) clear = clear && clears(slab.box, at, clearance);
                if (clear && glm::distance(at, passage) < bestDistance) {
                    best = at;
                    bestDistance = glm::distance(at, passage);
                }
            }
        passage = best;
        route.push_back({passage, z + 3.0f});
        route.push_back({passage, z - 3.0f});
    }
    route.push_back({passage, finishLineZ - 10.0f});
    return route;
}

void steerTowards(ScriptedPlatform& platform, glm::vec3 target, double step) {
    updateCameraBasis();
    glm::vec3 next = catTranslation();
    if (platform.keyDown(GLFW_KEY_W) && !gameOver) {
        const float speed = walkSpeed + (platform.keyDown(GLFW_KEY_SPACE) ? sprintBonus : 0.0f);
        next += cameraDirection * speed * static_cast<float>(step);
    }
    const glm::vec3 way = target - next;
    double yaw = std::atan2(way.x, way.z);
    while (yaw - horizontalAngle > M_PI) yaw -= 2 * M_PI;
    while (horizontalAngle - yaw > M_PI) yaw += 2 * M_PI;
    const double pitch = std::asin(way.y / glm::length(way));
    const double pixelsPerRadian = 1.0 / (mouseSpeed * (1.0 / 60.0));  // mouseTurnPerPixel, in double
    platform.cursorAtX = screenWidth / 2 - (yaw - horizontalAngle) * pixelsPerRadian;
    platform.cursorAtY = screenHeight / 2 - (pitch - verticalAngle) * pixelsPerRadian;
}

Autopilot::Autopilot(std::vector<glm::vec3> route) : route_(std::move(route)) {}

void Autopilot::steer(ScriptedPlatform& platform, double step) {
    while (next_ + 1 < route_.size() && catTranslation().z <= route_[next_].z) ++next_;
    steerTowards(platform, route_[next_], step);
}
