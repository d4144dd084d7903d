// The particle pool without GL: births, and the whole pool behaving exactly
// like the straightforward reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
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
// is pinned here; everything after a birth is compared with the reference below.
TEST_F(Particles, BirthsFillFreeSlotsInOrderWithFourDrawsEachAndStreamBackAndDown) {
    particles[0].life = 0.0f;  // a life of zero is over: the slot is free
    particles[1].life = 1.0f;  // taken
    constexpr int births = 20000;
    std::srand(99);
    for (int i = 0; i < 4 * births; ++i) std::rand();
    const int afterBirths = std::rand();
    std::srand(99);
    spawnParticles(births, {1.0f, 2.0f, -3.0f});
    EXPECT_EQ(std::rand(), afterBirths) << "four rand() draws per birth, no more, no fewer";
    EXPECT_EQ(lastUsedParticle, births);
    EXPECT_EQ(particles[1].life, 1.0f) << "a taken slot is skipped";

    glm::vec3 low(1e9f), high(-1e9f);
    float smallest = 1e9f, largest = -1e9f;
    for (int i = 0; i <= births; ++i) {
        if (i == 1) continue;
        const Particle& p = particles[i];
        ASSERT_TRUE(p.position == glm::vec3(1.0f, 2.0f, -3.0f) && p.life == 5.0f) << "slot " << i;
        ASSERT_EQ(glm::ivec4(p.r, p.g, p.b, p.a), glm::ivec4(125, 50, 0, 100));
        low = glm::min(low, p.velocity), high = glm::max(high, p.velocity);
        smallest = std::min(smallest, p.size), largest = std::max(largest, p.size);
    }
    // Backwards (+z) at 1.5 to 4.5 units a second, downwards at 0.5 to 3.5,
    // sideways up to 1.5 either way; 0.1 to 0.1495 units across.
    EXPECT_TRUE(closeTo(low, glm::vec3(-1.5f, -3.5f, 1.5f), 0.01f)) << "slowest";
    EXPECT_TRUE(closeTo(high, glm::vec3(1.5f, -0.5f, 4.5f), 0.01f)) << "fastest";
    EXPECT_EQ(smallest, 0.1f);
    EXPECT_FLOAT_EQ(largest, 0.1495f);
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
