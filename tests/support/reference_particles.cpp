#include "tests/support/reference_particles.h"

#include <algorithm>

ReferencePool::ReferencePool() : slots_(maxParticles) {
    for (Particle& p : slots_) p.life = p.sortKey = -1.0f;
}

int ReferencePool::findFree() {
    for (int i = lastUsed; i < maxParticles; ++i)
        if (slots_[i].life <= 0.0f) return lastUsed = i;
    for (int i = 0; i < lastUsed; ++i)
        if (slots_[i].life <= 0.0f) return lastUsed = i;
    return 0;
}

void ReferencePool::spawn(int count, glm::vec3 origin) {
    for (int n = 0; n < count; ++n) giveBirth(slots_[findFree()], origin);
}

int ReferencePool::step(float deltaTime, glm::vec3 cameraPosition, float* positionSizeOut,
                        unsigned char* colorOut) {
    int count = 0;
    for (Particle& p : slots_) {
        if (p.life <= 0.0f) continue;
        p.life -= deltaTime;
        if (p.life <= 0.0f) {
            p.sortKey = -1.0f;
            continue;
        }
        p.velocity += glm::vec3(0.0f, -9.81f, 0.0f) * deltaTime * 0.5f;
        p.position += p.velocity * deltaTime;
        const glm::vec3 c = cameraPosition;
        p.sortKey = p.position.x * c.x + p.position.y * c.y + p.position.z * c.z;
        float* ps = positionSizeOut + 4 * count;
        ps[0] = p.position.x;
        ps[1] = p.position.y;
        ps[2] = p.position.z;
        ps[3] = p.size;
        unsigned char* rgba = colorOut + 4 * count;
        rgba[0] = p.r;
        rgba[1] = p.g;
        rgba[2] = p.b;
        rgba[3] = p.a;
        ++count;
    }
    std::stable_sort(slots_.begin(), slots_.end(),
                     [](const Particle& a, const Particle& b) { return a.sortKey > b.sortKey; });
    return count;
}
