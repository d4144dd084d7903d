// Scene objects on a real context: start transforms and updates, the upload
// and release of meshes, and models that cannot be used.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/level.h"
#include "tests/gl/gl_context.h"
#include "tests/gl/scene_fixture.h"

using namespace vesk::scene;
using namespace scene_test;

namespace {

// Builds a scene object as the start-up code does, from an identity matrix.
template <typename T, typename... Args>
std::unique_ptr<T> make(Args... args) {
    glm::mat4 m(1.0f);
    return std::make_unique<T>(m, args...);
}

// The largest coordinate of a loaded model: the one-triangle stand-ins are
// 1 (the cat's 1000) across, so this is the object's import scale.
float largestMagnitude(const std::vector<float>& values) {
    float largest = 0.0f;
    for (float v : values) largest = std::max(largest, std::fabs(v));
    return largest;
}

using SceneObjects = SceneGlTest;

TEST_F(SceneObjects, CatStartsAtItsPlaceSpinsInPlaceAndMovesInWorldSpace) {
    const auto c = make<cat>();
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(0, 5, -200));
    EXPECT_NEAR(largestMagnitude(c->positions), 0.9f, 1e-5f);
    c->update(1.0);  // 90 degrees a second about its own vertical axis
    EXPECT_TRUE(closeTo(glm::vec3(c->modelMatrix[0]), {0, 0, -1}, 1e-6f));
    EXPECT_TRUE(closeTo(glm::vec3(c->modelMatrix[1]), {0, 1, 0}, 1e-6f));
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(0, 5, -200));
    c->update(0.37);
    const glm::mat4 spun = c->modelMatrix;
    c->move(glm::vec3(0, 0, -2), 10.0f, 0.5f);  // the direction is normalised
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(0, 5, -205));
    for (int column = 0; column < 3; ++column) EXPECT_EQ(c->modelMatrix[column], spun[column]) << column;
}

class Beads : public SceneGlTest {
protected:
    std::unique_ptr<cat> theCat;
    std::unique_ptr<hierarchy> left;
    std::unique_ptr<hierarchyB> right;
    const glm::vec3 centre{0, 6.2f, -200};  // 1.2 above the cat

    void SetUp() override {
        SceneGlTest::SetUp();
        theCat = make<cat>();
        left = make<hierarchy>();
        right = make<hierarchyB>();
    }
    // What the frame update does for each bead: copy the cat's matrix, then update.
    void followCat(double deltaTime) {
        left->modelMatrix = theCat->modelMatrix;
        left->update(deltaTime);
        right->modelMatrix = theCat->modelMatrix;
        right->update(deltaTime);
    }
};

TEST_F(Beads, CircleTheSpotAboveTheCatAboutWorldZAtFiveRadiansPerSecond) {
    EXPECT_NEAR(largestMagnitude(left->positions), 0.1f, 1e-6f) << "a ninth of the cat";
    theCat->update(0.7);
    followCat(0.0);
    EXPECT_TRUE(closeTo(translationOf(left->modelMatrix), centre + glm::vec3(-2, 0, 0)));
    EXPECT_TRUE(closeTo(translationOf(right->modelMatrix), centre + glm::vec3(2, 0, 0)));
    EXPECT_EQ(glm::vec3(left->modelMatrix[2]), glm::vec3(0, 0, 1)) << "the cat's spin is dropped";
    followCat(0.1);
    const float a = 0.5f;
    EXPECT_TRUE(closeTo(translationOf(left->modelMatrix), centre - 2.0f * glm::vec3(std::cos(a), std::sin(a), 0)));
    EXPECT_TRUE(closeTo(translationOf(right->modelMatrix), centre + 2.0f * glm::vec3(std::cos(a), std::sin(a), 0)));
    EXPECT_TRUE(closeTo(glm::vec3(left->modelMatrix[0]), {std::cos(a), std::sin(a), 0}));

    theCat->move(glm::vec3(0, 0, -1), 10.0f, 1.0f);
    for (int frame = 0; frame < 60 * 60 * 60; ++frame) followCat(1.0 / 60.0);
    const glm::vec3 moved = centre + glm::vec3(0, 0, -10);
    EXPECT_NEAR(glm::distance(translationOf(left->modelMatrix), moved), 2.0f, 1e-4f) << "after an hour of frames";
    EXPECT_NEAR(glm::distance(translationOf(right->modelMatrix), moved), 2.0f, 1e-4f);
}

TEST_F(Beads, DriftWithoutTheCatsMatrixAndIgnoreMove) {
    followCat(0.0);
    const glm::mat4 before = left->modelMatrix;
    left->move(glm::vec3(1, 0, 0), 10.0f, 1.0f);
    EXPECT_EQ(left->modelMatrix, before);
    left->update(0.0);  // the contract the frame update keeps: copy first, then update
    EXPECT_TRUE(closeTo(translationOf(left->modelMatrix), {-4, 7.4f, -200}));
}

TEST_F(SceneObjects, LevelPiecesStartWhereTheStreetNeedsThem) {
    const auto corridorPiece = make<corridor>();
    EXPECT_EQ(translationOf(corridorPiece->modelMatrix), glm::vec3(-10, 8, 0));
    EXPECT_TRUE(closeTo(glm::vec3(corridorPiece->modelMatrix[0]), {0, 0, -1}, 1e-6f)) << "turned along the street";
    EXPECT_NEAR(largestMagnitude(corridorPiece->positions), 2.0f, 1e-6f);
    EXPECT_NEAR(largestMagnitude(corridorPiece->uvs), 300.0f, 1e-3f);
    // The sphere is the scaled triangle's: its vertices lie around their mean.
    EXPECT_NEAR(corridorPiece->boundingRadius, std::sqrt(8.0 / 3.0), 1e-5);

    // A slab stands upright across the street at (-10, 8, -220); an offset
    // (x, y, z) moves it by (x, -z, y).
    const auto slab = make<grid>();
    EXPECT_NEAR(largestMagnitude(slab->positions), 4.0f, 1e-6f);
    EXPECT_NEAR(largestMagnitude(slab->uvs), 3.0f, 1e-6f);
    slab->translate(4.5, -170, 2);
    EXPECT_TRUE(closeTo(translationOf(slab->modelMatrix), {-5.5f, 6, -390}));
    EXPECT_TRUE(closeTo(glm::vec3(slab->modelMatrix[1]), {0, 0, 1})) << "the model's y runs along the street";
    EXPECT_TRUE(closeTo(glm::vec3(slab->modelMatrix[2]), {0, -1, 0})) << "the model's z points down";

    const auto row = make<house_left4>();
    EXPECT_EQ(row->shader, sceneShader);
    EXPECT_EQ(translationOf(row->modelMatrix), glm::vec3(-500, 0, -3030));
    EXPECT_NEAR(largestMagnitude(row->positions), 180.0f, 1e-3f);
}

TEST_F(SceneObjects, SkyBackdropTurnsOneRadianAboutWorldZIn20Seconds) {
    const auto sky = make<house_left3>();
    EXPECT_EQ(sky->shader, skyboxShader);
    EXPECT_NEAR(largestMagnitude(sky->positions), 250.0f, 1e-3f);
    const glm::vec3 start = translationOf(sky->modelMatrix);
    EXPECT_EQ(start, glm::vec3(-1000, 700, -2300));
    for (int frame = 0; frame < 400; ++frame) sky->update(0.05);
    const glm::vec3 turned = translationOf(sky->modelMatrix);
    const float c = std::cos(1.0f), s = std::sin(1.0f);
    EXPECT_TRUE(closeTo(turned, {c * start.x - s * start.y, s * start.x + c * start.y, start.z}, 0.05f));
    EXPECT_TRUE(closeTo(glm::vec3(sky->modelMatrix[0]), {c, s, 0}));
}

TEST_F(SceneObjects, MouseStepsPointTwoAlongItsOwnMinusZPerUpdate) {
    const auto m = make<mouse1>();
    EXPECT_EQ(m->shader, normalsShader);
    const glm::vec3 start = translationOf(m->modelMatrix);
    EXPECT_EQ(start, glm::vec3(135, -4.5f, -200));
    const glm::vec3 forward = -glm::vec3(m->modelMatrix[2]);
    EXPECT_TRUE(closeTo(forward, {-std::sqrt(0.5f), 0, -std::sqrt(0.5f)}, 1e-6f));
    m->update(0.001);
    m->update(3.0);  // whatever the frame time
    EXPECT_TRUE(closeTo(translationOf(m->modelMatrix), start + 0.4f * forward));
}

TEST_F(SceneObjects, EveryObjectDrawsItsWholeMesh) {
    std::vector<std::unique_ptr<MeshObject>> objects;
    objects.push_back(make<cat>());
    objects.push_back(make<hierarchy>());
    objects.push_back(make<hierarchyB>());
    objects.push_back(make<corridor>());
    objects.push_back(make<grid>());
    objects.push_back(make<house_left3>());
    objects.push_back(make<house_left4>());
    objects.push_back(make<mouse1>());
    objects.push_back(make<coin>(sceneShader));
    objects.push_back(make<Cube>(skyboxShader));
    objects.push_back(make<Street>());
    for (size_t i = 0; i < objects.size(); ++i) {
        glUseProgram(objects[i]->shader->programHandle);
        // The stand-in models are one triangle each; the last two are fixed boxes.
        EXPECT_EQ(trianglesDrawnBy([&] { objects[i]->draw(); }), i < 9 ? 1u : 12u) << "object " << i;
    }
    glUseProgram(0);
}

TEST_F(SceneObjects, EveryGameObjectSurvivesAnEmptyModelFolder) {
    std::filesystem::remove_all(dir.path("Objekte"));
    ::testing::internal::CaptureStderr();
    std::vector<std::unique_ptr<MeshObject>> objects;
    objects.push_back(make<cat>());
    objects.push_back(make<hierarchy>());
    objects.push_back(make<corridor>());
    objects.push_back(make<grid>());
    objects.push_back(make<house_left3>());
    objects.push_back(make<house_left4>());
    objects.push_back(make<mouse1>());
    objects.push_back(make<coin>(sceneShader));
    const std::string err = ::testing::internal::GetCapturedStderr();
    const char* paths[] = {"cat/sphere", "cat/sphere", "corridor/corridor", "grid/grid",
                           "hausreihen_zusammen/hausreihe_wuerfel_alleCords",
                           "hausreihen_zusammen/hausreihe_wuerfel_alleCords", "mouse/mouse_new", "coin/coin"};
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 8) << err;
    glUseProgram(sceneShader->programHandle);
    for (size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        EXPECT_NE(err.find(std::string("Failed to load model \"Objekte/") + paths[i] + ".obj\""), std::string::npos);
        EXPECT_TRUE(objects[i]->indices.empty() && objects[i]->vao == 0 && objects[i]->positionBuffer == 0);
        EXPECT_EQ(trianglesDrawnBy([&] { objects[i]->draw(); }), 0u);
    }
    glUseProgram(0);
    // Still placed and animated as usual.
    EXPECT_EQ(translationOf(objects[0]->modelMatrix), glm::vec3(0, 5, -200));
    objects[0]->update(1.0);
    EXPECT_EQ(objects[3]->boundingRadius, 0.0);
}

}  // namespace
