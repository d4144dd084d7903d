// Scene objects on a real context: start transforms, updates, the fixed
// tables, the upload and release of meshes, and models that cannot be used.
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

glm::mat4 identity() { return glm::mat4(1.0f); }

template <typename T, typename... Args>
std::unique_ptr<T> make(Args... args) {
    glm::mat4 m = identity();
    return std::make_unique<T>(m, args...);
}

float largestMagnitude(const std::vector<float>& values) {
    float largest = 0.0f;
    for (float v : values) largest = std::max(largest, std::fabs(v));
    return largest;
}

// Exposes the shared import and upload to a test of arbitrary model files.
class ModelFileObject : public MeshObject {
public:
    ModelFileObject(const std::string& path, Shader* program) : MeshObject(identityMatrix, program) {
        loadModel(path, 1.0f);
        computeBoundingSphere();
        upload();
    }
    void update(double) override {}

private:
    static glm::mat4 identityMatrix;
};
glm::mat4 ModelFileObject::identityMatrix(1.0f);

using CatTest = SceneGlTest;

TEST_F(CatTest, StartsAt0_5_Minus200WithTheSphereAtCatSize) {
    const auto c = make<cat>();
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(0, 5, -200));
    EXPECT_EQ(c->shader, sceneShader);
    EXPECT_NEAR(largestMagnitude(c->positions), 0.9f, 1e-5f);
}

TEST_F(CatTest, TurnsNinetyDegreesPerSecondAboutItsOwnVerticalAxis) {
    const auto c = make<cat>();
    c->update(1.0);
    expectNear(glm::vec3(c->modelMatrix[0]), {0, 0, -1}, 1e-6f);
    expectNear(glm::vec3(c->modelMatrix[1]), {0, 1, 0}, 1e-6f);
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(0, 5, -200));
}

TEST_F(CatTest, MovesInWorldSpaceWhateverItsSpin) {
    const auto c = make<cat>();
    c->update(0.37);
    const glm::mat4 spun = c->modelMatrix;
    c->move(glm::vec3(0, 0, -2), 10.0f, 0.5f);
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(0, 5, -205));
    for (int column = 0; column < 3; ++column) EXPECT_EQ(c->modelMatrix[column], spun[column]);
}

class CatChildTest : public SceneGlTest {
protected:
    std::unique_ptr<cat> theCat;
    std::unique_ptr<hierarchy> left;
    std::unique_ptr<hierarchyB> right;

    void SetUp() override {
        SceneGlTest::SetUp();
        theCat = make<cat>();
        left = make<hierarchy>();
        right = make<hierarchyB>();
    }
    // What the frame update does for each child.
    void followCat(double deltaTime) {
        left->modelMatrix = theCat->modelMatrix;
        left->update(deltaTime);
        right->modelMatrix = theCat->modelMatrix;
        right->update(deltaTime);
    }
};

TEST_F(CatChildTest, BeadsAreOneNinthOfTheCat) {
    EXPECT_NEAR(largestMagnitude(left->positions), 0.1f, 1e-6f);
    EXPECT_NEAR(largestMagnitude(right->positions), 0.1f, 1e-6f);
    EXPECT_EQ(left->shader, sceneShader);
}

TEST_F(CatChildTest, SitTwoToEitherSideAboveTheCatWhateverItsSpin) {
    theCat->update(0.7);
    followCat(0.0);
    expectNear(translationOf(left->modelMatrix), {-2, 6.2f, -200});
    expectNear(translationOf(right->modelMatrix), {2, 6.2f, -200});
    EXPECT_EQ(glm::vec3(left->modelMatrix[2]), glm::vec3(0, 0, 1));  // the cat's turn is dropped
}

TEST_F(CatChildTest, CircleAboutWorldZAtFiveRadiansPerSecond) {
    followCat(0.0);
    followCat(0.1);
    const glm::vec3 centre(0, 6.2f, -200);
    const float a = 0.5f;
    expectNear(translationOf(left->modelMatrix), centre + glm::vec3(-2 * std::cos(a), -2 * std::sin(a), 0));
    expectNear(translationOf(right->modelMatrix), centre + glm::vec3(2 * std::cos(a), 2 * std::sin(a), 0));
    expectNear(glm::vec3(left->modelMatrix[0]), {std::cos(a), std::sin(a), 0});
    EXPECT_EQ(left->localRotation, right->localRotation);
}

TEST_F(CatChildTest, StayOnTheirCircleOverAnHourOfFrames) {
    for (int frame = 0; frame < 60 * 60 * 60; ++frame) followCat(1.0 / 60.0);
    const glm::vec3 centre(0, 6.2f, -200);
    EXPECT_NEAR(glm::length(translationOf(left->modelMatrix) - centre), 2.0f, 1e-4f);
    EXPECT_NEAR(glm::length(translationOf(right->modelMatrix) - centre), 2.0f, 1e-4f);
}

TEST_F(CatChildTest, FollowTheCatAlongTheStreet) {
    followCat(0.0);
    theCat->move(glm::vec3(0, 0, -1), 10.0f, 1.0f);
    followCat(0.0);
    expectNear(translationOf(left->modelMatrix), {-2, 6.2f, -210});
}

TEST_F(CatChildTest, WithoutTheCopyABeadDriftsEveryFrame) {
    // The contract the frame update keeps: copy first, then update.
    followCat(0.0);
    left->update(0.0);
    expectNear(translationOf(left->modelMatrix), {-4, 7.4f, -200});
}

TEST_F(CatChildTest, MoveDoesNothingToABead) {
    followCat(0.3);
    const glm::mat4 before = left->modelMatrix;
    left->move(glm::vec3(1, 0, 0), 10.0f, 1.0f);
    right->move(glm::vec3(1, 0, 0), 10.0f, 1.0f);
    EXPECT_EQ(left->modelMatrix, before);
}

using LevelTest = SceneGlTest;

TEST_F(LevelTest, CorridorRunsAlongTheStreetFromMinus10_8_0) {
    const auto c = make<corridor>();
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(-10, 8, 0));
    expectNear(glm::vec3(c->modelMatrix[0]), {0, 0, -1}, 1e-6f);
    EXPECT_NEAR(largestMagnitude(c->positions), 2.0f, 1e-6f);
    EXPECT_NEAR(largestMagnitude(c->uvs), 300.0f, 1e-3f);
    // The sphere is the scaled triangle's: its vertices lie around their mean.
    EXPECT_NEAR(c->boundingRadius, std::sqrt(8.0 / 3.0), 1e-5);
    c->update(5.0);
    EXPECT_EQ(translationOf(c->modelMatrix), glm::vec3(-10, 8, 0));
}

TEST_F(LevelTest, GridsStandWhereTheSharedPlacementPutsThem) {
    const double placements[][3] = {{1, 0, 0}, {1, -60, 0}, {1, -60, -10}, {4.5, -170, 2}, {9, -310, -10}};
    for (const auto& p : placements) {
        const auto g = make<grid>();
        g->translate(p[0], p[1], p[2]);
        EXPECT_EQ(g->modelMatrix, gridModelMatrix(p[0], p[1], p[2])) << p[0] << " " << p[1] << " " << p[2];
    }
    const auto g = make<grid>();
    g->translate(1, -60, -10);
    expectNear(translationOf(g->modelMatrix), {-9, 18, -280});
    EXPECT_NEAR(largestMagnitude(g->positions), 4.0f, 1e-6f);
    EXPECT_NEAR(largestMagnitude(g->uvs), 3.0f, 1e-6f);
}

TEST_F(LevelTest, SkyBackdropTurnsOneRadianAboutWorldZIn20Seconds) {
    const auto sky = make<house_left3>();
    EXPECT_EQ(sky->shader, skyboxShader);
    EXPECT_NEAR(largestMagnitude(sky->positions), 250.0f, 1e-3f);
    const glm::vec3 start = translationOf(sky->modelMatrix);
    EXPECT_EQ(start, glm::vec3(-1000, 700, -2300));
    for (int frame = 0; frame < 400; ++frame) sky->update(0.05);
    const glm::vec3 turned = translationOf(sky->modelMatrix);
    const float c = std::cos(1.0f), s = std::sin(1.0f);
    expectNear(turned, {c * start.x - s * start.y, s * start.x + c * start.y, start.z}, 0.05f);
    expectNear(glm::vec3(sky->modelMatrix[0]), {c, s, 0}, 1e-4f);
    // 400 float products: the radius may drift a little, the circle must hold.
    EXPECT_NEAR(glm::length(glm::vec2(turned)), glm::length(glm::vec2(start)), 0.05f);
}

TEST_F(LevelTest, HouseRowStandsFarDownTheStreet) {
    const auto row = make<house_left4>();
    EXPECT_EQ(row->shader, sceneShader);
    EXPECT_EQ(translationOf(row->modelMatrix), glm::vec3(-500, 0, -3030));
    EXPECT_NEAR(largestMagnitude(row->positions), 180.0f, 1e-3f);
    EXPECT_NEAR(largestMagnitude(row->uvs), 300.0f, 1e-3f);
    EXPECT_GT(row->boundingRadius, 0.0);
}

TEST_F(LevelTest, MouseStepsPointTwoAlongItsOwnMinusZPerUpdate) {
    const auto m = make<mouse1>();
    EXPECT_EQ(m->shader, normalsShader);
    const glm::vec3 start = translationOf(m->modelMatrix);
    EXPECT_EQ(start, glm::vec3(135, -4.5f, -200));
    const glm::vec3 forward = -glm::vec3(m->modelMatrix[2]);
    expectNear(forward, {-std::sqrt(0.5f), 0, -std::sqrt(0.5f)}, 1e-6f);
    m->update(0.001);
    m->update(3.0);
    expectNear(translationOf(m->modelMatrix), start + 0.4f * forward);
}

TEST_F(LevelTest, CubeAndStreetAreTwelveFixedTriangles) {
    const auto cube = make<Cube>(normalsShader);
    const auto street = make<Street>();
    EXPECT_EQ(cube->shader, normalsShader);
    EXPECT_EQ(street->shader, sceneShader);
    EXPECT_EQ(translationOf(cube->modelMatrix), glm::vec3(10, 3, -190));
    EXPECT_EQ(street->modelMatrix, identity());

    const std::vector<unsigned int> firstFaces{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
    for (MeshObject* box : {static_cast<MeshObject*>(cube.get()), static_cast<MeshObject*>(street.get())}) {
        ASSERT_EQ(box->indices.size(), 36u);
        EXPECT_EQ(std::vector<unsigned int>(box->indices.begin(), box->indices.begin() + 12), firstFaces);
        EXPECT_EQ(std::vector<unsigned int>(box->indices.end() - 3, box->indices.end()),
                  (std::vector<unsigned int>{20, 22, 23}));
        EXPECT_EQ(box->positions.size(), 72u);
        EXPECT_EQ(box->uvs.size(), 48u);
        // Group 4's normal is the table's (0, 0, -1) although its corners lie on x = const.
        EXPECT_EQ(glm::vec3(box->normals[48], box->normals[49], box->normals[50]), glm::vec3(0, 0, -1));
        glUseProgram(box->shader->programHandle);
        EXPECT_EQ(trianglesDrawnBy([&] { box->draw(); }), 12u);
        box->update(1.0);
    }
    glUseProgram(0);
    // Street corner 0 and its texture coordinate, as tabled.
    EXPECT_EQ(glm::vec3(street->positions[0], street->positions[1], street->positions[2]),
              glm::vec3(-500, -5.5f, -600));
    EXPECT_EQ(glm::vec2(street->uvs[0], street->uvs[1]), glm::vec2(50, 0));
    EXPECT_EQ(glm::vec3(cube->positions[69], cube->positions[70], cube->positions[71]), glm::vec3(-50, -450, 50));
    EXPECT_EQ(translationOf(cube->modelMatrix), glm::vec3(10, 3, -190));
}

TEST_F(LevelTest, ReleasingObjectsDeletesTheirBuffersAndLeavesNoGlError) {
    std::vector<std::unique_ptr<MeshObject>> objects;
    objects.push_back(make<cat>());
    objects.push_back(make<hierarchy>());
    objects.push_back(make<hierarchyB>());
    objects.push_back(make<corridor>());
    objects.push_back(make<grid>());
    objects.push_back(make<house_left3>());
    objects.push_back(make<house_left4>());
    objects.push_back(make<mouse1>());
    objects.push_back(make<Cube>(skyboxShader));
    objects.push_back(make<Street>());
    objects.push_back(make<coin>(sceneShader));
    std::vector<GLuint> buffers, arrays;
    for (const auto& o : objects) {
        ASSERT_FALSE(o->indices.empty());
        buffers.insert(buffers.end(), {o->positionBuffer, o->indexBuffer, o->normalBuffer, o->uvBuffer});
        arrays.push_back(o->vao);
    }
    for (GLuint b : buffers) EXPECT_TRUE(glIsBuffer(b));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    objects.clear();
    for (GLuint b : buffers) EXPECT_FALSE(glIsBuffer(b));
    for (GLuint a : arrays) EXPECT_FALSE(glIsVertexArray(a));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LevelTest, AMeshUploadedForAProgramWithoutNormalOrUvStillDraws) {
    const auto plain = makeProgram(dir, "plain", positionOnlyVertexShader, whiteFragmentShader);
    // A quad over the whole viewport.
    const std::string quad = dir.write("quad.obj", "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nf 1 2 3 4\n");
    ModelFileObject object(quad, plain.get());
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glUseProgram(plain->programHandle);
    const glm::mat4 model(1.0f);
    glUniformMatrix4fv(glGetUniformLocation(plain->programHandle, "modelMatrix"), 1, GL_FALSE, &model[0][0]);
    object.draw();
    glUseProgram(0);
    const auto pixels = readPixels(0, 0, 256, 256);
    size_t white = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) white += pixels[i] == 255 && pixels[i + 1] == 255;
    EXPECT_EQ(white, pixels.size() / 4);
}

class UnusableModelTest : public SceneGlTest {
protected:
    // Expects one report naming `path`, an object without GL objects, and a
    // draw that sends nothing.
    void expectHarmless(MeshObject& object, const std::string& err, const std::string& path) {
        EXPECT_NE(err.find("Failed to load model \"" + path + "\""), std::string::npos) << err;
        EXPECT_TRUE(object.indices.empty());
        EXPECT_EQ(object.vao, 0u);
        EXPECT_EQ(object.positionBuffer, 0u);
        glUseProgram(sceneShader->programHandle);
        EXPECT_EQ(trianglesDrawnBy([&] { object.draw(); }), 0u);
        glUseProgram(0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

TEST_F(UnusableModelTest, EachBadFileIsReportedAndDrawsNothing) {
    const std::pair<const char*, const char*> files[] = {
        {"missing.obj", nullptr},
        {"noise.bin", "\x01\x02\x03 not a model \xff\xfe"},
        {"vertices.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\n"},
        {"lines.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nl 1 2 3\n"},
        {"points.obj", "v 0 0 0\nv 1 0 0\np 1 2\n"},
    };
    for (const auto& [name, content] : files) {
        const std::string path = content ? dir.write(name, content) : dir.path(name);
        ::testing::internal::CaptureStderr();
        ModelFileObject object(path, sceneShader);
        const std::string err = ::testing::internal::GetCapturedStderr();
        expectHarmless(object, err, path);
    }
}

TEST_F(UnusableModelTest, EveryGameObjectSurvivesAnEmptyModelFolder) {
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
    const char* paths[] = {"Objekte/cat/sphere.obj", "Objekte/cat/sphere.obj", "Objekte/corridor/corridor.obj",
                           "Objekte/grid/grid.obj",
                           "Objekte/hausreihen_zusammen/hausreihe_wuerfel_alleCords.obj",
                           "Objekte/hausreihen_zusammen/hausreihe_wuerfel_alleCords.obj",
                           "Objekte/mouse/mouse_new.obj", "Objekte/coin/coin.obj"};
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 8) << err;
    for (size_t i = 0; i < objects.size(); ++i) expectHarmless(*objects[i], err, paths[i]);
    // Still placed and animated as usual.
    EXPECT_EQ(translationOf(objects[0]->modelMatrix), glm::vec3(0, 5, -200));
    objects[0]->update(1.0);
    EXPECT_EQ(objects[3]->boundingRadius, 0.0);
}

}  // namespace

namespace {

using GameModelTest = SceneGlTest;

// The committed models under Objekte/, read from the project folder.
TEST_F(GameModelTest, EveryCommittedModelLoadsAsTriangles) {
    std::filesystem::current_path(previousDirectory);
    if (!std::filesystem::exists("Objekte/cat/sphere.obj")) GTEST_SKIP() << "no Objekte/ in " << previousDirectory;
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
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    glUseProgram(sceneShader->programHandle);
    for (const auto& o : objects) {
        ASSERT_FALSE(o->indices.empty());
        EXPECT_EQ(o->indices.size() % 3, 0u);
        EXPECT_EQ(o->positions.size() / 3, o->uvs.size() / 2);
        EXPECT_EQ(trianglesDrawnBy([&] { o->draw(); }), o->indices.size() / 3);
    }
    glUseProgram(0);
    for (size_t i : {2u, 3u, 5u, 7u}) EXPECT_GT(objects[i]->boundingRadius, 0.0) << i;
}

}  // namespace
