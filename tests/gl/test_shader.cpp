// Shader programs on a real context: the game's seven pairs, and every failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "gpu/shader.h"

namespace fs = std::filesystem;

namespace {

struct ProgramContract {
    const char* vertex;
    const char* fragment;
    std::vector<const char*> attributes;
    std::vector<const char*> uniforms;
};

const ProgramContract contracts[] = {
    {"Shader/depthShader.vert", "Shader/depthShader.frag", {"position"}, {"depthMVP"}},
    {"Shader/normals.vert", "Shader/normals.frag", {"position", "normal", "uv"}, {}},
    {"Shader/normals2.vert",
     "Shader/normals2.frag",
     {"position", "normal", "uv"},
     {"projectionMatrix", "viewMatrix", "modelMatrix", "DepthBiasMVP", "lightPosition_worldspace", "lightPower",
      "transparency", "colorTexture", "shadowMap"}},
    {"Shader/normalsSkybox.vert",
     "Shader/normalsSkybox.frag",
     {"position", "uv"},
     {"projectionMatrix", "viewMatrix", "modelMatrix", "colorTexture"}},
    {"Shader/normalsText2D.vert", "Shader/normalsText2D.frag", {}, {"myTextureSampler"}},
    {"Shader/ParticleShader.vert",
     "Shader/ParticleShader.frag",
     {},
     {"CameraRight_worldspace", "CameraUp_worldspace", "VP", "myTextureSampler"}},
    {"Shader/blurShader.vert",
     "Shader/blurShader.frag",
     {},
     {"blurTexture", "depthBlurTexture", "vpInverse", "vpPrevious", "deltaT"}},
};

// The attributes whose location the draw code fixes rather than looks up.
struct FixedAttribute {
    const char* vertex;
    int location;
    GLenum type;
};

GLenum attributeTypeAt(GLuint program, int location) {
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[128];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
        if (glGetAttribLocation(program, name) == location) return type;
    }
    return 0;
}

class TempDir {
public:
    fs::path path = fs::temp_directory_path() / ("kivo_shader_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name) << text;
        return (path / name).string();
    }
};

const char* goodVertex = "#version 330 core\nlayout(location = 0) in vec3 position;\n"
                         "void main() { gl_Position = vec4(position, 1.0); }\n";
const char* goodFragment = "#version 330 core\nout vec4 fragColor;\n"
                           "void main() { fragColor = vec4(1.0); }\n";

// Builds a Shader in a death-test child with stdout folded into stderr (the
// messages are split across both) and no console input, so the pause returns.
void buildExpectingDeath(const std::string& vertex, const std::string& fragment) {
    dup2(2, 1);
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    Shader shader(vertex, fragment);
}

}  // namespace

TEST(GameShaders, AllSevenPairsCompileLinkAndDeclareTheirInputs) {
    for (const ProgramContract& contract : contracts) {
        Shader shader(contract.vertex, contract.fragment);
        ASSERT_NE(shader.programHandle, 0u) << contract.vertex;
        for (const char* attribute : contract.attributes)
            EXPECT_GE(glGetAttribLocation(shader.programHandle, attribute), 0)
                << contract.vertex << " lacks attribute " << attribute;
        for (const char* uniform : contract.uniforms)
            EXPECT_GE(glGetUniformLocation(shader.programHandle, uniform), 0)
                << contract.vertex << " lacks uniform " << uniform;
        EXPECT_EQ(glGetFragDataLocation(shader.programHandle, "fragColor"), 0) << contract.fragment;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(GameShaders, PositionSharesOneLocationInTheDepthAndSceneProgramsAndFixedInputsSitWhereDrawnFrom) {
    Shader depth("Shader/depthShader.vert", "Shader/depthShader.frag");
    Shader scene("Shader/normals2.vert", "Shader/normals2.frag");
    EXPECT_EQ(glGetAttribLocation(depth.programHandle, "position"),
              glGetAttribLocation(scene.programHandle, "position"));

    Shader text("Shader/normalsText2D.vert", "Shader/normalsText2D.frag");
    EXPECT_EQ(attributeTypeAt(text.programHandle, 3), GLenum(GL_FLOAT_VEC2));
    EXPECT_EQ(attributeTypeAt(text.programHandle, 4), GLenum(GL_FLOAT_VEC2));
    Shader particles("Shader/ParticleShader.vert", "Shader/ParticleShader.frag");
    EXPECT_EQ(attributeTypeAt(particles.programHandle, 0), GLenum(GL_FLOAT_VEC3));
    EXPECT_EQ(attributeTypeAt(particles.programHandle, 1), GLenum(GL_FLOAT_VEC4));
    EXPECT_EQ(attributeTypeAt(particles.programHandle, 2), GLenum(GL_FLOAT_VEC4));
    Shader blur("Shader/blurShader.vert", "Shader/blurShader.frag");
    EXPECT_EQ(attributeTypeAt(blur.programHandle, 0), GLenum(GL_FLOAT_VEC3));
}

TEST(GameShaders, ShadowMapIsAShadowSampler) {
    Shader scene("Shader/normals2.vert", "Shader/normals2.frag");
    const GLint location = glGetUniformLocation(scene.programHandle, "shadowMap");
    GLint count = 0;
    glGetProgramiv(scene.programHandle, GL_ACTIVE_UNIFORMS, &count);
    GLenum shadowType = 0;
    for (GLint i = 0; i < count; ++i) {
        char name[128];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(scene.programHandle, GLuint(i), sizeof name, nullptr, &size, &type, name);
        if (glGetUniformLocation(scene.programHandle, name) == location) shadowType = type;
    }
    EXPECT_EQ(shadowType, GLenum(GL_SAMPLER_2D_SHADOW));
}

TEST(ShaderClass, ReleaseDeletesProgramAndShaders) {
    TempDir dir;
    GLuint program, vertex, fragment;
    {
        Shader shader(dir.write("a.vert", goodVertex), dir.write("a.frag", goodFragment));
        program = shader.programHandle;
        vertex = shader.vertexShaderHandle;
        fragment = shader.fragmentShaderHandle;
        EXPECT_TRUE(glIsProgram(program));
    }
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(vertex));
    EXPECT_FALSE(glIsShader(fragment));
}

TEST(ShaderFailureDeathTest, MissingVertexFileStopsBeforeTheFragmentFile) {
    TempDir dir;
    EXPECT_EXIT(buildExpectingDeath((dir.path / "none.vert").string(), (dir.path / "none.frag").string()),
                ::testing::ExitedWithCode(255), "^Failed to open File\n");
}

TEST(ShaderFailureDeathTest, MissingFragmentFileStopsAfterTheVertexShaderCompiled) {
    TempDir dir;
    EXPECT_EXIT(buildExpectingDeath(dir.write("a.vert", goodVertex), (dir.path / "none.frag").string()),
                ::testing::ExitedWithCode(255), "Failed to open File\n");
}

TEST(ShaderFailureDeathTest, EmptyFileFailsToCompile) {
    TempDir dir;
    EXPECT_EXIT(buildExpectingDeath(dir.write("a.vert", ""), dir.write("a.frag", goodFragment)),
                ::testing::ExitedWithCode(255), "Failed to compile shader\n");
}

TEST(ShaderFailureDeathTest, CompileErrorPrintsTheDriversLog) {
    TempDir dir;
    EXPECT_EXIT(buildExpectingDeath(dir.write("a.vert", "#version 330 core\nvoid main() { oops; }\n"),
                                    dir.write("a.frag", goodFragment)),
                ::testing::ExitedWithCode(255), "Failed to compile shader\n.*oops");
}

TEST(ShaderFailureDeathTest, LinkErrorPrintsTheDriversLog) {
    TempDir dir;
    // Compiles on its own, but a program needs a main in every stage.
    EXPECT_EXIT(buildExpectingDeath(dir.write("a.vert", goodVertex),
                                    dir.write("a.frag", "#version 330 core\nout vec4 fragColor;\n")),
                ::testing::ExitedWithCode(255), "Failed to link shader program\n.*main");
}
