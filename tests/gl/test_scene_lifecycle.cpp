// The whole world built and released on a real context, as start-up and
// shutdown do it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "app/globals.h"
#include "app/scene_setup.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "play/text2d.h"
#include "render/particles.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/level.h"
#include "tests/coin_line.h"

namespace {

struct GlNames {
    std::vector<GLuint> programs, textures, buffers, vertexArrays, framebuffers;
};

// Every GL object the assembled scene owns, read from the globals.
GlNames sceneNames() {
    GlNames names;
    for (Shader* shader : {depthShader, normalsShader, sceneShader, skyboxShader, textShader, particleShader,
                           blurShader})
        names.programs.push_back(shader->programHandle);
    for (Texture* texture : {catFurTexture, asphaltTexture, starsTexture, roofTexture, greyTexture, metalTexture,
                             whiteTexture, grassTexture, coinTexture, oldMetalTexture, fontTexture})
        names.textures.push_back(texture->handle);
    names.textures.insert(names.textures.end(), {shadowMapTexture, blurColorTexture, blurDepthTexture});
    std::vector<vesk::scene::MeshObject*> objects = {theCat, catChildA, catChildB, corridorObject, cubeA,
                                                     cubeB, mouseObject, skyBox, houseRow, streetObject,
                                                     coinObject};
    for (auto* slab : grids) objects.push_back(slab);
    for (auto* c : vesk::scene::GameRaster::coins) objects.push_back(c);
    for (auto* object : objects) {
        names.vertexArrays.push_back(object->vao);
        names.buffers.insert(names.buffers.end(), {object->positionBuffer, object->normalBuffer,
                                                   object->uvBuffer, object->indexBuffer});
    }
    names.buffers.insert(names.buffers.end(), {text2D->vertexBuffer, text2D->uvBuffer, particleBillboardBuffer,
                                               particlePositionBuffer, particleColorBuffer, screenQuadBuffer});
    names.framebuffers = {shadowFramebuffer, blurFramebuffer};
    return names;
}

int liveNames(const GlNames& names) {
    int live = 0;

    for (GLuint n : names.programs) live += glIsProgram(n) == GL_TRUE;
    for (GLuint n : names.textures) live += glIsTexture(n) == GL_TRUE;
    for (GLuint n : names.buffers) live += glIsBuffer(n) == GL_TRUE;
    for (GLuint n : names.vertexArrays) live += glIsVertexArray(n) == GL_TRUE;
    for (GLuint n : names.framebuffers) live += glIsFramebuffer(n) == GL_TRUE;
    return live;
}

}  // namespace

TEST(SceneLifecycle, AssemblyLogsTheGridsAndCoinsAndShutdownReleasesEveryObject) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    initScene();
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "") << "a complete start-up reports nothing";

    EXPECT_NE(out.find("grid Position.xyzX: -9Y: 8Z: -220true Position gridObject9.0, 8.0, -220.0\n"
                       "grid Position.xyzX: -5.5Y: 10Z: -390true Position gridObject-5.5, 10, -390\n"),
              std::string::npos)
        << out;
    std::istringstream lines(out);
    int coins = 0;
    for (std::string line; std::getline(lines, line);) {
        CoinLine coin;
        if (!parseCoinLine(line, coin)) continue;
        EXPECT_EQ(coin.index, coins++);
        const int x = coin.x, y = coin.y, z = coin.z;
        EXPECT_TRUE(x >= -8 && x <= 9) << line;
        EXPECT_TRUE(y == -20 || y == 0 || (y >= 2 && y <= 15)) << line;
        EXPECT_TRUE(z >= -334 && z <= 0) << line;
    }
    EXPECT_EQ(coins, 22);
    EXPECT_EQ(vesk::scene::GameRaster::coins.size(), 22u);

    const GlNames names = sceneNames();
    const int total = int(names.programs.size() + names.textures.size() + names.buffers.size() +
                          names.vertexArrays.size() + names.framebuffers.size());
    EXPECT_EQ(liveNames(names), total) << "every object exists after assembly";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    deleteScene();
    EXPECT_EQ(liveNames(names), 0) << "shutdown left GL objects behind";
    EXPECT_TRUE(vesk::scene::GameRaster::coins.empty());
    EXPECT_EQ(theCat, nullptr);
    EXPECT_EQ(coinField, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
