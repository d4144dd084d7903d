// The particle trail's CPU half done the straightforward way, as the reference
// the game's own step is measured against: every step visits all 100000 slots
// of its own pool, and then the whole pool is sorted with std::sort by
// sortKey, largest first, dead slots (-1) sinking to the end.
#pragma once

#include <glm/glm.hpp>

#include "render/particles.h"

// Empties the reference pool: every life and sortKey -1, search from slot 0.
void resetReferencePool();

// Index of a free slot (life below 0): the lowest from the last one found
// up, else the lowest below it; 0 when the pool is full.
int findFreeReferenceParticle();

// Births as the game makes them (giveBirth), into the reference pool.
void spawnReferenceParticles(int count, glm::vec3 origin);

// One step over the whole reference pool: ages and moves the live particles,
// writes them in pool order to the two arrays (4 floats and 4 bytes each),
// marks the ones that died with sortKey -1, then sorts the whole pool.
// Returns the number written.
int stepReferenceParticles(float deltaTime, glm::vec3 cameraPosition, float* positionSizeOut,
                           unsigned char* colorOut);
