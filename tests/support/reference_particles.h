// The particle trail's CPU half done the straightforward way: every step
// visits every slot of its own pool and then sorts the whole pool by sortKey,
// largest first and stably, dead slots (-1) sinking to the end. The game's
// packed pool must give exactly its output, and the CPU benchmark measures
// the game against it.
#pragma once

#include <glm/glm.hpp>
#include <vector>

#include "render/particles.h"

class ReferencePool {
public:
    int lastUsed = 0;  // where the next free-slot search starts

    ReferencePool();   // every slot free

    // Births as the game makes them (giveBirth), into free slots found the
    // game's way: the lowest from lastUsed up, else the lowest below it, else 0.
    void spawn(int count, glm::vec3 origin);

    // Ages and moves every live particle, writes the survivors in pool order
    // (4 floats and 4 bytes each) and returns their count; then sorts the pool.
    int step(float deltaTime, glm::vec3 cameraPosition, float* positionSizeOut, unsigned char* colorOut);

private:
    std::vector<Particle> slots_;
    int findFree();
};
