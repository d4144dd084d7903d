// kivo_soak_aim: reads the game's console on stdin and prints, for its last
// coin layout, the nearest coin (within 50 units) that the cat can fly to in a
// straight line from the start, keeping a unit from every slab's box and from
// the street's limits: the turn to it (yaw, then pitch, radians), its
// distance, the seconds it takes at walking speed and the mouse look's turn
// per pixel (radians). Prints nothing when no coin qualifies. The
// soak aims with it.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "base/course.h"
#include "play/input.h"
#include "scene/coins.h"

namespace {

// The street's limits are a box: a flight between two points inside it stays inside.
bool clearFlight(glm::vec3 from, glm::vec3 to) {
    for (const glm::vec3& p : {from, to})
        if (p.x < streetLimitX[0] + 1 || p.x > streetLimitX[1] - 1 || p.y < streetLimitY[0] + 1 ||
            p.y > streetLimitY[1] - 1 || p.z > streetLimitZ - 1)
            return false;
    for (const Slab& slab : courseSlabs) {
        const ObstacleBox& b = slab.box;
        const ObstacleBox grown{b.zMin - 1, b.zMax + 1, b.xMin - 1, b.xMax + 1,
                                b.blocksAbove ? b.yLimit - 1 : b.yLimit + 1, b.blocksAbove};
        if (grown.entryAlong(from, to) >= 0.0) return false;
    }
    return true;
}

}  // namespace

int main() {
    const glm::vec3 origin = vesk::scene::GameRaster().origin;
    std::vector<glm::vec3> coins;
    for (std::string line; std::getline(std::cin, line);) {
        int index = 0;
        vesk::scene::CoinOffset offset{};
        if (!vesk::scene::parseCoinLayoutLine(line, index, offset)) continue;
        if (index == 0) coins.clear();
        coins.push_back(origin + glm::vec3(offset.x, offset.y, offset.z));
    }
    const glm::vec3* best = nullptr;
    for (const glm::vec3& coin : coins)
        if (glm::distance(coin, courseStart) < 50.0f && clearFlight(courseStart, coin) &&
            (!best || glm::distance(coin, courseStart) < glm::distance(*best, courseStart)))
            best = &coin;
    if (!best) return 0;
    const glm::vec3 way = *best - courseStart;
    std::printf("%.4f %.4f %.3f %.3f %.7g\n", -std::atan2(way.x, -way.z), std::atan2(way.y, std::hypot(way.x, way.z)),
                glm::length(way), glm::length(way) / walkSpeed, mouseTurnPerPixel);
}
