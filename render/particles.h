// The particle trail behind the cat: a fixed pool of 100000 billboards,
// simulated on the CPU once per drawn frame and drawn with one instanced draw.
//
// What the player sees is defined by a simple model: a pool of 100000 slots,
// stepped in slot order, whose live particles are written to the instance
// arrays in that order, after which the whole pool is sorted stably by
// sortKey, largest first. The key is not a distance but the dot product of a
// particle's position with the camera's; with this game's camera, far out
// along -z and looking down -z, a larger key lies farther ahead of it, so the
// order is roughly back to front. A frame's instances are therefore in the
// order of the previous frame's sort, with that frame's newborns after them,
// at the free slots they took. tests/support/reference_particles.h is that
// model written out; the game gives exactly its output, but does not store it
// that way (render/particles.cpp says how and why). Slots exist only as
// numbers here: findFreeParticle and lastUsedParticle work on them, and
// particleInSlot shows what the model's slot holds.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

constexpr int maxParticles = 100000;

// One particle, as a birth makes it and as particleInSlot shows it.
struct Particle {
    glm::vec3 position;        // world units
    glm::vec3 velocity;        // world units per second
    unsigned char r, g, b, a;  // colour, uploaded as is
    float size;                // billboard edge, world units
    float life;                // seconds left; zero or less marks a free slot
    float sortKey;             // dot(position, cameraPosition) while alive, -1 once dead
};

extern int lastUsedParticle;               // where the next free-slot search starts
// x, y, z, size and r, g, b, a per drawn particle: made by initParticles,
// used only when the stream buffers cannot be mapped.
extern float* particlePositionSizeData;
extern unsigned char* particleColorData;
extern GLuint particleBillboardBuffer;     // the quad's 4 corners
extern GLuint particlePositionBuffer;      // per instance x, y, z, size (stream)
extern GLuint particleColorBuffer;         // per instance r, g, b, a (stream)

// ---- CPU half: no GL -------------------------------------------------------

// Empties the pool (every slot free) and starts the search at 0.
void resetParticlePool();

// Particles alive: those the last step kept and the newborns since.
int liveParticleCount();

// What slot `slot` of the pool model holds: a live particle (its sortKey
// that of the last step; -1 for a newborn not yet stepped), or for a free
// slot a record of zeros with life and sortKey -1. For tests and tools: it
// looks the slot up, slowly.
Particle particleInSlot(int slot);

// Births for a frame of `deltaTime` seconds: deltaTime * 10000 truncated,
// at most 160, none for zero or less.
int particleBirthCount(float deltaTime);

// Index of a free particle: the lowest from lastUsedParticle up, else the
// lowest below it; stored in lastUsedParticle. A full pool gives 0 and leaves
// lastUsedParticle alone.
int findFreeParticle();

// Gives `count` free particles 5 seconds of life at `origin`, a random
// backward and downward velocity, the trail colour and a random size; draws
// four rand() values per particle.
void spawnParticles(int count, glm::vec3 origin);

// Gives one particle 5 seconds of life at `origin`, a random backward and
// downward velocity, the trail colour and a random size; four rand() draws.
void giveBirth(Particle& p, glm::vec3 origin);

// Ages and moves every live particle by `deltaTime` (gravity acts on the
// velocity before the position) and writes the survivors in pool order to
// `positionSizeOut` (4 floats each) and `colorOut` (4 bytes each); then
// orders the pool by descending sortKey, the order of the next step's
// output. Returns how many entries it wrote. With a `stride` above 1 it
// thins the trail for drawing: it writes only the first survivor of every
// `stride`, `sqrt(stride)` times as large, so the trail covers as much of
// the picture with fewer billboards; the pool itself is stepped alike at
// every stride. The arrays need room for liveParticleCount() entries; they
// are only written, never read, so they may be mapped GL buffers.
int stepParticles(float deltaTime, glm::vec3 cameraPosition, float* positionSizeOut,
                  unsigned char* colorOut, int stride = 1);

// ---- GL half ---------------------------------------------------------------

// Empties the pool, allocates the client arrays and creates the three
// buffers. Needs a current context.
void initParticles();

// Births at the cat, one step thinned for the quality level, written
// straight into the mapped stream buffers, and one instanced draw with
// particleShader and coinTexture on unit 1. Leaves particleShader in use,
// GL_TEXTURE1 active, attribute arrays 0 to 2 disabled and the divisors of 1
// and 2 at 1.
void drawParticles();

// Orphans both stream buffers and uploads the first `count` entries of the
// client arrays: the way in when the buffers cannot be mapped.
void uploadParticles(int count);

// The draw itself: blend state, program, texture, uniforms, attributes and
// the instanced draw of `count` billboards from the uploaded buffers.
void renderParticles(int count);

// Deletes the three buffers and both client arrays; names and pointers go
// back to 0.
void releaseParticles();
