// Shared set-up for the GL tests of scene objects: a working directory of
// small models the test controls, and programs standing in for the game's.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/globals.h"
#include "gpu/shader.h"
#include "scene/scene_object.h"
#include "tests/helpers.h"
#include "tests/temp_dir.h"

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

// One triangle of the given size around the origin, with normals and uvs.
inline std::string triangleObj(float size) {
    const std::string s = std::to_string(size);
    return "v " + s + " 0 0\nv 0 " + s + " 0\nv 0 0 " + s + "\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\n";
}

inline std::unique_ptr<Shader> makeProgram(const TempDir& dir, const std::string& name, const char* vertex,
                                           const char* fragment) {
    return std::make_unique<Shader>(dir.write("shaders/" + name + ".vert", vertex),
                                    dir.write("shaders/" + name + ".frag", fragment));
}

// Runs a test inside a scratch directory holding one-triangle models at the
// game's model paths (the cat's 1000 across, so its scale shows), with three
// distinct programs in the globals the objects build against.
class SceneGlTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path previousDirectory = std::filesystem::current_path();
    std::unique_ptr<Shader> scene, skybox, normals;

    void SetUp() override {
        dir.write("Objekte/cat/sphere.obj", triangleObj(1000.0f));
        for (const char* model : {"coin/coin", "corridor/corridor", "grid/grid",
                                  "hausreihen_zusammen/hausreihe_wuerfel_alleCords", "mouse/mouse_new"})
            dir.write(std::string("Objekte/") + model + ".obj", triangleObj(1.0f));
        scene = makeProgram(dir, "scene", fullVertexShader, fullFragmentShader);
        skybox = makeProgram(dir, "skybox", fullVertexShader, fullFragmentShader);
        normals = makeProgram(dir, "normals", fullVertexShader, fullFragmentShader);
        sceneShader = scene.get();
        skyboxShader = skybox.get();
        normalsShader = normals.get();
        std::filesystem::current_path(dir.root());
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    void TearDown() override {
        std::filesystem::current_path(previousDirectory);
        sceneShader = skyboxShader = normalsShader = nullptr;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
};

// A mesh uploaded the way every scene object uploads its model: read from a
// model file, or given in code (positions and normals per corner).
class TestMesh : public vesk::scene::MeshObject {
public:
    TestMesh(const std::string& path, Shader* program) : MeshObject(identity, program) {
        loadModel(path, 1.0f);
        upload();
    }
    TestMesh(const std::vector<glm::vec3>& corners, const std::vector<glm::vec3>& cornerNormals,
             std::vector<unsigned> triangles, Shader* program)
        : MeshObject(identity, program) {
        for (size_t i = 0; i < corners.size(); ++i) {
            positions.insert(positions.end(), {corners[i].x, corners[i].y, corners[i].z});
            normals.insert(normals.end(), {cornerNormals[i].x, cornerNormals[i].y, cornerNormals[i].z});
        }
        uvs.assign(2 * corners.size(), 0.5f);
        indices = std::move(triangles);
        upload();
    }
    void update(double) override {}

private:
    static inline glm::mat4 identity{1.0f};
};

// How many triangles `draw` sends down the pipeline.
template <typename Draw>
GLuint trianglesDrawnBy(Draw draw) {
    GLuint query = 0, count = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

}  // namespace scene_test
