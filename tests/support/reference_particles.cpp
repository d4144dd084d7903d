#include "bench/reference_particles.h"

#include <algorithm>
#include <iterator>

namespace {

Particle pool[maxParticles];
int lastFound = 0;

}  // namespace

void resetReferencePool() {
    for (Particle& p : pool) {
        p.life = -1.0f;
        p.sortKey = -1.0f;
    }
    lastFound = 0;
}

int findFreeReferenceParticle() {
    for (int i = lastFound; i < maxParticles; ++i) {
        if (pool[i].life < 0.0f) return lastFound = i;
    }
    for (int i = 0; i < lastFound; ++i) {
        if (pool[i].life < 0.0f) return lastFound = i;
    }
    return 0;
}

void spawnReferenceParticles(int count, glm::vec3 origin) {
    for (int n = 0; n < count; ++n) {
        giveBirth(pool[findFreeReferenceParticle()], origin);
    }
}

int stepReferenceParticles(float deltaTime, glm::vec3 cameraPosition, float* positionSizeOut,
                           unsigned char* colorOut) {
    int count = 0;
    for (Particle& p : pool) {
        if (p.life <= 0.0f) continue;
        p.life -= deltaTime;
        if (p.life > 0.0f) {
            p.velocity += glm::vec3(0.0f, -9.81f, 0.0f) * deltaTime * 0.5f;
            p.position += p.velocity * deltaTime;
            p.sortKey = glm::dot(p.position, cameraPosition);
            float* ps = positionSizeOut + 4 * count;
            ps[0] = p.position.x;
            ps[1] = p.position.y;
            ps[2] = p.position.z;
            ps[3] = p.size;
            unsigned char* c = colorOut + 4 * count;
            c[0] = p.r;
            c[1] = p.g;
            c[2] = p.b;
            c[3] = p.a;
            ++count;
        } else {
            p.sortKey = -1.0f;
        }
    }
    std::sort(std::begin(pool), std::end(pool),
              [](const Particle& a, const Particle& b) { return a.sortKey > b.sortKey; });
    return count;
}
