// The game's depth, scene, sky and normals programs: what the code looks up
// in them, and how the scene program lights and shadows a small handmade
// world (floor, floating box, box standing on the floor).
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

#include "app/globals.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "render/passes.h"
#include "tests/gl/gl_context.h"

namespace {

std::unique_ptr<Shader> load(const std::string& vertex, const std::string& fragment) {
    return std::make_unique<Shader>("Shader/" + vertex, "Shader/" + fragment);
}

GLenum uniformType(GLuint program, const char* name) {
    const GLint location = glGetUniformLocation(program, name);
    if (location < 0) return GL_NONE;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char found[64];
        GLint size = 0;
        GLenum type = GL_NONE;
        glGetActiveUniform(program, GLuint(i), sizeof found, nullptr, &size, &type, found);
        if (std::string(found) == name) return type;
    }
    return GL_NONE;
}

TEST(SceneShaders, MeshProgramsShareTheAttributeLocations) {
    auto depth = load("depthShader.vert", "depthShader.frag");
    auto scene = load("normals2.vert", "normals2.frag");
    auto sky = load("normalsSkybox.vert", "normalsSkybox.frag");
    auto normals = load("normals.vert", "normals.frag");
    EXPECT_EQ(glGetAttribLocation(depth->programHandle, "position"), 0);
    for (const Shader* program : {scene.get(), sky.get(), normals.get()}) {
        EXPECT_EQ(glGetAttribLocation(program->programHandle, "position"), 0);
        EXPECT_EQ(glGetAttribLocation(program->programHandle, "normal"), 1);
        EXPECT_EQ(glGetAttribLocation(program->programHandle, "uv"), 2);
        EXPECT_EQ(glGetFragDataLocation(program->programHandle, "fragColor"), 0);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(SceneShaders, ProgramsDeclareTheUniformsThePassesSet) {
    auto depth = load("depthShader.vert", "depthShader.frag");
    auto scene = load("normals2.vert", "normals2.frag");
    auto sky = load("normalsSkybox.vert", "normalsSkybox.frag");
    EXPECT_EQ(uniformType(depth->programHandle, "depthMVP"), GLenum(GL_FLOAT_MAT4));

    const GLuint lit = scene->programHandle;
    for (const char* name : {"projectionMatrix", "viewMatrix", "modelMatrix", "DepthBiasMVP"})
        EXPECT_EQ(uniformType(lit, name), GLenum(GL_FLOAT_MAT4)) << name;
    EXPECT_EQ(uniformType(lit, "lightPosition_worldspace"), GLenum(GL_FLOAT_VEC3));
    EXPECT_EQ(uniformType(lit, "lightPower"), GLenum(GL_FLOAT));
    EXPECT_EQ(uniformType(lit, "transparency"), GLenum(GL_FLOAT));
    EXPECT_EQ(uniformType(lit, "colorTexture"), GLenum(GL_SAMPLER_2D));
    EXPECT_EQ(uniformType(lit, "shadowMap"), GLenum(GL_SAMPLER_2D_SHADOW));

    for (const char* name : {"projectionMatrix", "viewMatrix", "modelMatrix"})
        EXPECT_EQ(uniformType(sky->programHandle, name), GLenum(GL_FLOAT_MAT4)) << name;
    EXPECT_EQ(uniformType(sky->programHandle, "colorTexture"), GLenum(GL_SAMPLER_2D));
}

// A triangle mesh on locations 0, 1, 2 as the scene objects lay it out.
class Mesh {
public:
    Mesh(const std::vector<glm::vec3>& positions, const std::vector<glm::vec3>& normals,
         const std::vector<unsigned>& indices)
        : count_(GLsizei(indices.size())) {
        std::vector<glm::vec2> uvs(positions.size(), glm::vec2(0.5f));
        glGenVertexArrays(1, &vao_);
        glBindVertexArray(vao_);
        glGenBuffers(4, buffers_);
        attribute(0, buffers_[0], positions.data(), positions.size() * sizeof(glm::vec3), 3);
        attribute(1, buffers_[1], normals.data(), normals.size() * sizeof(glm::vec3), 3);
        attribute(2, buffers_[2], uvs.data(), uvs.size() * sizeof(glm::vec2), 2);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[3]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * 4, indices.data(), GL_STATIC_DRAW);
        glBindVertexArray(0);
    }
    ~Mesh() {
        glDeleteBuffers(4, buffers_);
        glDeleteVertexArrays(1, &vao_);
    }
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    void draw() const {
        glBindVertexArray(vao_);
        glDrawElements(GL_TRIANGLES, count_, GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
    }

private:
    static void attribute(GLuint location, GLuint buffer, const void* data, size_t bytes, GLint size) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(bytes), data, GL_STATIC_DRAW);
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    GLuint vao_ = 0;
    GLuint buffers_[4] = {};
    GLsizei count_;
};

// A square of side 2 * half in the y = 0 plane, facing +y, counter-clockwise from above.
std::unique_ptr<Mesh> makeFloor(float half) {
    return std::make_unique<Mesh>(
        std::vector<glm::vec3>{{-half, 0, half}, {half, 0, half}, {half, 0, -half}, {-half, 0, -half}},
        std::vector<glm::vec3>(4, glm::vec3(0, 1, 0)), std::vector<unsigned>{0, 1, 2, 0, 2, 3});
}

// An axis-aligned box from `low` to `high` with outward faces.
std::unique_ptr<Mesh> makeBox(glm::vec3 low, glm::vec3 high) {
    std::vector<glm::vec3> positions, normals;
    std::vector<unsigned> indices;
    const glm::vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {-1.0f, 1.0f}) {
            const glm::vec3 n = axes[axis] * sign;
            const glm::vec3 u = axes[(axis + 1) % 3], v = axes[(axis + 2) % 3];
            const glm::vec3 centre = (low + high) * 0.5f + n * ((high - low) * 0.5f);
            const glm::vec3 hu = u * ((high - low) * 0.5f), hv = v * ((high - low) * 0.5f);
            const unsigned base = unsigned(positions.size());
            for (glm::vec2 c : {glm::vec2(-1, -1), glm::vec2(1, -1), glm::vec2(1, 1), glm::vec2(-1, 1)}) {
                positions.push_back(centre + hu * c.x + hv * c.y);
                normals.push_back(n);
            }
            // u x v = n for sign +1; flip the winding on the negative side.
            if (sign > 0) indices.insert(indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
            else indices.insert(indices.end(), {base, base + 2, base + 1, base, base + 3, base + 2});
        }
    }
    return std::make_unique<Mesh>(positions, normals, indices);
}

struct Placed {
    const Mesh* mesh;
    glm::mat4 model;
};

constexpr int imageSize = 256;

// Renders casters into the real shadow target with the game's depth program,
// then receivers into an off-screen image with the game's scene program, the
// way the shadow and lit passes set their uniforms.
class ShadowedScene : public ::testing::Test {
protected:
    std::unique_ptr<Shader> depth, scene;
    GLuint whiteTexture = 0, framebuffer = 0, colour = 0, depthBuffer = 0;
    glm::mat4 projection, view;

    void SetUp() override {
        depth = load("depthShader.vert", "depthShader.frag");
        scene = load("normals2.vert", "normals2.frag");
        createShadowMapTarget();

        const unsigned char white[3] = {255, 255, 255};
        glGenTextures(1, &whiteTexture);
        glBindTexture(GL_TEXTURE_2D, whiteTexture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, imageSize, imageSize);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glGenRenderbuffers(1, &depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, imageSize, imageSize);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
        glBindFramebuffer(GL_FRAMEBUFFER, 0);

        // The game's camera projection, which the light borrows; the light
        // 30 above and 3 behind a cat at the origin.
        projection = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
        projectionMatrix = projection;
        lightPosition = glm::vec3(0.0f, 30.0f, 3.0f);
        depthViewProjection = projection * lightViewMatrix();
        view = glm::lookAt(glm::vec3(0, 12, -14), glm::vec3(0, 0, -0.6f), glm::vec3(0, 1, 0));
        lightPower = 1500.0f;
    }

    void TearDown() override {
        releaseRenderTargets();
        glDeleteTextures(1, &whiteTexture);
        glDeleteRenderbuffers(1, &colour);
        glDeleteRenderbuffers(1, &depthBuffer);
        glDeleteFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glUseProgram(0);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    void setMatrix(const Shader& program, const char* name, const glm::mat4& m) {
        glUniformMatrix4fv(glGetUniformLocation(program.programHandle, name), 1, GL_FALSE, glm::value_ptr(m));
    }

    void renderShadowCasters(const std::vector<Placed>& casters) {
        glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
        glViewport(0, 0, screenWidth, screenHeight);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glClear(GL_DEPTH_BUFFER_BIT);
        glUseProgram(depth->programHandle);
        for (const Placed& p : casters) {
            setMatrix(*depth, "depthMVP", depthViewProjection * p.model);
            p.mesh->draw();
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    // Returns the image as RGBA bytes, bottom row first.
    std::vector<unsigned char> renderLit(const std::vector<Placed>& receivers) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, imageSize, imageSize);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(scene->programHandle);
        const GLuint program = scene->programHandle;
        glUniform1f(glGetUniformLocation(program, "lightPower"), lightPower);
        glUniform1f(glGetUniformLocation(program, "transparency"), 1.0f);
        glUniform3f(glGetUniformLocation(program, "lightPosition_worldspace"), lightPosition.x, lightPosition.y,
                    lightPosition.z);
        setMatrix(*scene, "projectionMatrix", projection);
        setMatrix(*scene, "viewMatrix", view);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, whiteTexture);
        glUniform1i(glGetUniformLocation(program, "colorTexture"), 0);
        glActiveTexture(GL_TEXTURE20);
        glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
        glUniform1i(glGetUniformLocation(program, "shadowMap"), 20);
        for (const Placed& p : receivers) {
            setMatrix(*scene, "DepthBiasMVP", shadowBiasMatrix() * depthViewProjection * p.model);
            setMatrix(*scene, "modelMatrix", p.model);
            p.mesh->draw();
        }
        auto pixels = readPixels(0, 0, imageSize, imageSize);
        glActiveTexture(GL_TEXTURE0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return pixels;
    }

    // Mean grey level of the 3x3 pixels around where `world` lands in the image.
    float brightnessAt(const std::vector<unsigned char>& image, glm::vec3 world) const {
        const glm::vec4 clip = projection * view * glm::vec4(world, 1.0f);
        const int px = int((clip.x / clip.w * 0.5f + 0.5f) * imageSize);
        const int py = int((clip.y / clip.w * 0.5f + 0.5f) * imageSize);
        float sum = 0.0f;
        for (int y = py - 1; y <= py + 1; ++y)
            for (int x = px - 1; x <= px + 1; ++x) {
                const unsigned char* p = &image[size_t(y * imageSize + x) * 4];
                sum += (p[0] + p[1] + p[2]) / 3.0f;
            }
        return sum / 9.0f;
    }
};

TEST_F(ShadowedScene, FloorUnderAFloatingBoxIsDarkerThanBesideItsShadowButNotBlack) {
    auto floor = makeFloor(20.0f);
    auto box = makeBox({-1, 4, -1}, {1, 6, 1});
    renderShadowCasters({{floor.get(), glm::mat4(1.0f)}, {box.get(), glm::mat4(1.0f)}});
    const auto image = renderLit({{floor.get(), glm::mat4(1.0f)}, {box.get(), glm::mat4(1.0f)}});

    // Seen from the light the box covers x in [-1.25, 1.25], z in [-2, 0.7] on the floor.
    const float shadowed = brightnessAt(image, {0.0f, 0.0f, -0.9f});
    const float lit = brightnessAt(image, {4.0f, 0.0f, -0.9f});
    EXPECT_LT(shadowed, 0.5f * lit) << "shadow " << shadowed << ", lit " << lit;
    EXPECT_GT(shadowed, 25.0f) << "ambient light keeps the shadow from going black";
    EXPECT_GT(lit, 150.0f) << "lightPower 1500 at about 30 units lights the floor well";

    // The edges sit where the geometry puts them: no peter-panning, no bleeding.
    EXPECT_LT(brightnessAt(image, {0.65f, 0.0f, -0.65f}), 0.6f * lit);
    EXPECT_GT(brightnessAt(image, {1.85f, 0.0f, -0.65f}), 0.9f * lit);
    EXPECT_LT(brightnessAt(image, {0.0f, 0.0f, -1.5f}), 0.6f * lit);
    EXPECT_GT(brightnessAt(image, {0.0f, 0.0f, -2.6f}), 0.9f * brightnessAt(image, {4.0f, 0.0f, -2.6f}));
}

TEST_F(ShadowedScene, ShadowOfABoxOnTheFloorStartsAtItsBase) {
    auto floor = makeFloor(20.0f);
    auto box = makeBox({-1, 0, -8}, {1, 2, -6});
    renderShadowCasters({{floor.get(), glm::mat4(1.0f)}, {box.get(), glm::mat4(1.0f)}});
    const auto image = renderLit({{floor.get(), glm::mat4(1.0f)}, {box.get(), glm::mat4(1.0f)}});
    // The shadow runs from the back face at z = -8 to about z = -8.8.
    const float nextToBase = brightnessAt(image, {0.0f, 0.0f, -8.3f});
    const float lit = brightnessAt(image, {3.0f, 0.0f, -8.3f});
    EXPECT_LT(nextToBase, 0.6f * lit) << "base " << nextToBase << ", lit " << lit;
}

TEST_F(ShadowedScene, SurfacesDoNotShadowThemselvesAtAnySlope) {
    auto floor = makeFloor(12.0f);
    for (float degrees : {0.0f, -30.0f, -60.0f, -75.0f}) {
        SCOPED_TRACE(testing::Message() << degrees << " degrees");
        const glm::mat4 tilt = glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::vec3(1, 0, 0));
        renderShadowCasters({});
        const auto unshadowed = renderLit({{floor.get(), tilt}});
        renderShadowCasters({{floor.get(), tilt}});
        const auto selfShadowed = renderLit({{floor.get(), tilt}});
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
