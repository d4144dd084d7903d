// The game's depth and scene programs lighting and shadowing a small
// handmade world: a floor, a floating box and a box standing on the floor.
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "gpu/render_targets.h"
#include "render/passes.h"
#include "tests/gl/gl_context.h"
#include "tests/gl/scene_fixture.h"

using scene_test::TestMesh;

namespace {

// Renders casters into the real shadow target with the game's depth program,
// then receivers into the window with the game's scene program, the way the
// shadow and lit passes set their uniforms.
class ShadowedScene : public ::testing::Test {
protected:
    Shader depth{"Shader/depthShader.vert", "Shader/depthShader.frag"};
    Shader scene{"Shader/normals2.vert", "Shader/normals2.frag"};
    GLuint white = 0;
    // The game's camera projection, which the light borrows.
    glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
    glm::mat4 view = glm::lookAt(glm::vec3(0, 12, -14), glm::vec3(0, 0, -0.6f), glm::vec3(0, 1, 0));

    void SetUp() override {
        createShadowMapTarget();
        const unsigned char rgb[3] = {255, 255, 255};
        glGenTextures(1, &white);
        glBindTexture(GL_TEXTURE_2D, white);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        projectionMatrix = projection;
        lightPosition = glm::vec3(0.0f, 30.0f, 3.0f);  // 30 above and 3 behind a cat at the origin
        depthViewProjection = projection * lightViewMatrix();
    }
    void TearDown() override {
        releaseRenderTargets();
        glDeleteTextures(1, &white);
        glUseProgram(0);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // A square of side 2 * half in the y = 0 plane, tilted by `degrees` about x.
    std::unique_ptr<TestMesh> floor(float half, float degrees = 0.0f) {
        const glm::mat4 tilt = glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::vec3(1, 0, 0));
        std::vector<glm::vec3> corners{{-half, 0, half}, {half, 0, half}, {half, 0, -half}, {-half, 0, -half}};
        for (glm::vec3& c : corners) c = glm::vec3(tilt * glm::vec4(c, 1.0f));
        const glm::vec3 up(tilt * glm::vec4(0, 1, 0, 0));
        return std::make_unique<TestMesh>(corners, std::vector<glm::vec3>(4, up), std::vector<unsigned>{0, 1, 2, 0, 2, 3},
                                          &scene);
    }
    // An axis-aligned box from `low` to `high` with outward faces.
    std::unique_ptr<TestMesh> box(glm::vec3 low, glm::vec3 high) {
        std::vector<glm::vec3> corners, normals;
        std::vector<unsigned> triangles;
        const glm::vec3 centre = (low + high) * 0.5f, half = (high - low) * 0.5f;
        for (int axis = 0; axis < 3; ++axis)
            for (float sign : {-1.0f, 1.0f}) {
                glm::vec3 n(0.0f), u(0.0f), v(0.0f);
                n[axis] = sign;
                u[(axis + 1) % 3] = half[(axis + 1) % 3];
                v[(axis + 2) % 3] = half[(axis + 2) % 3] * sign;  // u x v along n
                const unsigned base = unsigned(corners.size());
                for (glm::vec2 c : {glm::vec2(-1, -1), glm::vec2(1, -1), glm::vec2(1, 1), glm::vec2(-1, 1)}) {
                    corners.push_back(centre + n * half + u * c.x + v * c.y);
                    normals.push_back(n);
                }
                triangles.insert(triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
            }
        return std::make_unique<TestMesh>(corners, normals, triangles, &scene);
    }

    static void setMatrix(const Shader& program, const char* name, const glm::mat4& m) {
        glUniformMatrix4fv(glGetUniformLocation(program.programHandle, name), 1, GL_FALSE, glm::value_ptr(m));
    }

    // The shadow pass over `casters`, then the lit pass over `receivers`;
    // returns the window's image, RGBA bottom row first.
    std::vector<unsigned char> render(const std::vector<TestMesh*>& casters, const std::vector<TestMesh*>& receivers) {
        glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
        glViewport(0, 0, screenWidth, screenHeight);  // the shadow map is window-sized
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glClear(GL_DEPTH_BUFFER_BIT);
        glUseProgram(depth.programHandle);
        setMatrix(depth, "depthMVP", depthViewProjection);
        for (TestMesh* mesh : casters) mesh->draw();

        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const GLuint program = scene.programHandle;
        glUseProgram(program);
        glUniform1f(glGetUniformLocation(program, "lightPower"), 1500.0f);
        glUniform1f(glGetUniformLocation(program, "transparency"), 1.0f);
        glUniform3fv(glGetUniformLocation(program, "lightPosition_worldspace"), 1, glm::value_ptr(lightPosition));
        setMatrix(scene, "projectionMatrix", projection);
        setMatrix(scene, "viewMatrix", view);
        setMatrix(scene, "modelMatrix", glm::mat4(1.0f));
        setMatrix(scene, "DepthBiasMVP", shadowBiasMatrix() * depthViewProjection);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, white);
        glUniform1i(glGetUniformLocation(program, "colorTexture"), 0);
        glActiveTexture(GL_TEXTURE20);
        glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
        glUniform1i(glGetUniformLocation(program, "shadowMap"), 20);
        for (TestMesh* mesh : receivers) mesh->draw();
        glActiveTexture(GL_TEXTURE0);
        return readPixels(0, 0, screenWidth, screenHeight);
    }

    // Mean grey level of the 3x3 pixels around where `world` shows.
    float brightnessAt(glm::vec3 world) const { return brightnessAround(projection * view, world, 1); }
};

TEST_F(ShadowedScene, ShadowsAreDarkButNotBlackAndSitWhereTheGeometryPutsThem) {
    const auto ground = floor(20.0f);
    const auto floating = box({-1, 4, -1}, {1, 6, 1});
    const auto standing = box({-1, 0, -8}, {1, 2, -6});
    render({ground.get(), floating.get(), standing.get()}, {ground.get(), floating.get(), standing.get()});

    // Seen from the light the floating box covers x in [-1.25, 1.25], z in [-2, 0.7] on the floor.
    const float shadowed = brightnessAt({0.0f, 0.0f, -0.9f});
    const float lit = brightnessAt({4.0f, 0.0f, -0.9f});
    EXPECT_LT(shadowed, 0.5f * lit) << "shadow " << shadowed << ", lit " << lit;
    EXPECT_GT(shadowed, 25.0f) << "ambient light keeps the shadow from going black";
    EXPECT_GT(lit, 150.0f) << "lightPower 1500 at about 30 units lights the floor well";
    // The edges sit where the geometry puts them: no peter-panning, no bleeding.
    EXPECT_LT(brightnessAt({0.65f, 0.0f, -0.65f}), 0.6f * lit);
    EXPECT_GT(brightnessAt({1.85f, 0.0f, -0.65f}), 0.9f * lit);
    EXPECT_LT(brightnessAt({0.0f, 0.0f, -1.5f}), 0.6f * lit);
    EXPECT_GT(brightnessAt({0.0f, 0.0f, -2.6f}), 0.9f * brightnessAt({4.0f, 0.0f, -2.6f}));
    // The standing box's shadow runs from its back face at z = -8 to about z = -8.8.
    EXPECT_LT(brightnessAt({0.0f, 0.0f, -8.3f}), 0.6f * brightnessAt({3.0f, 0.0f, -8.3f}));
}

TEST_F(ShadowedScene, SurfacesDoNotShadowThemselvesAtAnySlope) {
    for (float degrees : {0.0f, -30.0f, -60.0f, -75.0f}) {
        SCOPED_TRACE(testing::Message() << degrees << " degrees");
        const auto tilted = floor(12.0f, degrees);
        const auto unshadowed = render({}, {tilted.get()});
        const auto selfShadowed = render({tilted.get()}, {tilted.get()});
        int differing = 0, covered = 0;
        for (size_t i = 0; i < unshadowed.size(); i += 4) {
            covered += unshadowed[i] > 0;
            differing += std::abs(int(unshadowed[i]) - int(selfShadowed[i])) > 3;
        }
        EXPECT_GT(covered, 1000);
        EXPECT_EQ(differing, 0) << "shadow acne";
    }
}

}  // namespace
