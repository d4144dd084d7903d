// The particle pool: births, free-slot search, one simulation step and the
// drawing order, all without GL.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "render/particles.h"
#include "tests/helpers.h"

namespace {

class Particles : public ::testing::Test {
protected:
    std::vector<float> positionSize = std::vector<float>(4 * maxParticles);
    std::vector<unsigned char> colors = std::vector<unsigned char>(4 * maxParticles);
    const glm::vec3 origin{0.0f, 5.0f, -200.0f};  // the cat at the start
    const glm::vec3 camera{0.0f, 5.0f, -190.0f};  // behind it, looking down the course

    void SetUp() override { resetParticlePool(); }

    int step(float deltaTime, glm::vec3 cameraAt) {
        return stepParticles(deltaTime, cameraAt, positionSize.data(), colors.data());
    }
    int step(float deltaTime) { return step(deltaTime, camera); }
};

// Uniform value in [-1, 1) from one rand() draw, as births use it.
float spread(int r) { return (static_cast<float>(r % 2000) - 1000.0f) / 1000.0f; }

TEST(ParticleBirths, TenThousandPerSecondTruncatedAndCapped) {
    EXPECT_EQ(156, particleBirthCount(0.015625f));
    EXPECT_EQ(160, particleBirthCount(0.03125f));
    EXPECT_EQ(0, particleBirthCount(0.00009f));
    EXPECT_EQ(49, particleBirthCount(0.005f));  // 0.005 as a float is a hair below
    EXPECT_EQ(0, particleBirthCount(0.0f));
    EXPECT_EQ(0, particleBirthCount(-1.0f));
    EXPECT_EQ(160, particleBirthCount(1e30f));
    EXPECT_EQ(0, particleBirthCount(std::numeric_limits<float>::quiet_NaN()));
}

TEST_F(Particles, BirthsFillTheSlotsInOrderFromFourDrawsEach) {
    std::srand(99);
    const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand(), r4 = std::rand();
    std::srand(99);
    spawnParticles(3, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(lastUsedParticle, 2);
    // Backwards (+z) and downwards with a spread of 1.5 either way.
    EXPECT_EQ(particles[0].velocity, glm::vec3(spread(r3) * 1.5f, spread(r2) * 1.5f - 2.0f, spread(r1) * 1.5f + 3.0f));
    EXPECT_EQ(particles[0].size, static_cast<float>(r4 % 100) / 2000.0f + 0.1f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(particles[i].life, 5.0f);
        EXPECT_EQ(particles[i].position, glm::vec3(1.0f, 2.0f, 3.0f));
        EXPECT_EQ(glm::ivec4(particles[i].r, particles[i].g, particles[i].b, particles[i].a), glm::ivec4(125, 50, 0, 100));
    }
    EXPECT_LT(particles[3].life, 0.0f);
}

TEST_F(Particles, FreeSlotSearchStartsAtTheLastFoundWrapsAndTakesALifeOfZero) {
    for (Particle& p : particles) p.life = 1.0f;
    particles[10].life = -1.0f;
    particles[50].life = 0.0f;
    lastUsedParticle = 20;
    EXPECT_EQ(findFreeParticle(), 50);
    EXPECT_EQ(lastUsedParticle, 50);
    particles[50].life = 1.0f;
    EXPECT_EQ(findFreeParticle(), 10) << "nothing above: the lowest below";
    EXPECT_EQ(lastUsedParticle, 10);
    particles[10].life = 1.0f;
    EXPECT_EQ(findFreeParticle(), 0) << "full pool: particle 0 is reborn";
    EXPECT_EQ(lastUsedParticle, 10);
}

TEST_F(Particles, OneStepUpdatesVelocityBeforePositionAndWritesTheSurvivor) {
    spawnParticles(1, {1.0f, 2.0f, -3.0f});
    particles[0].velocity = {0.0f, -2.0f, 3.0f};
    ASSERT_EQ(1, step(0.1f));
    const Particle& p = particles[0];
    EXPECT_TRUE(closeTo(p.velocity, {0.0f, -2.4905f, 3.0f}, 1e-6f));
    EXPECT_TRUE(closeTo(p.position, {1.0f, 2.0f - 0.24905f, -2.7f}, 1e-6f));
    EXPECT_FLOAT_EQ(p.life, 4.9f);
    EXPECT_FLOAT_EQ(p.sortKey, glm::dot(p.position, camera));
    EXPECT_EQ(std::vector<float>(positionSize.begin(), positionSize.begin() + 4),
              (std::vector<float>{p.position.x, p.position.y, p.position.z, p.size}));
    EXPECT_EQ(std::vector<unsigned char>(colors.begin(), colors.begin() + 4),
              (std::vector<unsigned char>{125, 50, 0, 100}));
}

TEST_F(Particles, ALifeEndingThisStepWritesNothingAndFreesItsSlot) {
    spawnParticles(3, origin);
    particles[1].life = 0.05f;
    particles[2].life = 0.25f;  // 0.25 - 0.25 is exactly 0: over as well
    ASSERT_EQ(step(0.25f), 1);
    EXPECT_EQ(particles[0].life, 4.75f);
    EXPECT_EQ(particles[2].sortKey, -1.0f);
    lastUsedParticle = 0;
    EXPECT_EQ(findFreeParticle(), 1) << "the dead left free slots behind the survivor";
    spawnParticles(2, origin);
    EXPECT_EQ(step(0.01f), 3);
}

TEST_F(Particles, TheNextFrameDrawsBackToFront) {
    // Three particles flying apart along the course, born in slots 0, 1, 2.
    spawnParticles(3, origin);
    const float speeds[] = {1.0f, 5.0f, 3.0f};
    for (int i = 0; i < 3; ++i) particles[i].velocity = {0.0f, 0.0f, -speeds[i]};
    ASSERT_EQ(3, step(0.1f));
    EXPECT_GT(positionSize[2], positionSize[6]) << "this frame's output is in slot order";
    // The next is by sortKey, largest (farthest from a camera down the -z axis) first.
    ASSERT_EQ(3, step(0.1f));
    EXPECT_LT(positionSize[2], positionSize[6]);
    EXPECT_LT(positionSize[6], positionSize[10]);
}

// The straightforward pool the packed one must behave like: every step visits
// all slots, then the whole pool is stably sorted by sortKey, dead slots at -1.
struct ReferencePool {
    std::vector<Particle> slots = std::vector<Particle>(maxParticles);
    int lastUsed = 0;

    ReferencePool() {
        for (Particle& p : slots) p.life = p.sortKey = -1.0f;
    }
    int findFree() {
        for (int i = lastUsed; i < maxParticles; ++i)
            if (slots[i].life <= 0.0f) return lastUsed = i;
        for (int i = 0; i < lastUsed; ++i)
            if (slots[i].life <= 0.0f) return lastUsed = i;
        return 0;
    }
    void spawn(int count, glm::vec3 at) {
        for (; count > 0; --count) {
            Particle& p = slots[findFree()];
            p.life = 5.0f;
            p.position = at;
            const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
            p.velocity = {spread(r3) * 1.5f, spread(r2) * 1.5f - 2.0f, spread(r1) * 1.5f + 3.0f};
            p.size = static_cast<float>(std::rand() % 100) / 2000.0f + 0.1f;
        }
    }
    std::vector<float> step(float dt, glm::vec3 cam) {
        std::vector<float> out;
        for (Particle& p : slots) {
            if (p.life <= 0.0f) continue;
            p.life -= dt;
            if (p.life <= 0.0f) {
                p.sortKey = -1.0f;
                continue;
            }
            p.velocity += glm::vec3(0.0f, -9.81f, 0.0f) * dt * 0.5f;
            p.position += p.velocity * dt;
            p.sortKey = p.position.x * cam.x + p.position.y * cam.y + p.position.z * cam.z;
            out.insert(out.end(), {p.position.x, p.position.y, p.position.z, p.size});
        }
        std::stable_sort(slots.begin(), slots.end(), [](const Particle& a, const Particle& b) { return a.sortKey > b.sortKey; });
        return out;
    }
};

TEST_F(Particles, BehavesLikeSortingTheWholePool) {
    ReferencePool reference;
    lastUsedParticle = reference.lastUsed = maxParticles - 100;  // births soon wrap to the lowest slots
    std::mt19937 random(3);
    // Mostly long frames, so lives end within the run; every seventh short, below the birth cap.
    std::uniform_real_distribution<float> longFrame(0.05f, 0.12f), shortFrame(0.004f, 0.015f);
    bool sawDeaths = false;
    int previousCount = 0;
    for (int frame = 0; frame < 80; ++frame) {
        const float dt = frame % 7 == 3 ? shortFrame(random) : longFrame(random);
        // A camera that crosses the origin now and then makes some keys
        // negative, below the dead slots' -1.
        const glm::vec3 cam(0.0f, 5.0f, frame % 40 < 10 ? 30.0f : -190.0f);
        const glm::vec3 at(0.0f, 0.0f, frame % 30 < 20 ? -200.0f + frame : -2.0f);
        std::srand(1000 + frame);
        spawnParticles(particleBirthCount(dt), at);
        const int count = step(dt, cam);
        std::srand(1000 + frame);
        reference.spawn(particleBirthCount(dt), at);
        const std::vector<float> expected = reference.step(dt, cam);

        ASSERT_EQ(static_cast<size_t>(count), expected.size() / 4) << "frame " << frame;
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), positionSize.begin())) << "frame " << frame;
        ASSERT_EQ(lastUsedParticle, reference.lastUsed) << "frame " << frame;
        sawDeaths = sawDeaths || count < previousCount + particleBirthCount(dt);
        previousCount = count;
    }
    EXPECT_TRUE(sawDeaths);
}

}  // namespace
