// Shader programs and textures on a real context: the game's programs and
// what the code requires of them, every way a program can fail, and the
// filters a texture binds with.
#include <gtest/gtest.h>

#include <unistd.h>

#include "base/globals.h"
#include "gpu/gl_check.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "tests/gl/world.h"
#include "tests/support/temp_dir.h"

namespace {

// Each program the game builds writes its colour to fragColor. (The uniforms
// each pass sets are proven by the passes themselves: in the builds that run
// the GL tests, setting one the program lacks stops them.)
using GamePrograms = GameWorldTest;

TEST_F(GamePrograms, EachWritesFragColor) {
    for (Shader* program : {depthShader, normalsShader, sceneShader, skyboxShader, textShader, particleShader, blurShader,
                            scaleUpShader, ghostShader}) {
        ASSERT_NE(program, nullptr);
        EXPECT_EQ(glGetFragDataLocation(program->programHandle, "fragColor"), 0) << program->files;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Builds a Shader in a death-test child with stdout folded into stderr (the
// messages are split across both) and no console input, so the pause returns.
void buildExpectingDeath(const std::string& vertex, const std::string& fragment) {
    dup2(2, 1);
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    Shader shader(vertex, fragment);
}

TEST(ShaderFailureDeathTest, EachFailureIsReportedAndEndsTheProgramAfterThePause) {
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
         "^Failed to open File\n  [^\n]*/none.vert: cannot be opened; looked for the game's folders[^\n]*\n"
         "Press Enter to continue . . .\n$"},
        {"missing fragment file after the vertex shader compiled", good, missing,
         "^Failed to open File\n  [^\n]*/none.frag: cannot be opened; [^\n]*\nPress Enter"},
        {"empty file", dir.write("empty.vert", ""), fragment, "^Failed to compile shader\n"},
        {"compile error: the driver's log", dir.write("oops.vert", "#version 330 core\nvoid main() { oops; }\n"),
         fragment, "^Failed to compile shader\n.*oops.*Press Enter"},
        // Compiles on its own, but a program needs a main in every stage.
        {"link error: the driver's log", good, dir.write("nomain.frag", "#version 330 core\nout vec4 fragColor;\n"),
         "^Failed to link shader program\n.*main.*Press Enter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(buildExpectingDeath(c.vertex, c.fragment), ::testing::ExitedWithCode(255), c.expected);
    }
}

TEST(Textures, BindAppliesThePlayersCurrentFiltersOnItsUnit) {
    Texture texture("Textur/grau.jpg");
    textureFilter = GL_NEAREST;
    mipmapFilter = GL_NEAREST_MIPMAP_NEAREST;
    texture.bind(3);
    GLint active = 0, bound = 0, minFilter = 0, magFilter = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(std::vector<GLint>({active, bound, minFilter, magFilter}),
              std::vector<GLint>({GL_TEXTURE3, GLint(texture.handle), GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST}));
    textureFilter = GL_LINEAR;
    mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
    glActiveTexture(GL_TEXTURE0);
}

// A GL fault is the code's: the debug and sanitizer builds stop at the call
// that made it, naming it, and at a uniform the program lacks; a release
// build says the first fault once and goes on.
TEST_F(GamePrograms, AGlFaultStopsTheDebugBuildsAtItsCallAndIsSaidOnceInARelease) {
    const auto badEnable = [] { glEnable(GLenum(0xBAD)); checkGlErrors("after the frame"); };
    const auto missingUniform = [] {
        glUseProgram(sceneShader->programHandle);
        setFloat(sceneShader, "noSuchUniform", 1.0f);
    };
    if (glChecksStop()) {
        EXPECT_DEATH(badEnable(), "GL error: GL_INVALID_ENUM in glEnable");
        EXPECT_DEATH(missingUniform(), "normals2.frag has no uniform \"noSuchUniform\"");
        return;
    }
    ::testing::internal::CaptureStderr();
    badEnable();
    missingUniform();
    badEnable();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "kivo: GL_INVALID_ENUM after the frame; playing on (said once)\n");
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
