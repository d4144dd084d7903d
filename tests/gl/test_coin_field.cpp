// The coin field with real coins: layout, pick-up, clearing, drawing and release.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <sstream>

#include "scene/coins.h"
#include "tests/coin_line.h"
#include "tests/gl/scene_fixture.h"

using namespace vesk::scene;
using namespace scene_test;

namespace {

class CoinFieldTest : public SceneGlTest {
protected:
    std::unique_ptr<GameRaster> field;

    void SetUp() override {
        SceneGlTest::SetUp();
        field = std::make_unique<GameRaster>();
    }
    void TearDown() override {
        field.reset();
        EXPECT_TRUE(GameRaster::coins.empty());
        SceneGlTest::TearDown();
    }

    coin* placeCoin(glm::vec3 at) {
        glm::mat4 m(1.0f);
        coin* c = new coin(m, sceneShader);
        c->translate(at.x, at.y, at.z);
        GameRaster::coins.push_back(c);
        return c;
    }

    std::string collect(double x, double y, double z) {
        ::testing::internal::CaptureStdout();
        field->collect(x, y, z);
        return ::testing::internal::GetCapturedStdout();
    }
};

TEST_F(CoinFieldTest, BuildLaysOut22CoinsWhereItsLinesSay) {
    ::testing::internal::CaptureStdout();
    field->build(sceneShader);
    const std::string out = ::testing::internal::GetCapturedStdout();

    ASSERT_EQ(GameRaster::coins.size(), 22u);
    std::istringstream lines(out);
    std::string text;
    int i = 0;
    for (; std::getline(lines, text); ++i) {
        CoinLine line;
        ASSERT_TRUE(parseCoinLine(text, line)) << text;
        ASSERT_LT(i, 22);
        EXPECT_EQ(line.index, i);
        const glm::vec3 expected(line.x, line.y, -215 + line.z);
        const glm::vec3 actual = translationOf(GameRaster::coins[i]->modelMatrix);
        EXPECT_EQ(actual, expected) << text;
        EXPECT_TRUE(actual.x >= -8 && actual.x <= 9) << text;
        EXPECT_TRUE(actual.y == -20 || actual.y == 0 || (actual.y >= 2 && actual.y <= 15)) << text;
        EXPECT_TRUE(actual.z >= -549 && actual.z <= -215) << text;
    }
    EXPECT_EQ(i, 22);
    EXPECT_EQ(GameRaster::coins.front()->shader, sceneShader);
}

TEST_F(CoinFieldTest, ARestartClearsAndLaysOutAFreshField) {
    ::testing::internal::CaptureStdout();
    field->build(sceneShader);
    const GLuint firstBuffer = GameRaster::coins.front()->positionBuffer;
    const glm::vec3 at = translationOf(GameRaster::coins.front()->modelMatrix);
    field->collect(at.x, at.y, at.z);
    field->clear();
    EXPECT_TRUE(GameRaster::coins.empty());
    EXPECT_EQ(field->collectedCount, 0);
    EXPECT_FALSE(glIsBuffer(firstBuffer));
    field->build(sceneShader);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(GameRaster::coins.size(), 22u);
}

TEST_F(CoinFieldTest, TheBoxAroundACoinIncludesItsEdgesAndNothingBeyond) {
    coin& box = *placeCoin({0, 5, -200});
    for (int axis = 0; axis < 3; ++axis)
        for (double sign : {-1.0, 1.0}) {
            double p[3] = {0, 5, -200};
            p[axis] += sign * 1.5;
            EXPECT_TRUE(box.collides(p[0], p[1], p[2])) << axis << " " << sign;
            p[axis] = std::nextafter(p[axis], sign * 1000.0);  // the smallest step outwards
            EXPECT_FALSE(box.collides(p[0], p[1], p[2])) << axis << " " << sign;
        }
    // The box is the coin's position plus and minus 1.5, each rounded to float first.
    coin& offCentre = *placeCoin({0.1f, 0, 0});
    const double edge = static_cast<double>(0.1f + 1.5f);
    EXPECT_TRUE(offCentre.collides(edge, 0, 0));
    EXPECT_FALSE(offCentre.collides(std::nextafter(edge, 2.0), 0, 0));
}

TEST_F(CoinFieldTest, TheBoxDoesNotTurnWithTheCoin) {
    coin* c = placeCoin({0, 0, 0});
    c->update(0.5);  // 22.5 degrees
    EXPECT_TRUE(c->collides(1.5, 1.5, 1.5));
    EXPECT_FALSE(c->collides(1.6, 0, 0));
}

TEST_F(CoinFieldTest, CollectingAtExactly1Point5TakesTheCoinAndFreesIt) {
    const coin* near = placeCoin({0, 5, -200});
    const GLuint nearBuffer = near->positionBuffer;
    const coin* far = placeCoin({0, 5, -300});
    EXPECT_EQ(collect(std::nextafter(1.5, 2.0), 5, -200), "");
    EXPECT_EQ(collect(1.5, 5, -200), "Goodies Collected: 1\n");
    ASSERT_EQ(GameRaster::coins.size(), 1u);
    EXPECT_EQ(GameRaster::coins.front(), far);
    EXPECT_EQ(field->collectedCount, 1);
    EXPECT_FALSE(glIsBuffer(nearBuffer));
}

TEST_F(CoinFieldTest, TwoCoinsInReachAreBothTakenInOneFrame) {
    placeCoin({0, 5, -300});
    placeCoin({0, 5, -200});
    placeCoin({1, 5, -201});  // moves up into the place of the one before
    placeCoin({0, 5, -100});
    EXPECT_EQ(collect(0.5, 5, -200.5), "Goodies Collected: 1\nGoodies Collected: 2\n");
    EXPECT_EQ(field->collectedCount, 2);
    ASSERT_EQ(GameRaster::coins.size(), 2u);
    EXPECT_EQ(translationOf(GameRaster::coins[0]->modelMatrix).z, -300);
    EXPECT_EQ(translationOf(GameRaster::coins[1]->modelMatrix).z, -100);
    // Taken coins are gone for good: the same spot collects nothing more.
    EXPECT_EQ(collect(0.5, 5, -200.5), "");
    EXPECT_EQ(collect(0, 5, -100), "Goodies Collected: 3\n");
}

TEST_F(CoinFieldTest, AfterClearNothingIsLeftToCollect) {
    placeCoin({0, 5, -200});
    collect(0, 5, -200);
    placeCoin({0, 5, -200});
    EXPECT_EQ(field->collectedCount, 1);
    field->clear();
    EXPECT_TRUE(GameRaster::coins.empty());
    EXPECT_EQ(field->collectedCount, 0);
    EXPECT_EQ(collect(0, 5, -200), "");
    EXPECT_EQ(field->collectedCount, 0);
}

TEST_F(CoinFieldTest, UpdateSpinsAndTranslateMovesEveryCoin) {
    coin* a = placeCoin({0, 5, -200});
    coin* b = placeCoin({3, 5, -250});
    field->update(2.0);  // 90 degrees about the coin's own y
    expectNear(glm::vec3(a->modelMatrix[0]), {0, 0, -1}, 1e-6f);
    expectNear(glm::vec3(b->modelMatrix[0]), {0, 0, -1}, 1e-6f);
    EXPECT_EQ(translationOf(a->modelMatrix), glm::vec3(0, 5, -200));
    field->translate(1, 0, 0);  // in each coin's own, now turned, frame
    expectNear(translationOf(a->modelMatrix), {0, 5, -201});
    expectNear(translationOf(b->modelMatrix), {3, 5, -251});
}

TEST_F(CoinFieldTest, TheFieldFreesTheCoinsStillInItWhenItGoes) {
    const GLuint buffer = placeCoin({0, 0, 0})->indexBuffer;
    placeCoin({0, 0, -10});
    field.reset();
    EXPECT_TRUE(GameRaster::coins.empty());
    EXPECT_FALSE(glIsBuffer(buffer));
}

class CoinDrawTest : public CoinFieldTest {
protected:
    glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
    glm::mat4 lookingAhead = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0, 5, -191), glm::vec3(0, 1, 0));
    glm::mat4 lookingBack = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0, 5, -189), glm::vec3(0, 1, 0));
    glm::mat4 bias = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(0.5f));
    glm::mat4 light = glm::ortho(-50.0f, 50.0f, -50.0f, 50.0f, -100.0f, 100.0f);

    void SetUp() override {
        CoinFieldTest::SetUp();
        placeCoin({0, 5, -200});
        placeCoin({2, 5, -210});
        placeCoin({-2, 5, -180});  // behind a camera looking ahead
        glUseProgram(sceneShader->programHandle);
    }
    void TearDown() override {
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
        CoinFieldTest::TearDown();
    }

    glm::mat4 uniformMatrix(const char* name) {
        glm::mat4 m(0.0f);
        glGetUniformfv(sceneShader->programHandle, glGetUniformLocation(sceneShader->programHandle, name), &m[0][0]);
        return m;
    }
    int drawLit(bool culling, const glm::mat4& view, GLuint& triangles) {
        int count = -1;
        triangles = trianglesDrawnBy(
            [&] { count = field->drawLit(sceneShader, bias, light, 0, culling, projection, view); });
        return count;
    }
};

TEST_F(CoinDrawTest, LitPassCountsOnlyTheCoinsThatPassTheTest) {
    GLuint triangles = 0;
    EXPECT_EQ(drawLit(false, lookingBack, triangles), 3);
    EXPECT_EQ(triangles, 3u);
    EXPECT_EQ(drawLit(true, lookingAhead, triangles), 2);
    EXPECT_EQ(triangles, 2u);
    EXPECT_EQ(drawLit(true, lookingBack, triangles), 1);
    EXPECT_EQ(triangles, 1u);
}

TEST_F(CoinDrawTest, CulledCoinsStillReceiveTheirUniforms) {
    const glm::mat4 away = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0, 500, -190), glm::vec3(0, 0, 1));
    GLuint triangles = 0;
    EXPECT_EQ(drawLit(true, away, triangles), 0);
    EXPECT_EQ(triangles, 0u);
    const coin* last = GameRaster::coins.back();
    EXPECT_EQ(uniformMatrix("modelMatrix"), last->modelMatrix);
    EXPECT_EQ(uniformMatrix("DepthBiasMVP"), bias * light * last->modelMatrix);
    GLint unit = 0, shadowMapUnit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE20);
    glGetUniformiv(sceneShader->programHandle, glGetUniformLocation(sceneShader->programHandle, "shadowMap"),
                   &shadowMapUnit);
    EXPECT_EQ(shadowMapUnit, 20);
}

TEST_F(CoinDrawTest, DepthPassCullsWithTheCameraNotTheLight) {
    EXPECT_EQ(trianglesDrawnBy([&] { field->drawDepth(sceneShader, light, true, projection, lookingAhead); }), 2u);
    EXPECT_EQ(uniformMatrix("depthMVP"), light * GameRaster::coins.back()->modelMatrix);
    EXPECT_EQ(uniformMatrix("modelMatrix"), GameRaster::coins.back()->modelMatrix);
    EXPECT_EQ(trianglesDrawnBy([&] { field->drawDepth(sceneShader, light, false, projection, lookingAhead); }), 3u);
}

}  // namespace
