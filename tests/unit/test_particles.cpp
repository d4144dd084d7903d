// The particle pool: births, free-slot search, one simulation step and the
// drawing order, all without GL.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "render/particles.h"

namespace {

class Particles : public ::testing::Test {
protected:
    std::vector<float> positionSize = std::vector<float>(4 * maxParticles);
    std::vector<unsigned char> colors = std::vector<unsigned char>(4 * maxParticles);
    const glm::vec3 camera{0.0f, 5.0f, -190.0f};  // behind the cat, looking down the course

    void SetUp() override {
        resetParticlePool();
        std::srand(7);
    }

    int step(float deltaTime, glm::vec3 cameraAt) {
        return stepParticles(deltaTime, cameraAt, positionSize.data(), colors.data());
    }
    int step(float deltaTime) { return step(deltaTime, camera); }

    // The particle spawned last, whatever its slot.
    static Particle& spawnOne(glm::vec3 origin = {0.0f, 5.0f, -200.0f}) {
        spawnParticles(1, origin);
        return particles[lastUsedParticle];
    }
};

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

TEST_F(Particles, FirstBirthsFillTheSlotsInOrder) {
    EXPECT_EQ(0, findFreeParticle());
    EXPECT_EQ(0, lastUsedParticle);
    spawnParticles(3, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(2, lastUsedParticle);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(5.0f, particles[i].life);
        EXPECT_EQ(glm::vec3(1.0f, 2.0f, 3.0f), particles[i].position);
        EXPECT_EQ(125, particles[i].r);
        EXPECT_EQ(50, particles[i].g);
        EXPECT_EQ(0, particles[i].b);
        EXPECT_EQ(100, particles[i].a);
        EXPECT_GE(particles[i].size, 0.1f);
        EXPECT_LE(particles[i].size, 0.1495f);
        // Backwards (+z) and downwards with a spread of 1.5 either way.
        EXPECT_GE(particles[i].velocity.z, 1.5f);
        EXPECT_LT(particles[i].velocity.z, 4.5f);
        EXPECT_GE(particles[i].velocity.y, -3.5f);
        EXPECT_LT(particles[i].velocity.y, -0.5f);
        EXPECT_GE(particles[i].velocity.x, -1.5f);
        EXPECT_LT(particles[i].velocity.x, 1.5f);
    }
    EXPECT_LT(particles[3].life, 0.0f);
}

TEST_F(Particles, VelocityAndSizeComeFromFourDrawsInOrder) {
    std::srand(99);
    const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand(), r4 = std::rand();
    std::srand(99);
    const Particle& p = spawnOne();
    auto spread = [](int r) { return (static_cast<float>(r % 2000) - 1000.0f) / 1000.0f; };
    EXPECT_EQ(spread(r1) * 1.5f + 3.0f, p.velocity.z);
    EXPECT_EQ(spread(r2) * 1.5f - 2.0f, p.velocity.y);
    EXPECT_EQ(spread(r3) * 1.5f, p.velocity.x);
    EXPECT_EQ(static_cast<float>(r4 % 100) / 2000.0f + 0.1f, p.size);
}

TEST_F(Particles, FreeSlotSearchStartsAtTheLastFoundAndWraps) {
    for (Particle& p : particles) p.life = 1.0f;
    particles[10].life = -1.0f;
    particles[50].life = -0.5f;
    lastUsedParticle = 20;
    EXPECT_EQ(50, findFreeParticle());
    EXPECT_EQ(50, lastUsedParticle);
    particles[50].life = 1.0f;
    EXPECT_EQ(10, findFreeParticle());  // nothing above: wraps to the lowest below
    EXPECT_EQ(10, lastUsedParticle);
    particles[10].life = 1.0f;
    EXPECT_EQ(0, findFreeParticle());  // full pool: particle 0 is reborn
    EXPECT_EQ(10, lastUsedParticle);
}

TEST_F(Particles, ALifeOfExactlyZeroIsFree) {
    for (Particle& p : particles) p.life = 1.0f;
    particles[30].life = 0.0f;
    lastUsedParticle = 5;
    EXPECT_EQ(30, findFreeParticle());
}

TEST_F(Particles, OneStepUpdatesVelocityBeforePosition) {
    Particle& p = spawnOne({1.0f, 2.0f, -3.0f});
    p.velocity = {0.0f, -2.0f, 3.0f};
    ASSERT_EQ(1, step(0.1f));
    const Particle& q = particles[0];
    EXPECT_FLOAT_EQ(0.0f, q.velocity.x);
    EXPECT_FLOAT_EQ(-2.4905f, q.velocity.y);
    EXPECT_FLOAT_EQ(3.0f, q.velocity.z);
    EXPECT_FLOAT_EQ(1.0f, q.position.x);
    EXPECT_FLOAT_EQ(2.0f - 0.24905f, q.position.y);
    EXPECT_FLOAT_EQ(-2.7f, q.position.z);
    EXPECT_FLOAT_EQ(4.9f, q.life);
    EXPECT_FLOAT_EQ(glm::dot(q.position, camera), q.sortKey);
    EXPECT_FLOAT_EQ(q.position.x, positionSize[0]);
    EXPECT_FLOAT_EQ(q.position.y, positionSize[1]);
    EXPECT_FLOAT_EQ(q.position.z, positionSize[2]);
    EXPECT_FLOAT_EQ(q.size, positionSize[3]);
    EXPECT_EQ(std::vector<unsigned char>({125, 50, 0, 100}),
              std::vector<unsigned char>(colors.begin(), colors.begin() + 4));
}

TEST_F(Particles, TheDyingStepWritesNothing) {
    spawnParticles(3, {0.0f, 5.0f, -200.0f});
    particles[1].life = 0.05f;
    EXPECT_EQ(2, step(0.1f));
    // The dead one left a free slot behind the two survivors.
    lastUsedParticle = 0;
    EXPECT_EQ(2, findFreeParticle());
    EXPECT_EQ(0, step(5.0f));
    for (int i = 0; i < 3; ++i) EXPECT_LE(particles[i].life, 0.0f) << i;
}

TEST_F(Particles, ALifeEndingOnExactlyZeroFreesTheSlot) {
    Particle& p = spawnOne();
    p.life = 0.25f;  // 0.25 - 0.25 is exactly 0
    EXPECT_EQ(0, step(0.25f));
    EXPECT_EQ(-1.0f, particles[0].sortKey);
    lastUsedParticle = 0;
    EXPECT_EQ(0, findFreeParticle());
    spawnOne();
    EXPECT_EQ(1, step(0.01f));
}

TEST_F(Particles, FiveSecondsOfLife) {
    spawnOne();
    int alive = 0;
    for (int frame = 0; frame < 40; ++frame) alive = step(0.125f);  // exactly 5 s
    EXPECT_EQ(0, alive);
    resetParticlePool();
    spawnOne();
    for (int frame = 0; frame < 39; ++frame) alive = step(0.125f);
    EXPECT_EQ(1, alive);
}

TEST_F(Particles, NextFrameDrawsBackToFront) {
    // Three particles flying apart along the course, born in slots 0, 1, 2.
    const float speeds[] = {1.0f, 5.0f, 3.0f};
    spawnParticles(3, {0.0f, 5.0f, -200.0f});
    for (int i = 0; i < 3; ++i) particles[i].velocity = {0.0f, 0.0f, -speeds[i]};
    ASSERT_EQ(3, step(0.1f));
    // This frame's output is in slot order; the next is ordered by sortKey,
    // largest (farthest from a camera down the -z axis) first.
    EXPECT_GT(positionSize[2], positionSize[6]);
    ASSERT_EQ(3, step(0.1f));
    EXPECT_LT(positionSize[2], positionSize[6]);  // fastest first
    EXPECT_LT(positionSize[6], positionSize[10]);
}

TEST_F(Particles, NewbornsFollowTheSurvivorsInSlotOrder) {
    spawnParticles(4, {0.0f, 5.0f, -200.0f});
    step(0.01f);
    lastUsedParticle = maxParticles - 2;
    spawnParticles(3, {0.0f, 5.0f, -300.0f});  // slots 99998, 99999, then 4 after the wrap
    EXPECT_EQ(4, lastUsedParticle);
    ASSERT_EQ(7, step(0.01f));
    for (int k = 0; k < 4; ++k) EXPECT_GT(positionSize[4 * k + 2], -250.0f) << k;
    for (int k = 4; k < 7; ++k) EXPECT_LT(positionSize[4 * k + 2], -250.0f) << k;
}

// The pool ordering must give exactly the order of a sort of the whole pool
// by sortKey, with births in the same slots, including particles with keys
// below the -1 of the dead slots.
TEST_F(Particles, MatchesSortingTheWholePool) {
    std::vector<Particle> reference(maxParticles);
    for (Particle& p : reference) {
        p.life = -1.0f;
        p.sortKey = -1.0f;
    }
    int referenceLastUsed = 0;
    auto referenceFind = [&] {
        for (int i = referenceLastUsed; i < maxParticles; ++i)
            if (reference[i].life <= 0.0f) return referenceLastUsed = i;
        for (int i = 0; i < referenceLastUsed; ++i)
            if (reference[i].life <= 0.0f) return referenceLastUsed = i;
        return 0;
    };
    std::mt19937 random(3);
    // Mostly long frames, so lives end within the run; every seventh short,
    // below the birth cap.
    std::uniform_real_distribution<float> longFrame(0.05f, 0.12f);
    std::uniform_real_distribution<float> shortFrame(0.004f, 0.015f);
    std::vector<float> expected;
    int previousCount = 0;
    bool sawDeaths = false;

    for (int frame = 0; frame < 80; ++frame) {
        const float dt = frame % 7 == 3 ? shortFrame(random) : longFrame(random);
        // A camera that crosses the origin now and then makes some keys
        // negative, below the dead slots' -1.
        const glm::vec3 cam(0.0f, 5.0f, frame % 40 < 10 ? 30.0f : -190.0f);
        const glm::vec3 origin(0.0f, 0.0f, frame % 30 < 20 ? -200.0f + frame : -2.0f);
        const unsigned seed = 1000 + frame;

        std::srand(seed);
        spawnParticles(particleBirthCount(dt), origin);
        const int count = step(dt, cam);
        sawDeaths = sawDeaths || count < previousCount + particleBirthCount(dt);
        previousCount = count;

        std::srand(seed);
        for (int n = particleBirthCount(dt); n > 0; --n) {
            Particle& p = reference[referenceFind()];
            p.life = 5.0f;
            p.position = origin;
            const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
            p.velocity = {(static_cast<float>(r3 % 2000) - 1000.0f) / 1000.0f * 1.5f,
                          (static_cast<float>(r2 % 2000) - 1000.0f) / 1000.0f * 1.5f - 2.0f,
                          (static_cast<float>(r1 % 2000) - 1000.0f) / 1000.0f * 1.5f + 3.0f};
            p.size = static_cast<float>(std::rand() % 100) / 2000.0f + 0.1f;
        }
        expected.clear();
        for (Particle& p : reference) {
            if (p.life <= 0.0f) continue;
            p.life -= dt;
            if (p.life <= 0.0f) {
                p.sortKey = -1.0f;
                continue;
            }
            p.velocity += glm::vec3(0.0f, -9.81f, 0.0f) * dt * 0.5f;
            p.position += p.velocity * dt;
            p.sortKey = p.position.x * cam.x + p.position.y * cam.y + p.position.z * cam.z;
            expected.insert(expected.end(), {p.position.x, p.position.y, p.position.z, p.size});
        }
        // Equal keys may come in any order; the stable sort picks the one
        // order that keeps ties as they were, which is what the pool does.
        std::stable_sort(reference.begin(), reference.end(),
                         [](const Particle& a, const Particle& b) { return a.sortKey > b.sortKey; });

        ASSERT_EQ(expected.size() / 4, static_cast<size_t>(count)) << "frame " << frame;
        for (size_t k = 0; k < expected.size(); ++k)
            ASSERT_EQ(expected[k], positionSize[k]) << "frame " << frame << " entry " << k;
        ASSERT_EQ(referenceLastUsed, lastUsedParticle) << "frame " << frame;
    }
    EXPECT_TRUE(sawDeaths);
}

}  // namespace
