// The whole world built and released on a real context, as start-up and
// shutdown do it, and the obstacle slabs it places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "app/globals.h"
#include "app/scene_setup.h"
#include "play/input.h"
#include "scene/coins.h"
#include "scene/level.h"
#include "tests/gl/game_world.h"
#include "tests/helpers.h"

using namespace vesk::scene;

namespace {

// Every live GL object, as "kind:name". Mesa hands out ever larger names, so
// a fresh name of each kind bounds the search.
std::set<std::string> liveObjects() {
    struct Kind {
        const char* name;
        PFNGLISPROGRAMPROC exists;
        void (*create)(GLsizei, GLuint*);
        void (*release)(GLsizei, const GLuint*);
    };
    const Kind kinds[] = {{"texture", glIsTexture, glGenTextures, glDeleteTextures},
                          {"buffer", glIsBuffer, glGenBuffers, glDeleteBuffers},
                          {"vertex array", glIsVertexArray, glGenVertexArrays, glDeleteVertexArrays},
                          {"framebuffer", glIsFramebuffer, glGenFramebuffers, glDeleteFramebuffers}};
    std::set<std::string> live;
    auto scan = [&live](const char* kind, PFNGLISPROGRAMPROC exists, GLuint fresh) {
        for (GLuint name = 1; name < std::max(fresh, 4096u); ++name)
            if (exists(name)) live.insert(std::string(kind) + ":" + std::to_string(name));
    };
    for (const Kind& kind : kinds) {
        GLuint fresh = 0;
        kind.create(1, &fresh);
        kind.release(1, &fresh);
        scan(kind.name, kind.exists, fresh);
    }
    const GLuint fresh = glCreateProgram();  // programs and shaders share their names
    glDeleteProgram(fresh);
    scan("program", glIsProgram, fresh);
    scan("shader", glIsShader, fresh);
    return live;
}

}  // namespace

TEST(SceneLifecycle, AssemblyLogsTheGridsAndCoinsAndShutdownReleasesEveryObject) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::set<std::string> before = liveObjects();
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    initScene();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "a complete start-up reports nothing";
    EXPECT_NE(out.find("grid Position.xyzX: -9Y: 8Z: -220true Position gridObject9.0, 8.0, -220.0\n"
                       "grid Position.xyzX: -5.5Y: 10Z: -390true Position gridObject-5.5, 10, -390\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(countOf(out, "COIN "), 22) << out;
    EXPECT_EQ(GameRaster::coins.size(), 22u);

    const std::set<std::string> assembled = liveObjects();
    EXPECT_GT(assembled.size(), before.size() + 200) << "the world's programs, textures, buffers and targets";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    deleteScene();
    std::set<std::string> left = liveObjects();
    for (const std::string& name : before) left.erase(name);
    EXPECT_EQ(left, std::set<std::string>()) << "shutdown left GL objects behind";
    EXPECT_TRUE(GameRaster::coins.empty());
    EXPECT_EQ(theCat, nullptr);
    EXPECT_EQ(coinField, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
