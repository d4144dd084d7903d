// The particle pool without GL: births, and the whole pool behaving exactly
// like the straightforward reference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "render/particles.h"
#include "tests/support/reference_particles.h"

namespace {

// Uniform value in [-1, 1) from one rand() draw, as births use it.
float spread(int r) { return (static_cast<float>(r % 2000) - 1000.0f) / 1000.0f; }

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

// Births draw four values each and are the same in the game and the
// reference, so they are pinned here; everything after a birth is compared
// with the reference below.
TEST_F(Particles, BirthsTakeFourDrawsEachAndFillTheFreeSlotsInOrder) {
    particles[0].life = 0.0f;  // a life of zero is over: the slot is free
    particles[1].life = 1.0f;  // taken
    std::srand(99);
    const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand(), r4 = std::rand();
    std::srand(99);
    spawnParticles(2, {1.0f, 2.0f, -3.0f});
    EXPECT_EQ(lastUsedParticle, 2);
    const Particle& p = particles[0];
    // Backwards (+z) and downwards with a spread of 1.5 either way.
    EXPECT_EQ(p.velocity, glm::vec3(spread(r3) * 1.5f, spread(r2) * 1.5f - 2.0f, spread(r1) * 1.5f + 3.0f));
    EXPECT_EQ(p.size, static_cast<float>(r4 % 100) / 2000.0f + 0.1f);
    EXPECT_EQ(p.position, glm::vec3(1.0f, 2.0f, -3.0f));
    EXPECT_EQ(p.life, 5.0f);
    EXPECT_EQ(glm::ivec4(p.r, p.g, p.b, p.a), glm::ivec4(125, 50, 0, 100));
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
