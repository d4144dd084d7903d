// The particle trail behind the cat: a fixed pool of 100000 billboards,
// simulated on the CPU once per drawn frame and drawn with one instanced draw.
//
// The pool keeps its live particles packed: after every step they sit at the
// front in drawing order, largest sortKey first, so a step and its ordering
// only touch the live ones. The key is not a distance but the dot product of
// a particle's position with the camera's; with this game's camera, far out
// along -z and looking down -z, a larger key lies farther ahead of it, so the
// order is roughly back to front. Only particles with a key below -1 (never
// the case with this camera) are kept at the very end instead, where a sort
// of the whole pool would put them.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>

constexpr int maxParticles = 100000;

struct Particle {
    glm::vec3 position;        // world units
    glm::vec3 velocity;        // world units per second
    unsigned char r, g, b, a;  // colour, uploaded as is
    float size;                // billboard edge, world units
    float life;                // seconds left; zero or less marks a free slot
    float sortKey;             // dot(position, cameraPosition) while alive, -1 once dead
};

extern Particle particles[maxParticles];
extern int lastUsedParticle;               // where the next free-slot search starts
extern float* particlePositionSizeData;    // x, y, z, size per drawn particle; made by initParticles
extern unsigned char* particleColorData;   // r, g, b, a per drawn particle; made by initParticles
extern GLuint particleBillboardBuffer;     // the quad's 4 corners
extern GLuint particlePositionBuffer;      // per instance x, y, z, size (stream)
extern GLuint particleColorBuffer;         // per instance r, g, b, a (stream)

// ---- CPU half: no GL -------------------------------------------------------

// Empties the pool (every life and sortKey -1) and starts the search at 0.
void resetParticlePool();

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
// velocity before the position), writes the survivors in pool order to
// `positionSizeOut` (4 floats each) and `colorOut` (4 bytes each), and
// returns their count. Then re-packs the pool in descending sortKey order,
// which is the order of the next step's output.
int stepParticles(float deltaTime, glm::vec3 cameraPosition, float* positionSizeOut,
                  unsigned char* colorOut);

// Thins the first `count` particles of the output arrays for drawing: keeps
// the first of every `stride`, in order at the front, each `sqrt(stride)`
// times as large, so the trail covers as much of the picture with fewer
// billboards. Returns how many are kept; a stride of 1 keeps them all as they are.
int thinForDrawing(int count, int stride, float* positionSize, unsigned char* color);

// ---- GL half ---------------------------------------------------------------

// Empties the pool, allocates the client arrays and creates the three
// buffers. Needs a current context.
void initParticles();

// Births at the cat, one step, thinning for the quality level, upload and one
// instanced draw with particleShader and coinTexture on unit 1. Leaves particleShader in use,
// GL_TEXTURE1 active, attribute arrays 0 to 2 disabled and the divisors of 1
// and 2 at 1.
void drawParticles();

// Orphans both stream buffers and uploads the first `count` entries of the
// client arrays.
void uploadParticles(int count);

// The draw itself: blend state, program, texture, uniforms, attributes and
// the instanced draw of `count` billboards from the uploaded buffers.
void renderParticles(int count);

// Deletes the three buffers and both client arrays; names and pointers go
// back to 0.
void releaseParticles();
