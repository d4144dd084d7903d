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
    particles[0].life = 0.0f;  // a life of zero is over: the slot is free
    particles[1].life = 1.0f;  // taken
    constexpr int births = 2000;
    std::srand(99);
    for (int i = 0; i < 4 * births; ++i) std::rand();
    const int afterBirths = std::rand();
    std::srand(99);
    const glm::vec3 cat(1.0f, 2.0f, -3.0f);
    spawnParticles(births, cat);
    EXPECT_EQ(std::rand(), afterBirths) << "four rand() draws per birth: the coin layouts share the generator";
    EXPECT_EQ(lastUsedParticle, births);
    EXPECT_EQ(particles[1].life, 1.0f) << "a taken slot is skipped";

    // One short step: every newborn leaves the cat backwards (+z, the cat
    // runs towards -z) and downwards, each its own way and size.
    EXPECT_EQ(step(0.01f, glm::vec3(0.0f, 5.0f, -190.0f)), births);
    std::set<float> sizes, sideways;
    for (int i = 0; i < births; ++i) {
        const Particle& p = particles[i];
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

TEST(ParticleDrawing, FewerButLargerBillboardsBelowFullQuality) {
    float positionSize[4 * 10];
    unsigned char colors[4 * 10];
    for (int i = 0; i < 10; ++i) {
        std::fill_n(positionSize + 4 * i, 4, float(i));
        std::fill_n(colors + 4 * i, 4, static_cast<unsigned char>(i));
    }
    EXPECT_EQ(thinForDrawing(10, 1, positionSize, colors), 10);
    EXPECT_EQ(positionSize[4 * 9 + 3], 9.0f) << "every particle as it is";
    ASSERT_EQ(thinForDrawing(10, 4, positionSize, colors), 3);
    for (int kept = 0; kept < 3; ++kept) {
        EXPECT_EQ(glm::vec4(positionSize[4 * kept], positionSize[4 * kept + 1], positionSize[4 * kept + 2], positionSize[4 * kept + 3]),
                  glm::vec4(glm::vec3(4.0f * kept), 8.0f * kept)) << "the first of every four, twice as large";
        EXPECT_EQ(colors[4 * kept], 4 * kept);
    }
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
        std::srand(1000 + frame);
        spawnParticles(particleBirthCount(dt), at);
        const int count = step(dt, camera);
        std::srand(1000 + frame);
        reference.spawn(particleBirthCount(dt), at);
        ASSERT_EQ(count, reference.step(dt, camera, expected.data(), expectedColors.data())) << "frame " << frame;
        ASSERT_TRUE(std::equal(expected.begin(), expected.begin() + 4 * count, positionSize.begin())) << frame;
        ASSERT_TRUE(std::equal(expectedColors.begin(), expectedColors.begin() + 4 * count, colors.begin())) << frame;
        ASSERT_EQ(lastUsedParticle, reference.lastUsed) << "frame " << frame;
        sawDeaths = sawDeaths || count < previousCount + particleBirthCount(dt);
        previousCount = count;
    }
    EXPECT_TRUE(sawDeaths);
}

}  // namespace
