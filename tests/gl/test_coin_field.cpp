// The coin field with real coins: layout, pick-up, clearing, drawing and release.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <sstream>

#include "scene/coins.h"
#include "tests/gl/scene_fixture.h"

using namespace vesk::scene;
using namespace scene_test;

namespace {

class CoinField : public SceneGlTest {
protected:
    std::unique_ptr<GameRaster> field;

    void SetUp() override {
        SceneGlTest::SetUp();
        field = std::make_unique<GameRaster>();
    }
    void TearDown() override {
        field.reset();
        EXPECT_TRUE(GameRaster::coins.empty()) << "the field frees the coins still in it when it goes";
        SceneGlTest::TearDown();
    }

    coin* placeCoin(glm::vec3 at) {
        glm::mat4 m(1.0f);
        coin* c = new coin(m, sceneShader);
        c->translate(at.x, at.y, at.z);
        GameRaster::coins.push_back(c);
        return c;
    }

    // What collecting at the point prints.
    std::string collect(double x, double y, double z) {
        ::testing::internal::CaptureStdout();
        field->collect(x, y, z);
        return ::testing::internal::GetCapturedStdout();
    }
};

TEST_F(CoinField, BuildLays22CoinsWhereItsLinesSay) {
    ::testing::internal::CaptureStdout();
    field->build(sceneShader);
    std::istringstream lines(::testing::internal::GetCapturedStdout());
    ASSERT_EQ(GameRaster::coins.size(), 22u);
    int i = 0;
    for (std::string text; std::getline(lines, text); ++i) {
        CoinLine line;
        ASSERT_TRUE(parseCoinLine(text, line)) << text;
        ASSERT_LT(i, 22);
        EXPECT_EQ(line.index, i);
        EXPECT_EQ(translationOf(GameRaster::coins[i]->modelMatrix), glm::vec3(line.x, line.y, -215 + line.z)) << text;
        EXPECT_EQ(GameRaster::coins[i]->shader, sceneShader);
    }
    EXPECT_EQ(i, 22);
}

TEST_F(CoinField, TheBoxAroundACoinIncludesItsEdgesAndNothingBeyondAndDoesNotTurn) {
    coin& box = *placeCoin({0, 5, -200});
    for (int axis = 0; axis < 3; ++axis)
        for (double sign : {-1.0, 1.0}) {
            double p[3] = {0, 5, -200};
            p[axis] += sign * 1.5;
            EXPECT_TRUE(box.collides(p[0], p[1], p[2])) << "axis " << axis << " side " << sign;
            p[axis] = std::nextafter(p[axis], sign * 1000.0);  // the smallest step outwards
            EXPECT_FALSE(box.collides(p[0], p[1], p[2])) << "axis " << axis << " side " << sign;
        }
    // The box is the coin's position plus and minus 1.5, each rounded to float first.
    coin& offCentre = *placeCoin({0.1f, 0, 0});
    const double edge = static_cast<double>(0.1f + 1.5f);
    EXPECT_TRUE(offCentre.collides(edge, 0, 0));
    EXPECT_FALSE(offCentre.collides(std::nextafter(edge, 2.0), 0, 0));
    offCentre.update(0.5);  // 22.5 degrees
    EXPECT_TRUE(offCentre.collides(1.6, 1.5, 1.5));
    EXPECT_FALSE(offCentre.collides(1.7, 0, 0));
}

TEST_F(CoinField, EveryCoinInReachIsTakenAndFreedInOneFrame) {
    placeCoin({0, 5, -300});
    const GLuint taken = placeCoin({0, 5, -200})->positionBuffer;
    placeCoin({1, 5, -201});  // moves up into the place of the one before
    placeCoin({0, 5, -100});
    EXPECT_EQ(collect(0.5, 5, -200.5), "Goodies Collected: 1\nGoodies Collected: 2\n");
    EXPECT_EQ(field->collectedCount, 2);
    ASSERT_EQ(GameRaster::coins.size(), 2u);
    EXPECT_EQ(translationOf(GameRaster::coins[0]->modelMatrix).z, -300);
    EXPECT_EQ(translationOf(GameRaster::coins[1]->modelMatrix).z, -100);
    EXPECT_FALSE(glIsBuffer(taken));
    EXPECT_EQ(collect(0.5, 5, -200.5), "") << "taken coins are gone for good";
    EXPECT_EQ(collect(std::nextafter(1.5, 2.0), 5, -100), "") << "just beyond the box";
    EXPECT_EQ(collect(1.5, 5, -100), "Goodies Collected: 3\n") << "on its edge";
}

TEST_F(CoinField, ClearFreesEveryCoinAndTheCountAndARebuildStartsAfresh) {
    placeCoin({0, 5, -200});
    collect(0, 5, -200);
    const GLuint buffer = placeCoin({0, 5, -200})->indexBuffer;
    EXPECT_EQ(field->collectedCount, 1);
    field->clear();
    EXPECT_TRUE(GameRaster::coins.empty());
    EXPECT_FALSE(glIsBuffer(buffer));
    EXPECT_EQ(field->collectedCount, 0);
    EXPECT_EQ(collect(0, 5, -200), "");
    ::testing::internal::CaptureStdout();
    field->build(sceneShader);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(GameRaster::coins.size(), 22u);
    EXPECT_EQ(field->collectedCount, 0);
}

class CoinDraw : public CoinField {
protected:
    glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
    glm::mat4 lookingAhead = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0, 5, -191), glm::vec3(0, 1, 0));
    glm::mat4 lookingBack = glm::lookAt(glm::vec3(0, 5, -190), glm::vec3(0, 5, -189), glm::vec3(0, 1, 0));
    glm::mat4 bias = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(0.5f));
    glm::mat4 light = glm::ortho(-50.0f, 50.0f, -50.0f, 50.0f, -100.0f, 100.0f);

    void SetUp() override {
        CoinField::SetUp();
        placeCoin({0, 5, -200});
        placeCoin({2, 5, -210});
        placeCoin({-2, 5, -180});  // behind a camera looking ahead
        glUseProgram(sceneShader->programHandle);
    }
    void TearDown() override {
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
        CoinField::TearDown();
    }

    glm::mat4 uniformMatrix(const char* name) {
        glm::mat4 m(0.0f);
        glGetUniformfv(sceneShader->programHandle, glGetUniformLocation(sceneShader->programHandle, name), &m[0][0]);
        return m;
    }
    // The count drawLit returns and the triangles it really drew, as "count/triangles".
    std::string drawLit(bool culling, const glm::mat4& view) {
        int count = -1;
        const GLuint triangles = trianglesDrawnBy(
            [&] { count = field->drawLit(sceneShader, bias, light, 0, culling, projection, view); });
        return std::to_string(count) + "/" + std::to_string(triangles);
    }
};

TEST_F(CoinDraw, BothPassesCullWithTheCameraAndTheLitPassCountsWhatItDraws) {
    EXPECT_EQ(drawLit(false, lookingBack), "3/3");
    EXPECT_EQ(drawLit(true, lookingAhead), "2/2");
    EXPECT_EQ(drawLit(true, lookingBack), "1/1");
    const glm::mat4 last = GameRaster::coins.back()->modelMatrix;
    EXPECT_EQ(uniformMatrix("DepthBiasMVP"), bias * light * last);
    EXPECT_EQ(trianglesDrawnBy([&] { field->drawDepth(sceneShader, light, true, projection, lookingAhead); }), 2u);
    EXPECT_EQ(uniformMatrix("depthMVP"), light * last);
    EXPECT_EQ(trianglesDrawnBy([&] { field->drawDepth(sceneShader, light, false, projection, lookingAhead); }), 3u);
}

}  // namespace
