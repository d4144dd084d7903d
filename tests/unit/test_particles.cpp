// The particle pool without GL: births, and the whole pool behaving exactly
// like the straightforward reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "render/particles.h"
#include "tests/support/helpers.h"
#include "tests/support/reference_particles.h"

namespace {

TEST(ParticleBirths, TenThousandPerSecondTruncatedAndCapped) {
    const std::pair<float, int> cases[] = {{0.015625f, 156}, {0.03125f, 160}, {0.00009f, 0}, {0.005f, 49},
                                           {0.0f, 0},        {-1.0f, 0},      {1e30f, 160},
                                           {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& [deltaTime, births] : cases) EXPECT_EQ(particleBirthCount(deltaTime), births) << deltaTime;
}

class Particles : public ::testing::Test {
protected:
    std::vector<float> positionSize = std::vector<float>(4 * maxParticles);
    std::vector<unsigned char> colors = std::vector<unsigned char>(4 * maxParticles);

    void SetUp() override { resetParticlePool(); }
    int step(float deltaTime, glm::vec3 camera) {
        return stepParticles(deltaTime, camera, positionSize.data(), colors.data());
    }
};

// Births are the same in the game and the reference, so what a birth gives
// is pinned here by what the player sees of it; everything after a birth is
// compared with the reference below.
TEST_F(Particles, BirthsFillFreeSlotsAndStreamBackAndDownFromTheCatForFiveSeconds) {
    constexpr int births = 2000;
    std::srand(99);
    for (int i = 0; i < 4 * births; ++i) std::rand();
    const int afterBirths = std::rand();
    std::srand(99);
    const glm::vec3 cat(1.0f, 2.0f, -3.0f);
    spawnParticles(births, cat);
    EXPECT_EQ(std::rand(), afterBirths) << "four rand() draws per birth: the coin layouts share the generator";
    EXPECT_EQ(lastUsedParticle, births - 1);

    // One short step: every newborn leaves the cat backwards (+z, the cat
    // runs towards -z) and downwards, each its own way and size.
    EXPECT_EQ(step(0.01f, glm::vec3(0.0f, 5.0f, -190.0f)), births);
    std::set<float> sizes, sideways;
    for (int i = 0; i < births; ++i) {
        const Particle p = particleInSlot(i);
        ASSERT_TRUE(p.position.z > cat.z && p.position.y < cat.y) << "slot " << i;
        ASSERT_LT(glm::distance(p.position, cat), 0.1f);
        sizes.insert(p.size);
        sideways.insert(p.velocity.x);
    }
    EXPECT_GT(sizes.size(), 20u);
    EXPECT_GT(sideways.size(), 500u);

    // Five seconds of life, however the steps fall.
    float lived = 0.01f;
    while (lived + 0.1f < 5.0f - 1e-3f) lived += 0.1f, step(0.1f, glm::vec3(0.0f));
    EXPECT_EQ(step(0.0f, glm::vec3(0.0f)), births) << "alive after " << lived << " s";
    EXPECT_EQ(step(0.1f, glm::vec3(0.0f)), 0) << "all gone after 5 s";
}

TEST_F(Particles, FewerButLargerBillboardsBelowFullQuality) {
    auto drawn = [this](int stride) {
        resetParticlePool();
        std::srand(5);
        spawnParticles(10, glm::vec3(0.0f));
        const int count = stepParticles(0.01f, glm::vec3(0.0f, 5.0f, -190.0f), positionSize.data(), colors.data(), stride);
        return std::vector<float>(positionSize.begin(), positionSize.begin() + 4 * count);
    };
    const std::vector<float> every = drawn(1), thinned = drawn(4);
    ASSERT_EQ(every.size(), 4u * 10);
    ASSERT_EQ(thinned.size(), 4u * 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(glm::vec4(thinned[4 * k], thinned[4 * k + 1], thinned[4 * k + 2], thinned[4 * k + 3]),
                  glm::vec4(every[16 * k], every[16 * k + 1], every[16 * k + 2], 2.0f * every[16 * k + 3]))
            << "the first of every four, twice as large";
    }
    EXPECT_EQ(liveParticleCount(), 10) << "all of them still move";
}

TEST_F(Particles, BehavesLikeSortingTheWholePool) {
    ReferencePool reference;
    lastUsedParticle = reference.lastUsed = maxParticles - 100;  // births soon wrap to the lowest slots
    std::vector<float> expected(4 * maxParticles);
    std::vector<unsigned char> expectedColors(4 * maxParticles);
    std::mt19937 random(3);
    // Mostly long frames, so lives end within the run; every seventh short, below the birth cap.
    std::uniform_real_distribution<float> longFrame(0.05f, 0.12f), shortFrame(0.004f, 0.015f);
    bool sawDeaths = false;
    int previousCount = 0;
    for (int frame = 0; frame < 80; ++frame) {
        const float dt = frame % 7 == 3 ? shortFrame(random) : longFrame(random);
        // A camera that crosses the origin now and then makes some keys
        // negative, below the dead slots' -1.
        const glm::vec3 camera(0.0f, 5.0f, frame % 40 < 10 ? 30.0f : -190.0f);
        const glm::vec3 at(0.0f, 0.0f, frame % 30 < 20 ? -200.0f + frame : -2.0f);
        // One frame floods the pool, so that births take particle 0 again.
        const int births = frame == 40 ? maxParticles + 50 : particleBirthCount(dt);
        std::srand(1000 + frame);
        spawnParticles(births, at);
        const int count = step(dt, camera);
        std::srand(1000 + frame);
        reference.spawn(births, at);
        ASSERT_EQ(count, reference.step(dt, camera, expected.data(), expectedColors.data())) << "frame " << frame;
        ASSERT_TRUE(std::equal(expected.begin(), expected.begin() + 4 * count, positionSize.begin())) << frame;
        ASSERT_TRUE(std::equal(expectedColors.begin(), expectedColors.begin() + 4 * count, colors.begin())) << frame;
        ASSERT_EQ(lastUsedParticle, reference.lastUsed) << "frame " << frame;
        sawDeaths = sawDeaths || count < std::min(previousCount + births, maxParticles);
        previousCount = count;
    }
    EXPECT_TRUE(sawDeaths);
}

}  // namespace
