// Shader programs on a real context: the game's seven pairs, and every failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include "gpu/shader.h"
#include "tests/temp_dir.h"

namespace {

struct ProgramContract {
    const char* name;  // Shader/<name>.vert and .frag
    std::vector<const char*> attributes;
    std::vector<const char*> uniforms;
    // Inputs at locations the draw code fixes rather than looks up: location, type.
    std::vector<std::pair<GLuint, GLenum>> fixedInputs;
};

// The mesh programs draw from one vertex array per object, so they share its layout.
const std::vector<std::pair<GLuint, GLenum>> meshLayout = {{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}, {2, GL_FLOAT_VEC2}};

const ProgramContract contracts[] = {
    {"depthShader", {"position"}, {"depthMVP"}, {{0, GL_FLOAT_VEC3}}},
    {"normals", {"position", "normal", "uv"}, {}, meshLayout},
    {"normals2",
     {"position", "normal", "uv"},
     {"projectionMatrix", "viewMatrix", "modelMatrix", "DepthBiasMVP", "lightPosition_worldspace", "lightPower",
      "transparency", "colorTexture", "shadowMap"},
     meshLayout},
    {"normalsSkybox", {"position", "uv"}, {"projectionMatrix", "viewMatrix", "modelMatrix", "colorTexture"}, meshLayout},
    {"normalsText2D", {}, {"myTextureSampler"}, {{3, GL_FLOAT_VEC2}, {4, GL_FLOAT_VEC2}}},
    {"ParticleShader",
     {},
     {"CameraRight_worldspace", "CameraUp_worldspace", "VP", "myTextureSampler"},
     {{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC4}, {2, GL_FLOAT_VEC4}}},
    {"blurShader", {}, {"blurTexture", "depthBlurTexture", "vpInverse", "vpPrevious", "deltaT"}, {{0, GL_FLOAT_VEC3}}},
};

// The type of the active attribute or uniform whose location is `location`, else GL_NONE.
GLenum typeAt(GLuint program, GLint location, bool uniform) {
    GLint count = 0;
    glGetProgramiv(program, uniform ? GL_ACTIVE_UNIFORMS : GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[128];
        GLint size = 0;
        GLenum type = GL_NONE;
        if (uniform) glGetActiveUniform(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
        else glGetActiveAttrib(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
        if ((uniform ? glGetUniformLocation(program, name) : glGetAttribLocation(program, name)) == location)
            return type;
    }
    return GL_NONE;
}

TEST(GameShaders, AllSevenPairsCompileLinkAndDeclareTheirInputs) {
    for (const ProgramContract& contract : contracts) {
        const std::string path = std::string("Shader/") + contract.name;
        Shader shader(path + ".vert", path + ".frag");
        const GLuint program = shader.programHandle;
        ASSERT_NE(program, 0u) << path;
        for (const char* attribute : contract.attributes)
            EXPECT_GE(glGetAttribLocation(program, attribute), 0) << path << " lacks attribute " << attribute;
        for (const char* uniform : contract.uniforms)
            EXPECT_GE(glGetUniformLocation(program, uniform), 0) << path << " lacks uniform " << uniform;
        for (const auto& [location, type] : contract.fixedInputs)
            EXPECT_EQ(typeAt(program, GLint(location), false), type) << path << " input at location " << location;
        EXPECT_EQ(glGetFragDataLocation(program, "fragColor"), 0) << path;
    }
    Shader scene("Shader/normals2.vert", "Shader/normals2.frag");
    EXPECT_EQ(typeAt(scene.programHandle, glGetUniformLocation(scene.programHandle, "shadowMap"), true),
              GLenum(GL_SAMPLER_2D_SHADOW));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Builds a Shader in a death-test child with stdout folded into stderr (the
// messages are split across both) and no console input, so the pause returns.
void buildExpectingDeath(const std::string& vertex, const std::string& fragment) {
    dup2(2, 1);
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    Shader shader(vertex, fragment);
}

TEST(ShaderFailureDeathTest, EachFailureIsReportedAndEndsTheProgram) {
    TempDir dir;
    const std::string good = dir.write("good.vert", "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n");
    const std::string fragment = dir.write("good.frag", "#version 330 core\nout vec4 fragColor;\n"
                                                        "void main() { fragColor = vec4(1.0); }\n");
    const std::string missing = dir.path("none.frag");
    struct Case {
        const char* what;
        std::string vertex, fragment, expected;
    };
    const Case cases[] = {
        {"missing vertex file: stops before the fragment file", dir.path("none.vert"), missing,
         "^Failed to open File\n"},
        {"missing fragment file after the vertex shader compiled", good, missing, "Failed to open File\n"},
        {"empty file", dir.write("empty.vert", ""), fragment, "Failed to compile shader\n"},
        {"compile error: the driver's log", dir.write("oops.vert", "#version 330 core\nvoid main() { oops; }\n"),
         fragment, "Failed to compile shader\n.*oops"},
        // Compiles on its own, but a program needs a main in every stage.
        {"link error: the driver's log", good, dir.write("nomain.frag", "#version 330 core\nout vec4 fragColor;\n"),
         "Failed to link shader program\n.*main"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(buildExpectingDeath(c.vertex, c.fragment), ::testing::ExitedWithCode(255), c.expected);
    }
}

}  // namespace
