// The scene objects and the coin field of the real world: how they move and
// turn, where coins go and which coins are taken.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <optional>
#include <sstream>

#include "render/batches.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/level.h"
#include "tests/gl/world.h"
#include "tests/support/helpers.h"

using namespace vesk::scene;

namespace {

using Objects = GameWorldTest;

TEST_F(Objects, TheCatSpinsInPlaceAndItsBeadsCircleAboveItForAnHour) {
    glm::mat4 identity(1.0f);
    cat c(identity);  // a second cat, built as start-up builds the first
    c.update(1.37);   // 90 degrees a second about its own vertical axis
    const float turned = glm::radians(90.0f * 1.37f);
    EXPECT_TRUE(closeTo(glm::vec3(c.modelMatrix[0]), glm::vec3(std::cos(turned), 0, -std::sin(turned)))) << "its x axis";
    c.move(glm::vec3(0, 0, -2), 10.0f, 0.5f);  // along the normalised direction, whatever the spin
    EXPECT_EQ(translationOf(c.modelMatrix), glm::vec3(0, 5, -205));

    // What the frame update does for each bead: copy the cat's matrix, then update.
    auto follow = [&](double deltaTime) {
        for (hierarchy* bead : {static_cast<hierarchy*>(catChildA), static_cast<hierarchy*>(catChildB)}) {
            bead->modelMatrix = c.modelMatrix;
            bead->update(deltaTime);
        }
    };
    follow(0.0);
    follow(0.1);
    const glm::vec3 centre(0, 6.2f, -205), arm = 2.0f * glm::vec3(std::cos(0.5f), std::sin(0.5f), 0.0f);
    EXPECT_TRUE(closeTo(translationOf(catChildA->modelMatrix), centre - arm));
    EXPECT_TRUE(closeTo(translationOf(catChildB->modelMatrix), centre + arm));
    EXPECT_EQ(glm::vec3(catChildA->modelMatrix[2]), glm::vec3(0, 0, 1)) << "the cat's spin is dropped";
    for (int frame = 0; frame < 60 * 60 * 60; ++frame) follow(1.0 / 60.0);
    EXPECT_NEAR(glm::distance(translationOf(catChildA->modelMatrix), centre), 2.0f, 1e-4f) << "after an hour of frames";
}

// Copies of one mesh placed in world space on the CPU, as the batches below
// full quality draw them: each triangle's corners land where the GPU would
// put them with the copy's model matrix, normals turned with it, texture
// coordinates kept, and each copy's triangles use its own vertices.
TEST_F(Objects, PlacedCopiesOfAMeshLieWhereTheirModelMatricesPutThem) {
    const MeshObject& slab = *grids[0];
    const std::vector<glm::mat4> places = {
        grids[3]->modelMatrix, glm::rotate(glm::translate(glm::mat4(1.0f), {5.0f, 1.0f, -300.0f}), 1.0f, {0, 1, 0})};
    MeshData placed;
    placeCopies(slab, places, placed);
    ASSERT_EQ(placed.indices.size(), places.size() * slab.indices.size());
    auto at = [](const std::vector<float>& v, size_t i, int n) {
        return glm::vec3(v[n * i], v[n * i + 1], n == 3 ? v[n * i + 2] : 0.0f);
    };
    for (size_t copy = 0; copy < places.size(); ++copy)
        for (size_t k = 0; k < slab.indices.size(); ++k) {
            const unsigned int from = slab.indices[k], to = placed.indices[copy * slab.indices.size() + k];
            ASSERT_LT(to, placed.positions.size() / 3);
            EXPECT_TRUE(closeTo(at(placed.positions, to, 3), glm::vec3(places[copy] * glm::vec4(at(slab.positions, from, 3), 1.0f))));
            EXPECT_TRUE(closeTo(at(placed.normals, to, 3), glm::mat3(places[copy]) * at(slab.normals, from, 3)));
            EXPECT_EQ(at(placed.uvs, to, 2), at(slab.uvs, from, 2));
        }
}

TEST_F(Objects, TheBackdropTurnsOneRadianAboutWorldZIn20Seconds) {
    const glm::mat4 start = skyBox->modelMatrix;
    for (int frame = 0; frame < 400; ++frame) skyBox->update(0.05);
    const glm::mat4 expected = glm::rotate(glm::mat4(1.0f), 1.0f, glm::vec3(0, 0, 1)) * start;
    for (int column = 0; column < 4; ++column)
        EXPECT_TRUE(closeTo(glm::vec3(skyBox->modelMatrix[column]), glm::vec3(expected[column]), 0.05f)) << column;
    skyBox->modelMatrix = start;
}

class CoinField : public GameWorldTest {
protected:
    void SetUp() override { coinField->clear(); }

    static coin* place(glm::vec3 at) {
        glm::mat4 m(1.0f);
        coin* c = new coin(m, sceneShader);
        c->translate(at.x, at.y, at.z);
        coinField->coins.push_back(c);
        return c;
    }
    // What collecting along the way (a point when `to` is left out) prints.
    static std::string collect(glm::vec3 from, std::optional<glm::vec3> to = {}, double part = 1.0) {
        ::testing::internal::CaptureStdout();
        coinField->collect(from, to.value_or(from), part);
        return ::testing::internal::GetCapturedStdout();
    }
};

TEST_F(CoinField, BuildLaysOutEveryCoinWhereItsLineSays) {
    ::testing::internal::CaptureStdout();
    coinField->build(sceneShader);
    std::istringstream lines(::testing::internal::GetCapturedStdout());
    ASSERT_EQ(coinField->coins.size(), size_t(coinsPerLayout));
    int i = 0;
    for (std::string text; std::getline(lines, text); ++i) {
        int index = -1;
        CoinOffset offset{};
        ASSERT_TRUE(parseCoinLayoutLine(text, index, offset) && index == i) << text;
        EXPECT_EQ(translationOf(coinField->coins[i]->modelMatrix), glm::vec3(offset.x, offset.y, -215 + offset.z)) << text;
    }
    EXPECT_EQ(i, coinsPerLayout);
}

// A hit on a slab lays the coins out anew: that must read and upload nothing,
// and a coin taken must not take the mesh the others draw.
TEST_F(CoinField, EveryLayoutDrawsOneMeshThatOutlivesTheCoinsTaken) {
    ::testing::internal::CaptureStdout();
    coinField->build(sceneShader);
    const GLuint mesh = coinField->coins[0]->vao;
    for (const coin* c : coinField->coins) EXPECT_EQ(c->vao, mesh);
    ::testing::internal::GetCapturedStdout();
    collect(translationOf(coinField->coins[0]->modelMatrix));
    EXPECT_TRUE(glIsVertexArray(mesh) && glIsBuffer(coinField->coins[0]->indexBuffer)) << "still drawn";
    coinField->clear();
    ::testing::internal::CaptureStdout();
    coinField->build(sceneShader);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(coinField->coins[0]->vao, mesh) << "a new layout uploads nothing";
}

TEST_F(CoinField, EveryCoinWhoseBoxTheWayReachesIsTakenEdgesIncludedAndOnlyWithinItsPart) {
    place({0, 5, -300});
    const GLuint taken = place({0, 5, -200})->positionBuffer;
    place({1, 5, -201})->update(0.5);  // turned 22.5 degrees: its box does not turn
    place({0, 5, -100});
    EXPECT_EQ(collect({1.5f, 6.5f, -199.5f}), "Goodies Collected: 1\nGoodies Collected: 2\n") << "a corner of both";
    ASSERT_EQ(coinField->coins.size(), 2u);
    EXPECT_EQ(translationOf(coinField->coins[1]->modelMatrix).z, -100) << "later coins move up";
    EXPECT_FALSE(glIsBuffer(taken));
    EXPECT_EQ(collect({1.5f, 6.5f, -199.5f}), "") << "taken coins are gone for good";
    EXPECT_EQ(collect({std::nextafter(1.5f, 2.0f), 5, -100}), "") << "just beyond the box";
    EXPECT_EQ(collect({3, 6.6f, -90}, glm::vec3(-3, 6.4f, -110)), "Goodies Collected: 3\n") << "a way that grazes its top";
    place({0, 5, -100});
    EXPECT_EQ(collect({0, 5, -90}, glm::vec3(0, 5, -310), 0.5), "Goodies Collected: 4\n") << "the first half";
    EXPECT_EQ(coinField->coins.size(), 1u);
    coinField->clear();
    EXPECT_EQ(coinField->collectedCount, 0);
}

}  // namespace
