// Scripted mouse steering that flies the cat through the whole course: under,
// over and around every slab to beyond the finish line. Shared by kivo
// --benchmark, the play tests, the benchmarks and the screenshot runs, so all
// of them drive the real game rules the same way.
#pragma once

#include <cstddef>
#include <glm/glm.hpp>
#include <vector>

#include "base/scripted_platform.h"

// A route through the course, planned from its slabs: for each plane of
// slabs, the passage nearest the previous one that keeps `clearance` units
// from every box of the plane, entered 3 units before the plane and left 3
// after it; then straight on to 10 units beyond the finish line.
std::vector<glm::vec3> planCourseRoute(float clearance = 1.5f);

// Sets this frame's cursor so that the cat, moved by the coming frame of
// `step` seconds with the direction it already has, heads straight for
// `target` in the frame after (a turn shows one frame late). Reads the keys
// held on `platform`, the cat and the camera angles; call it before the frame.
void steerTowards(ScriptedPlatform& platform, glm::vec3 target, double step);

// Follows a route waypoint by waypoint; a waypoint counts as passed once the
// cat is beyond its z. Moving forward is up to the caller (hold W, and Space
// to sprint).
class Autopilot {
public:
    explicit Autopilot(std::vector<glm::vec3> route = planCourseRoute());

    // Picks the waypoint to head for and steers towards it for the coming
    // frame of `step` seconds.
    void steer(ScriptedPlatform& platform, double step);

    // Back to the first waypoint, for a new run from the start.
    void restart() { next_ = 0; }

private:
    std::vector<glm::vec3> route_;
    std::size_t next_ = 0;
};
