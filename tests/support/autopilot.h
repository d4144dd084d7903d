// Scripted mouse steering that flies the cat through the whole course: under,
// over and around every slab to beyond the finish line. Shared by the play
// test, the frame benchmark and the screenshot runs, so all of them drive the
// real game rules the same way.
#pragma once

#include <cstddef>
#include <glm/glm.hpp>
#include <vector>

#include "tests/scripted_platform.h"

// The waypoints from the start to beyond the finish line, world units. Each
// slab is passed 2 to 3 units before and after it; between slabs the cat
// changes lane or height. Flown at walking or sprinting speed, the route
// touches no slab and never leaves the street.
const std::vector<glm::vec3>& courseRoute();

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
    explicit Autopilot(std::vector<glm::vec3> route = courseRoute());

    // Picks the waypoint to head for and steers towards it for the coming
    // frame of `step` seconds.
    void steer(ScriptedPlatform& platform, double step);

    // Back to the first waypoint, for a new run from the start.
    void restart() { next_ = 0; }

    std::size_t nextWaypoint() const { return next_; }

private:
    std::vector<glm::vec3> route_;
    std::size_t next_ = 0;
};
