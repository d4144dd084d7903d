// Shared set-up for the GL tests of scene objects: a working directory of
// small models the test controls, and programs standing in for the game's.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/globals.h"
#include "gpu/shader.h"
#include "tests/unit/temp_files.h"

namespace scene_test {

// Declares every input and uniform an object or the coin field may look up,
// and uses each, so none is optimised away.
inline const char* const fullVertexShader = R"(#version 330 core
in vec3 position;
in vec3 normal;
in vec2 uv;
uniform mat4 modelMatrix;
uniform mat4 depthMVP;
uniform mat4 DepthBiasMVP;
out vec4 shadowCoord;
out vec3 shade;
void main() {
    gl_Position = depthMVP * modelMatrix * vec4(position, 1.0);
    shadowCoord = DepthBiasMVP * vec4(position, 1.0);
    shade = normal + vec3(uv, 1.0);
}
)";
inline const char* const fullFragmentShader = R"(#version 330 core
in vec4 shadowCoord;
in vec3 shade;
uniform sampler2DShadow shadowMap;
out vec4 fragColor;
void main() { fragColor = vec4(shade, texture(shadowMap, shadowCoord.xyz)); }
)";

// Only "position": the other two attributes are missing on purpose.
inline const char* const positionOnlyVertexShader = R"(#version 330 core
in vec3 position;
uniform mat4 modelMatrix;
void main() { gl_Position = modelMatrix * vec4(position, 1.0); }
)";
inline const char* const whiteFragmentShader = R"(#version 330 core
out vec4 fragColor;
void main() { fragColor = vec4(1.0); }
)";

// One triangle of the given size around the origin, with normals and uvs.
inline std::string triangleObj(float size) {
    const std::string s = std::to_string(size);
    return "v " + s + " 0 0\nv 0 " + s + " 0\nv 0 0 " + s +
           "\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\n";
}

inline void writeGameModels(const TempDir& dir) {
    dir.write("Objekte/cat/sphere.obj", triangleObj(1000.0f));
    dir.write("Objekte/coin/coin.obj", triangleObj(1.0f));
    dir.write("Objekte/corridor/corridor.obj", triangleObj(1.0f));
    dir.write("Objekte/grid/grid.obj", triangleObj(1.0f));
    dir.write("Objekte/hausreihen_zusammen/hausreihe_wuerfel_alleCords.obj", triangleObj(1.0f));
    dir.write("Objekte/mouse/mouse_new.obj", triangleObj(1.0f));
}

inline std::unique_ptr<Shader> makeProgram(const TempDir& dir, const std::string& name, const char* vertex,
                                           const char* fragment) {
    return std::make_unique<Shader>(dir.write("shaders/" + name + ".vert", vertex),
                                    dir.write("shaders/" + name + ".frag", fragment));
}

// Runs a test inside a scratch directory holding the game's model paths, with
// three distinct programs in the globals the objects build against.
class SceneGlTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path previousDirectory;
    std::unique_ptr<Shader> scene, skybox, normals;

    void SetUp() override {
        writeGameModels(dir);
        scene = makeProgram(dir, "scene", fullVertexShader, fullFragmentShader);
        skybox = makeProgram(dir, "skybox", fullVertexShader, fullFragmentShader);
        normals = makeProgram(dir, "normals", fullVertexShader, fullFragmentShader);
        sceneShader = scene.get();
        skyboxShader = skybox.get();
        normalsShader = normals.get();
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(dir.root());
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    void TearDown() override {
        std::filesystem::current_path(previousDirectory);
        sceneShader = skyboxShader = normalsShader = nullptr;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
};

// How many triangles `draw` sends down the pipeline.
template <typename Draw>
GLuint trianglesDrawnBy(Draw draw) {
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

inline glm::vec3 translationOf(const glm::mat4& m) { return glm::vec3(m[3]); }

inline void expectNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace scene_test
