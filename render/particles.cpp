#include "render/particles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/globals.h"
#include "gpu/buffer.h"
#include "gpu/gl_state.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/quality.h"
#include "scene/cat.h"
#include "scene/world.h"

Particle particles[maxParticles];
int lastUsedParticle = 0;
float* particlePositionSizeData = nullptr;
unsigned char* particleColorData = nullptr;
GLuint particleBillboardBuffer = 0;
GLuint particlePositionBuffer = 0;
GLuint particleColorBuffer = 0;

namespace {

constexpr int kMaxBirthsPerFrame = 160;
constexpr float kLifeSeconds = 5.0f;
constexpr float kDeadKey = -1.0f;

// Where the live particles are. Every slot outside these is free, which lets
// a step visit only the live ones instead of the whole pool.
int frontCount = 0;                // packed at [0, frontCount)
int backCount = 0;                 // packed at [maxParticles - backCount, maxParticles)
int newborn[maxParticles];         // slots filled since the last step, outside both blocks
int newbornCount = 0;

// Per-step scratch, kept for the whole run so the frame loop allocates nothing.
Particle survivors[maxParticles];     // this step's survivors in output order
uint64_t sortEntries[2][maxParticles];  // descending key as an integer << 32 | survivor index

void freeSlot(int i) {
    particles[i].life = -1.0f;
    particles[i].sortKey = kDeadKey;
}

// Maps a float to an unsigned integer whose ascending order is the float's
// descending order, so an integer sort puts the largest key first.
uint32_t descendingKey(float key) {
    uint32_t bits;
    std::memcpy(&bits, &key, sizeof bits);
    const uint32_t ascending = (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
    return ~ascending;
}

// Sorts sortEntries[0][0..n) by their upper 32 bits (the key) with three
// 11-bit LSD radix passes, skipping a pass whose digit is the same
// everywhere; returns the buffer (0 or 1) that holds the result. Linear in n
// and stable, so equal keys keep their output order. (Measured: faster here
// than 8- or 16-bit digits and than bucketing by key range.)
int radixSortEntries(int n) {
    constexpr int kBits = 11;
    constexpr int kPasses = 3;
    constexpr uint32_t kMask = (1u << kBits) - 1;
    static uint32_t histogram[kPasses][1u << kBits];
    if (n < 2) return 0;
    std::memset(histogram, 0, sizeof histogram);
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<uint32_t>(sortEntries[0][i] >> 32);
        for (int pass = 0; pass < kPasses; ++pass) ++histogram[pass][(k >> (kBits * pass)) & kMask];
    }
    int from = 0;
    for (int pass = 0; pass < kPasses; ++pass) {
        uint32_t* buckets = histogram[pass];
        const int shift = 32 + kBits * pass;
        if (buckets[(sortEntries[from][0] >> shift) & kMask] == static_cast<uint32_t>(n)) continue;
        uint32_t offset = 0;
        for (uint32_t b = 0; b <= kMask; ++b) {
            const uint32_t c = buckets[b];
            buckets[b] = offset;
            offset += c;
        }
        const uint64_t* src = sortEntries[from];
        uint64_t* dst = sortEntries[1 - from];
        for (int i = 0; i < n; ++i) dst[buckets[(src[i] >> shift) & kMask]++] = src[i];
        from = 1 - from;
    }
    return from;
}

// What one step reads and where it writes its output.
struct StepContext {
    float deltaTime;
    glm::vec3 gravityStep;  // velocity change of this step
    glm::vec3 camera;
    float* positionSizeOut;
    unsigned char* colorOut;
    int count;              // survivors so far
};

// Ages the particles in pool slots [begin, end) by one step. A survivor
// moves, joins the output arrays, `survivors` and the sort entries; the slots
// themselves are left to repackPool(), which overwrites or frees every slot
// the step visited. One loop per block keeps the body inlined.
void advance(int begin, int end, StepContext& step) {
    for (int i = begin; i < end; ++i) {
        Particle p = particles[i];
        if (!(p.life > 0.0f)) continue;
        p.life -= step.deltaTime;
        if (!(p.life > 0.0f)) continue;
        p.velocity += step.gravityStep;
        p.position += p.velocity * step.deltaTime;
        p.sortKey = p.position.x * step.camera.x + p.position.y * step.camera.y + p.position.z * step.camera.z;

        const int n = step.count++;
        float* ps = step.positionSizeOut + 4 * n;
        ps[0] = p.position.x;
        ps[1] = p.position.y;
        ps[2] = p.position.z;
        ps[3] = p.size;
        unsigned char* c = step.colorOut + 4 * n;
        c[0] = p.r;
        c[1] = p.g;
        c[2] = p.b;
        c[3] = p.a;
        survivors[n] = p;
        sortEntries[0][n] = static_cast<uint64_t>(descendingKey(p.sortKey)) << 32 | static_cast<uint32_t>(n);
    }
}

// Re-packs the `n` survivors: keys of -1 and above at the front, largest
// first, lower keys at the very end of the pool, which is where sorting the
// whole pool with its dead slots at -1 would leave every particle.
void repackPool(int n) {
    const uint64_t* order = sortEntries[radixSortEntries(n)];
    auto survivorAt = [&](int k) -> const Particle& { return survivors[static_cast<uint32_t>(order[k])]; };
    int newFront = 0;
    while (newFront < n && survivorAt(newFront).sortKey >= kDeadKey) ++newFront;
    const int newBack = n - newFront;

    // Free the slots that held particles last step and now lie outside both
    // blocks; the blocks themselves are overwritten below.
    const int backStart = maxParticles - newBack;
    for (int i = newFront; i < frontCount; ++i) freeSlot(i);
    for (int k = 0; k < newbornCount; ++k) {
        if (newborn[k] >= newFront && newborn[k] < backStart) freeSlot(newborn[k]);
    }
    for (int i = maxParticles - backCount; i < backStart; ++i) freeSlot(i);

    for (int i = 0; i < newFront; ++i) particles[i] = survivorAt(i);
    for (int i = 0; i < newBack; ++i) particles[backStart + i] = survivorAt(newFront + i);
    frontCount = newFront;
    backCount = newBack;
    newbornCount = 0;
}

// Uniform value in [-1, 1) from one rand() draw.
float spread(int r) { return (static_cast<float>(r % 2000) - 1000.0f) / 1000.0f; }

}  // namespace

void resetParticlePool() {
    for (Particle& p : particles) {
        p.life = -1.0f;
        p.sortKey = kDeadKey;
    }
    lastUsedParticle = 0;
    frontCount = 0;
    backCount = 0;
    newbornCount = 0;
}

int particleBirthCount(float deltaTime) {
    // Clamp in double before converting: a huge (or NaN) frame time must not
    // reach the int conversion.
    const double births = static_cast<double>(deltaTime) * 10000.0;
    if (births >= kMaxBirthsPerFrame) return kMaxBirthsPerFrame;
    if (!(births > 0.0)) return 0;
    return static_cast<int>(births);
}

int findFreeParticle() {
    for (int i = lastUsedParticle; i < maxParticles; ++i) {
        if (particles[i].life <= 0.0f) {
            lastUsedParticle = i;
            return i;
        }
    }
    for (int i = 0; i < lastUsedParticle; ++i) {
        if (particles[i].life <= 0.0f) {
            lastUsedParticle = i;
            return i;
        }
    }
    return 0;  // full pool: particle 0 is reborn
}

void spawnParticles(int count, glm::vec3 origin) {
    for (int n = 0; n < count; ++n) {
        const int i = findFreeParticle();
        Particle& p = particles[i];
        // A live slot is already one the step visits (only a full pool hands
        // one out); a free one becomes a newborn.
        const bool visited = p.life > 0.0f || i < frontCount || i >= maxParticles - backCount;
        if (!visited) newborn[newbornCount++] = i;

        giveBirth(p, origin);
    }
}

void giveBirth(Particle& p, glm::vec3 origin) {
    p.life = kLifeSeconds;
    p.position = origin;
    const int r1 = std::rand();
    const int r2 = std::rand();
    const int r3 = std::rand();
    p.velocity.z = spread(r1) * 1.5f + 3.0f;
    p.velocity.y = spread(r2) * 1.5f - 2.0f;
    p.velocity.x = spread(r3) * 1.5f + 0.0f;
    p.r = 125;
    p.g = 50;
    p.b = 0;
    p.a = 100;
    p.size = static_cast<float>(std::rand() % 100) / 2000.0f + 0.1f;
}

int stepParticles(float deltaTime, glm::vec3 cameraPosition, float* positionSizeOut,
                  unsigned char* colorOut) {
    StepContext step{deltaTime, glm::vec3(0.0f, -9.81f, 0.0f) * deltaTime * 0.5f, cameraPosition,
                     positionSizeOut, colorOut, 0};
    // Pool order: front block, newborns by slot, back block.
    std::sort(newborn, newborn + newbornCount);
    advance(0, frontCount, step);
    for (int k = 0; k < newbornCount; ++k) advance(newborn[k], newborn[k] + 1, step);
    advance(maxParticles - backCount, maxParticles, step);
    repackPool(step.count);
    return step.count;
}

int thinForDrawing(int count, int stride, float* positionSize, unsigned char* color) {
    if (stride <= 1) return count;
    const float grow = std::sqrt(static_cast<float>(stride));
    int kept = 0;
    for (int i = 0; i < count; i += stride, ++kept) {
        std::memmove(positionSize + 4 * kept, positionSize + 4 * i, 4 * sizeof(float));
        positionSize[4 * kept + 3] *= grow;
        std::memmove(color + 4 * kept, color + 4 * i, 4);
    }
    return kept;
}

void initParticles() {
    resetParticlePool();
    particlePositionSizeData = new float[4 * maxParticles];
    particleColorData = new unsigned char[4 * maxParticles];

    static const GLfloat corners[] = {
        -0.5f, -0.5f, 0.0f, 0.5f, -0.5f, 0.0f, -0.5f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f,
    };
    glGenBuffers(1, &particleBillboardBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, particleBillboardBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);

    glGenBuffers(1, &particlePositionBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, particlePositionBuffer);
    glBufferData(GL_ARRAY_BUFFER, maxParticles * 4 * sizeof(GLfloat), nullptr, GL_STREAM_DRAW);

    glGenBuffers(1, &particleColorBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, particleColorBuffer);
    glBufferData(GL_ARRAY_BUFFER, maxParticles * 4 * sizeof(GLubyte), nullptr, GL_STREAM_DRAW);
}

void drawParticles() {
    spawnParticles(particleBirthCount(deltaTime), glm::vec3(theCat->modelMatrix[3]));
    const int count = stepParticles(deltaTime, cameraPosition, particlePositionSizeData, particleColorData);
    const int drawn = thinForDrawing(count, qualityParameters(qualityLevel).particleStride, particlePositionSizeData,
                                     particleColorData);
    uploadParticles(drawn);
    renderParticles(drawn);
}

void uploadParticles(int count) {
    // Orphaning first lets the driver hand out fresh storage instead of
    // waiting for last frame's draw to finish reading the old one.
    glBindBuffer(GL_ARRAY_BUFFER, particlePositionBuffer);
    glBufferData(GL_ARRAY_BUFFER, maxParticles * 4 * sizeof(GLfloat), nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, count * 4 * sizeof(GLfloat), particlePositionSizeData);
    glBindBuffer(GL_ARRAY_BUFFER, particleColorBuffer);
    glBufferData(GL_ARRAY_BUFFER, maxParticles * 4 * sizeof(GLubyte), nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, count * 4 * sizeof(GLubyte), particleColorData);
}

void renderParticles(int count) {
    const GlBlending glow(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glUseProgram(particleShader->programHandle);

    coinTexture->bind(secondColorUnit);
    setTextureUnit(particleShader, "myTextureSampler", secondColorUnit);
    // The view matrix's first two rows are the camera's right and up axes in world space.
    const glm::mat4& v = viewMatrix;
    setVector(particleShader, "CameraRight_worldspace", glm::vec3(v[0][0], v[1][0], v[2][0]));
    setVector(particleShader, "CameraUp_worldspace", glm::vec3(v[0][1], v[1][1], v[2][1]));
    setMatrix(particleShader, "VP", projectionMatrix * viewMatrix);

    pointVertexInput(cornerInput, particleBillboardBuffer, 3);
    pointVertexInput(centreSizeInput, particlePositionBuffer, 4);
    pointVertexInput(colorInput, particleColorBuffer, 4, GL_UNSIGNED_BYTE, GL_TRUE);
    glVertexAttribDivisor(cornerInput, 0);
    glVertexAttribDivisor(centreSizeInput, 1);
    glVertexAttribDivisor(colorInput, 1);
    glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, count);

    glDisableVertexAttribArray(cornerInput);
    glDisableVertexAttribArray(centreSizeInput);
    glDisableVertexAttribArray(colorInput);
}

void releaseParticles() {
    delete[] particlePositionSizeData;
    particlePositionSizeData = nullptr;
    delete[] particleColorData;
    particleColorData = nullptr;
    glDeleteBuffers(1, &particleColorBuffer);
    glDeleteBuffers(1, &particlePositionBuffer);
    glDeleteBuffers(1, &particleBillboardBuffer);
    particleColorBuffer = 0;
    particlePositionBuffer = 0;
    particleBillboardBuffer = 0;
}
