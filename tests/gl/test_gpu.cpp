// Shader programs and textures on a real context: the game's programs and
// what the code requires of them, every way a program can fail, and the
// filters a texture binds with.
#include <gtest/gtest.h>

#include <unistd.h>

#include "base/globals.h"
#include "gpu/gl_check.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "gpu/timer_queries.h"
#include "tests/gl/world.h"
#include "tests/support/temp_dir.h"

namespace {

// Each program the game builds writes its colour to fragColor. (The uniforms
// each pass sets are proven by the passes themselves: in the builds that run
// the GL tests, setting one the program lacks stops them.)
using GamePrograms = GameWorldTest;

TEST_F(GamePrograms, EachWritesFragColor) {
    for (Shader* program : {depthShader, normalsShader, sceneShader, unshadowedSceneShader, skyboxShader, textShader, particleShader, blurShader,
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

// The timestamp ring reads a frame only once the driver says all of it is
// there, and never asks for a result that is not: here the driver is made to
// say "not yet" until the test lets it, and asking anyway would fail.
namespace {
bool resultsHeldBack = false;
bool askedTooEarly = false;
PFNGLGETQUERYOBJECTIVPROC realGetQueryObjectiv = nullptr;
PFNGLGETQUERYOBJECTUI64VPROC realGetQueryObjectui64v = nullptr;
void heldBackAvailability(GLuint id, GLenum name, GLint* value) {
    realGetQueryObjectiv(id, name, value);
    if (name == GL_QUERY_RESULT_AVAILABLE && resultsHeldBack) *value = GL_FALSE;
}
void resultOnlyWhenThere(GLuint id, GLenum name, GLuint64* value) {
    if (name == GL_QUERY_RESULT && resultsHeldBack) askedTooEarly = true;
    realGetQueryObjectui64v(id, name, value);
}
}  // namespace

TEST(TimestampRing, ReturnsEachFramesTimesInOrderAndNeverWaitsForOne) {
    realGetQueryObjectiv = glGetQueryObjectiv;
    realGetQueryObjectui64v = glGetQueryObjectui64v;
    glGetQueryObjectiv = heldBackAvailability;
    glGetQueryObjectui64v = resultOnlyWhenThere;
    std::vector<int> arrived;
    std::vector<GLuint64> spans;
    {
        TimestampRing ring(3, 2);
        ring.arrived = [&](int frame, const std::vector<GLuint64>& stamps) {
            arrived.push_back(frame);
            spans.push_back(stamps[1] - stamps[0]);
        };
        resultsHeldBack = true;
        for (int frame = 1; frame <= 5; ++frame) {
            ring.startFrame(frame);
            ring.stamp(0);
            glClear(GL_COLOR_BUFFER_BIT);
            ring.stamp(1);
        }
        EXPECT_TRUE(arrived.empty()) << "nothing is there yet";
        EXPECT_EQ(ring.dropped(), 2) << "frames 1 and 2 were still out when their slots came round";
        resultsHeldBack = false;
        glFinish();
        ring.collect();
        EXPECT_EQ(arrived, std::vector<int>({3, 4})) << "frame 5 is still being drawn";
        ring.startFrame(6);
        ring.stamp(0);
        ring.stamp(1);
        ring.finish();
    }
    glGetQueryObjectiv = realGetQueryObjectiv;
    glGetQueryObjectui64v = realGetQueryObjectui64v;
    EXPECT_FALSE(askedTooEarly);
    EXPECT_EQ(arrived, std::vector<int>({3, 4, 5, 6}));
    for (GLuint64 span : spans) EXPECT_LT(span, GLuint64(1000000000)) << "a frame's end follows its start";
}
