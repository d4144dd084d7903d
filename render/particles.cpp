// How the pool is kept, and why.
//
// The step is the game's whole CPU work of a frame, so the pool is laid out
// for it. Three facts shape it:
//
// 1. Only the live particles matter, about 48,000 of the 100,000 slots, and
//    the model's sort packs them at the front of the pool in drawing order.
//    So the pool stores only those, in that order, and slot numbers stay a
//    model: the slots of the front block [0, frontCount) hold the sorted
//    survivors, the back block [maxParticles - backCount, maxParticles) the
//    rare ones whose key is below the dead slots' -1 (never with this game's
//    camera), and between the blocks every slot is free but for this frame's
//    newborns. That is all findFreeParticle needs.
// 2. A step reads every live particle once and writes it once, in drawing
//    order. So it streams them from one buffer into the other: it reads the
//    current buffer in last step's sort order (nearly the order they lie in,
//    as the trail changes little in a frame, so the reads stay local) and
//    writes each survivor to the next free place of the other buffer, beside
//    its instance data. The written buffer is then in this frame's drawing
//    order, which is what the sort ranks; nothing is moved afterwards.
//    Each particle is two 16-byte halves and its colour: position and size
//    (what is drawn), velocity and life (what moves it).
// 3. Any stable sort gives the same order, so the fastest may be used. The
//    order does change a lot locally from frame to frame (neighbours in depth
//    are particles of different ages and speeds: measured, nearly half the
//    neighbouring pairs swap every frame), so comparison sorts that like
//    nearly sorted input gain little. A radix sort does not care: the keys,
//    as order-preserving integers, span fewer than 2^25 values in this game,
//    so two counting passes of 12 and 13 bits sort them, on 32-bit entries
//    that carry the upper digit beside the particle's index. Wider spans (a
//    camera crossing the origin, which this game never has) fall back to a
//    comparison sort.
//
// The step writes the instance arrays and never reads them, so drawParticles
// hands it the mapped stream buffers and nothing is copied on the way to
// the GPU.
#include "render/particles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "base/globals.h"
#include "gpu/buffer.h"
#include "gpu/draw_count.h"
#include "gpu/gl_state.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/quality.h"
#include "scene/cat.h"
#include "scene/world.h"

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

// ---- The stored pool --------------------------------------------------------

// Four floats in one SSE register (GCC's and Clang's vector extension: +, *
// and [] act lane by lane, each lane exactly the float operation it would
// be alone), so a particle's half moves as one value.
typedef float Float4 __attribute__((vector_size(16)));

// One buffer of live particles, by storage index.
struct PoolBuffer {
    Float4 positionSize[maxParticles];  // x, y, z (world units), size (world units)
    Float4 velocityLife[maxParticles];  // x, y, z (world units per second), seconds left
    uint32_t color[maxParticles];       // r, g, b, a bytes as they are uploaded
};
PoolBuffer buffers[2];
// Last step's survivors at [0, survivorCount), in the order that step drew
// them, then this frame's newborns at [survivorCount, storedCount).
PoolBuffer* current = &buffers[0];
PoolBuffer* spare = &buffers[1];  // where the next step writes
int survivorCount = 0;
int storedCount = 0;

// Last step's survivors by storage index, in descending key order: the front
// block's slots first, then the back block's.
int sortOrder[maxParticles];
int frontCount = 0;
int backCount = 0;
glm::vec3 lastCamera(0.0f);  // the camera of the last step's keys

// This frame's newborns: storage index by slot (-1: none), and their slots.
int newbornAt[maxParticles];
int newbornSlots[maxParticles];
int newbornCount = 0;

// ---- Ordering ---------------------------------------------------------------

// The sort's digits of an order-preserving key: 12 low bits, then 13.
constexpr int kLowBits = 12;
constexpr int kHighBits = 13;
constexpr uint32_t kLowMask = (1u << kLowBits) - 1;
constexpr uint32_t kHighMask = (1u << kHighBits) - 1;
constexpr int kIndexBits = 17;  // a storage index: maxParticles < 2^17
static_assert(maxParticles <= (1 << kIndexBits), "a storage index fits its bits of a sort entry");
static_assert(kHighBits + kIndexBits <= 32, "a sort entry fits 32 bits");

uint32_t sortKeys[maxParticles];     // by storage index of the spare buffer
uint32_t sortEntries[maxParticles];  // between the two passes: high digit << 17 | storage index
uint64_t wideEntries[maxParticles];  // the fallback's key << 32 | storage index

float depthKey(glm::vec3 position, glm::vec3 camera) {
    return position.x * camera.x + position.y * camera.y + position.z * camera.z;
}

// Maps a float to an unsigned integer whose ascending order is the float's
// descending order, so sorting the integers upwards puts the largest key first.
uint32_t descendingKey(float key) {
    uint32_t bits;
    std::memcpy(&bits, &key, sizeof bits);
    const uint32_t ascending = (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
    return ~ascending;
}

// Sorts storage indices [0, n) by sortKeys upwards, ties by index (as a
// stable sort would), into sortOrder; `lowest` and `highest` bound the keys.
void sortByKey(int n, uint32_t lowest, uint32_t highest) {
    const uint32_t highBase = lowest >> kLowBits;
    if (n > 0 && (highest >> kLowBits) - highBase > kHighMask) {
        // A wider span: a comparison sort on unique 64-bit entries (key,
        // then index), which orders ties by index as a stable sort would.
        for (int k = 0; k < n; ++k) wideEntries[k] = static_cast<uint64_t>(sortKeys[k]) << 32 | static_cast<uint32_t>(k);
        std::sort(wideEntries, wideEntries + n);
        for (int k = 0; k < n; ++k) sortOrder[k] = static_cast<int>(static_cast<uint32_t>(wideEntries[k]));
        return;
    }
    // Count the keys by low digit and by high digit, the high digit as an
    // offset from the smallest key's. The keys come nearly sorted, so
    // neighbours mostly share a high digit, and adding to one counter again
    // and again waits every time on the addition before: four tables, one
    // for each of four neighbours, keep those additions apart (measured: a
    // third faster). Counting here rather than in the step's loop, which
    // has the keys at hand, was faster too: that loop is already busy with
    // its stores.
    static uint32_t lowCounts[1u << kLowBits];
    static uint32_t highCounts[4][1u << kHighBits];
    std::memset(lowCounts, 0, sizeof lowCounts);
    std::memset(highCounts, 0, sizeof highCounts);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            const uint32_t key = sortKeys[i + lane];
            ++lowCounts[key & kLowMask];
            ++highCounts[lane][(key >> kLowBits) - highBase];
        }
    }
    for (; i < n; ++i) {
        const uint32_t key = sortKeys[i];
        ++lowCounts[key & kLowMask];
        ++highCounts[0][(key >> kLowBits) - highBase];
    }

    // Counts to each bucket's first place.
    uint32_t place = 0;
    for (uint32_t& count : lowCounts) {
        const uint32_t c = count;
        count = place;
        place += c;
    }
    static uint32_t highStart[1u << kHighBits];
    place = 0;
    for (uint32_t high = 0; high <= kHighMask; ++high) {
        highStart[high] = place;
        place += highCounts[0][high] + highCounts[1][high] + highCounts[2][high] + highCounts[3][high];
    }
    // Two stable counting passes, low digit first: entries in storage order
    // by low digit, then by high digit, which leaves them in key order.
    for (int k = 0; k < n; ++k) {
        const uint32_t key = sortKeys[k];
        sortEntries[lowCounts[key & kLowMask]++] = ((key >> kLowBits) - highBase) << kIndexBits | static_cast<uint32_t>(k);
    }
    for (int k = 0; k < n; ++k) {
        const uint32_t entry = sortEntries[k];
        sortOrder[highStart[entry >> kIndexBits]++] = static_cast<int>(entry & ((1u << kIndexBits) - 1));
    }
}

// ---- The step ---------------------------------------------------------------

// What one step reads, and what it has written so far.
struct StepContext {
    Float4 motionStep;        // added to velocity and life: (0, gravity * dt, 0, -dt)
    Float4 travelTime;        // velocity and life times this is the move: (dt, dt, dt, 0)
    Float4 camera;            // (x, y, z, 0)
    Float4 drawnScale;        // (1, 1, 1, sqrt(stride)): a drawn billboard's growth
    int stride;               // one survivor in this many is drawn
    float* positionSizeOut;
    unsigned char* colorOut;
    int survivors = 0;        // written to the spare buffer
    int drawn = 0;            // written to the instance arrays
    int untilDrawn = 0;       // survivors to pass before the next drawn one
    uint32_t lowest = ~0u;    // of the survivors' sort keys
    uint32_t highest = 0;
};

// Steps the particles at the `count` storage indices `order` of the current
// buffer (all alive: every stored particle is) and writes each survivor to
// the spare buffer, the instance arrays and the sort keys.
//
// The arithmetic is the model's, lane by lane and in the same order:
// velocity += gravity * dt, then position += velocity * dt, then the key
// (x * cx + y * cy) + z * cz. The extra lanes change nothing: gravity's zero
// x and z leave a velocity as it is (none is ever -0), and the size gains
// life * 0. The loop keeps the context in local variables and reads and
// writes through restrict pointers: the buffers, the instance arrays and the
// keys never overlap, and without saying so the compiler would reload
// everything after every store. It comes in two: `thinned` for the lower
// quality levels, and without for full, which writes every survivor and so
// needs none of the thinning's counting (a tenth of the step's instructions).
template <bool thinned>
void advance(const int* order, int count, StepContext& step) {
    const Float4 motionStep = step.motionStep, travelTime = step.travelTime, camera = step.camera,
                 drawnScale = step.drawnScale;
    const int stride = step.stride;
    const Float4* __restrict fromPositionSize = current->positionSize;
    const Float4* __restrict fromVelocityLife = current->velocityLife;
    const uint32_t* __restrict fromColor = current->color;
    Float4* __restrict toPositionSize = spare->positionSize;
    Float4* __restrict toVelocityLife = spare->velocityLife;
    uint32_t* __restrict toColor = spare->color;
    uint32_t* __restrict keys = sortKeys;
    float* __restrict positionSizeOut = step.positionSizeOut;
    unsigned char* __restrict colorOut = step.colorOut;
    int n = step.survivors, drawn = step.drawn, untilDrawn = step.untilDrawn;
    uint32_t lowest = step.lowest, highest = step.highest;

    for (int k = 0; k < count; ++k) {
        const int i = order[k];
        const Float4 motion = fromVelocityLife[i] + motionStep;
        if (!(motion[3] > 0.0f)) continue;  // its last step: the slot is free from now on
        const Float4 at = fromPositionSize[i] + motion * travelTime;
        const uint32_t color = fromColor[i];
        toPositionSize[n] = at;
        toVelocityLife[n] = motion;
        toColor[n] = color;

        if (thinned) {
            // Without a branch: every survivor is written at the next drawn
            // entry, and only a drawn one moves it on, so the others are
            // overwritten.
            const Float4 drawnAt = at * drawnScale;
            std::memcpy(positionSizeOut + 4 * drawn, &drawnAt, sizeof drawnAt);
            std::memcpy(colorOut + 4 * drawn, &color, sizeof color);
            const bool drawnHere = untilDrawn == 0;
            drawn += drawnHere;
            untilDrawn = drawnHere ? stride - 1 : untilDrawn - 1;
        } else {
            std::memcpy(positionSizeOut + 4 * n, &at, sizeof at);
            std::memcpy(colorOut + 4 * n, &color, sizeof color);
        }

        const Float4 product = at * camera;
        const uint32_t key = descendingKey(product[0] + product[1] + product[2]);
        keys[n] = key;
        lowest = std::min(lowest, key);
        highest = std::max(highest, key);
        ++n;
    }
    step.survivors = n;
    step.drawn = thinned ? drawn : n;
    step.untilDrawn = untilDrawn;
    step.lowest = lowest;
    step.highest = highest;
}

// Storage index of what the model's slot holds, or -1 for a free slot.
int storageOfSlot(int slot) {
    if (slot < frontCount) return sortOrder[slot];
    if (slot >= maxParticles - backCount) return sortOrder[frontCount + slot - (maxParticles - backCount)];
    return newbornAt[slot];
}

// Uniform value in [-1, 1) from one rand() draw.
float spread(int r) { return (static_cast<float>(r % 2000) - 1000.0f) / 1000.0f; }

}  // namespace

void resetParticlePool() {
    lastUsedParticle = 0;
    survivorCount = 0;
    storedCount = 0;
    frontCount = 0;
    backCount = 0;
    newbornCount = 0;
    std::fill(std::begin(newbornAt), std::end(newbornAt), -1);
}

int liveParticleCount() { return storedCount; }

Particle particleInSlot(int slot) {
    Particle p{};
    const int i = storageOfSlot(slot);
    if (i < 0) {
        p.life = -1.0f;
        p.sortKey = kDeadKey;
        return p;
    }
    const Float4 at = current->positionSize[i];
    const Float4 motion = current->velocityLife[i];
    p.position = glm::vec3(at[0], at[1], at[2]);
    p.velocity = glm::vec3(motion[0], motion[1], motion[2]);
    std::memcpy(&p.r, &current->color[i], 4);
    p.size = at[3];
    p.life = motion[3];
    p.sortKey = i < survivorCount ? depthKey(p.position, lastCamera) : kDeadKey;
    return p;
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
    // Below the front block's end and from the back block's start every
    // slot is taken; between them only this frame's newborns' are.
    const int backStart = maxParticles - backCount;
    for (int i = std::max(lastUsedParticle, frontCount); i < backStart; ++i) {
        if (newbornAt[i] < 0) return lastUsedParticle = i;
    }
    for (int i = frontCount; i < std::min(lastUsedParticle, backStart); ++i) {
        if (newbornAt[i] < 0) return lastUsedParticle = i;
    }
    return 0;  // full pool: particle 0 is reborn
}

void spawnParticles(int count, glm::vec3 origin) {
    for (int n = 0; n < count; ++n) {
        const int slot = findFreeParticle();
        // Only a full pool hands out a taken slot (0): its particle is reborn
        // where it is stored, and keeps its place in the order.
        int i = storageOfSlot(slot);
        if (i < 0) {
            i = storedCount++;
            newbornAt[slot] = i;
            newbornSlots[newbornCount++] = slot;
        }
        Particle p;
        giveBirth(p, origin);
        current->positionSize[i] = Float4{p.position.x, p.position.y, p.position.z, p.size};
        current->velocityLife[i] = Float4{p.velocity.x, p.velocity.y, p.velocity.z, p.life};
        std::memcpy(&current->color[i], &p.r, 4);
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
                  unsigned char* colorOut, int stride) {
    stride = std::max(stride, 1);
    const float dt = deltaTime;
    const float grow = stride == 1 ? 1.0f : std::sqrt(static_cast<float>(stride));
    StepContext step{Float4{0.0f, (-9.81f * dt) * 0.5f, 0.0f, -dt},
                     Float4{dt, dt, dt, 0.0f},
                     Float4{cameraPosition.x, cameraPosition.y, cameraPosition.z, 0.0f},
                     Float4{1.0f, 1.0f, 1.0f, grow},
                     stride, positionSizeOut, colorOut};

    // Pool order: front block, newborns by slot, back block. The newborns'
    // slots make way for their storage indices.
    std::sort(newbornSlots, newbornSlots + newbornCount);
    for (int k = 0; k < newbornCount; ++k) {
        const int slot = newbornSlots[k];
        newbornSlots[k] = newbornAt[slot];
        newbornAt[slot] = -1;
    }
    auto advanceAll = [&](auto thinned) {
        advance<decltype(thinned)::value>(sortOrder, frontCount, step);
        advance<decltype(thinned)::value>(newbornSlots, newbornCount, step);
        advance<decltype(thinned)::value>(sortOrder + frontCount, backCount, step);
    };
    if (stride > 1) {
        advanceAll(std::true_type{});
    } else {
        advanceAll(std::false_type{});
    }
    newbornCount = 0;

    // The survivors, now in the spare buffer in this step's drawing order,
    // ranked for the next: keys of -1 and above make the front block.
    const int n = step.survivors;
    sortByKey(n, step.lowest, step.highest);
    const uint32_t deadKey = descendingKey(kDeadKey);
    frontCount = static_cast<int>(std::partition_point(sortOrder, sortOrder + n, [&](int i) {
                                      return sortKeys[i] <= deadKey;
                                  }) - sortOrder);
    backCount = n - frontCount;
    std::swap(current, spare);
    survivorCount = storedCount = n;
    lastCamera = cameraPosition;
    return step.drawn;
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

namespace {

// Maps the whole of stream buffer `buffer` for writing, its old contents
// given up (so the driver can hand out fresh storage rather than wait for
// last frame's draw to finish reading), with the written part to be named
// by flushStreamBuffer. Null if it cannot be mapped.
void* mapStreamBuffer(GLuint buffer, GLsizeiptr size) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    return glMapBufferRange(GL_ARRAY_BUFFER, 0, size,
                            GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT | GL_MAP_FLUSH_EXPLICIT_BIT);
}

// Ends the mapping of `buffer`, of which the first `written` bytes were
// written. False if the contents were lost while mapped (the GL may do that,
// for example when the screen mode changes).
bool flushStreamBuffer(GLuint buffer, GLsizeiptr written) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    if (written > 0) glFlushMappedBufferRange(GL_ARRAY_BUFFER, 0, written);
    return glUnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE;
}

}  // namespace

void drawParticles() {
    spawnParticles(particleBirthCount(deltaTime), glm::vec3(theCat->modelMatrix[3]));
    const int stride = qualityParameters(qualityLevel).particleStride;
    constexpr GLsizeiptr positionBytes = maxParticles * 4 * sizeof(GLfloat);
    constexpr GLsizeiptr colorBytes = maxParticles * 4 * sizeof(GLubyte);

    // The step writes the instances straight into the stream buffers.
    void* positionSize = mapStreamBuffer(particlePositionBuffer, positionBytes);
    void* color = positionSize ? mapStreamBuffer(particleColorBuffer, colorBytes) : nullptr;
    int drawn = 0;
    if (color) {
        drawn = stepParticles(deltaTime, cameraPosition, static_cast<float*>(positionSize),
                              static_cast<unsigned char*>(color), stride);
        const bool kept = flushStreamBuffer(particlePositionBuffer, drawn * 4 * sizeof(GLfloat));
        if (!flushStreamBuffer(particleColorBuffer, drawn * 4 * sizeof(GLubyte)) || !kept) drawn = 0;
    } else {
        // No mapping to be had: the step goes through the client arrays.
        if (positionSize) flushStreamBuffer(particlePositionBuffer, 0);
        drawn = stepParticles(deltaTime, cameraPosition, particlePositionSizeData, particleColorData, stride);
        uploadParticles(drawn);
    }
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
    noteDraw(GL_TRIANGLE_STRIP, 4, count);

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
