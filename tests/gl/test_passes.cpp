// The shadow, sky and lit passes over the real world: what they count, what
// culling removes, and what the player sees under the cat.
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/globals.h"
#include "gpu/shader.h"
#include "play/frame_update.h"
#include "play/input.h"
#include "render/passes.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "tests/gl/game_world.h"
#include "tests/gl/gl_context.h"

using vesk::scene::GameRaster;

namespace {

class Passes : public GameWorldTest {
protected:
    void SetUp() override {
        frustumCullingEnabled = false;
        transparency = 1.0f;
        lightPower = 1500.0f;
        ::testing::internal::CaptureStdout();
        resetGame();  // cat at the start, a fresh layout of 22 coins
        ::testing::internal::GetCapturedStdout();
        catPosition = glm::vec3(theCat->modelMatrix[3]);
    }

    void TearDown() override {
        frustumCullingEnabled = false;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Camera behind the cat looking along the two angles, as the frame update places it.
    static void look(float horizontal, float vertical) {
        horizontalAngle = horizontal;
        verticalAngle = vertical;
        updateCameraBasis();
        updateScene(0.0);
        updateScene(0.0);  // the light follows the copied cat position one frame late
    }

    // The drawing of one normal frame, with the state the main loop sets.
    static void render() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderShadowMap();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        renderSkyBox();
        glUseProgram(sceneShader->programHandle);
        renderScene();
    }

    // Mean grey level of the 5x5 window pixels around where `world` appears.
    static float brightnessAt(glm::vec3 world) {
        const glm::vec4 clip = projectionMatrix * viewMatrix * glm::vec4(world, 1.0f);
        const int px = int((clip.x / clip.w * 0.5f + 0.5f) * screenWidth);
        const int py = int((clip.y / clip.w * 0.5f + 0.5f) * screenHeight);
        const auto pixels = readPixels(px - 2, py - 2, 5, 5);
        float sum = 0.0f;
        for (size_t i = 0; i < pixels.size(); i += 4) sum += (pixels[i] + pixels[i + 1] + pixels[i + 2]) / 3.0f;
        return sum / 25.0f;
    }
};

TEST_F(Passes, WithoutCullingEveryObjectIsCountedFromTwo) {
    look(3.14159f, 0.0f);
    render();
    EXPECT_EQ(drawnObjectCount, 22 + int(GameRaster::coins.size()));
    EXPECT_EQ(GameRaster::coins.size(), 22u);

    GameRaster::coins.back()->modelMatrix[3] = glm::vec4(catPosition, 1.0f);
    coinField->collect(catPosition.x, catPosition.y, catPosition.z);
    render();
    EXPECT_EQ(drawnObjectCount, 22 + int(GameRaster::coins.size()));
    EXPECT_EQ(GameRaster::coins.size(), 21u);
}

TEST_F(Passes, CullingLowersTheCountWhenTheCameraLooksAway) {
    frustumCullingEnabled = true;
    look(3.14159f, 0.0f);
    render();
    const int lookingAhead = drawnObjectCount;
    EXPECT_GT(lookingAhead, 2);

    look(0.0f, 0.0f);  // back towards the start: every slab is behind the camera
    render();
    const int lookingBack = drawnObjectCount;
    EXPECT_LT(lookingBack, lookingAhead);
    EXPECT_LE(lookingBack, 2 + 2 + int(GameRaster::coins.size()) - 1)
        << "at most the house row, the corridor and the coins not right behind the cat remain";

    frustumCullingEnabled = false;
    render();
    EXPECT_EQ(drawnObjectCount, 22 + int(GameRaster::coins.size())) << "turning culling off counts all again";
}

TEST_F(Passes, ShadowPassPublishesTheLightsViewProjectionAboveTheCat) {
    look(3.14159f, 0.0f);
    render();
    EXPECT_EQ(lightPosition, glm::vec3(0.0f, 35.0f, -197.0f));
    const glm::mat4 expected =
        projectionMatrix * glm::lookAt(lightPosition, lightPosition + glm::vec3(0, -1, 0), glm::vec3(0, 0, -1));
    EXPECT_EQ(depthViewProjection, expected);
    // The cat, 30 below and 3 ahead (-z is up in the light's image), lands
    // just above the middle of the shadow map.
    const glm::vec4 clip = depthViewProjection * glm::vec4(0.0f, 5.0f, -200.0f, 1.0f);
    EXPECT_NEAR(clip.x / clip.w, 0.0f, 1e-5f);
    EXPECT_NEAR(clip.y / clip.w, 0.1f, 1e-5f);
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(Passes, FloorUnderTheCatIsDarkerThanBesideItsShadow) {
    coinField->clear();  // nothing else on the floor near the cat
    look(3.14159f, -0.8f);
    render();
    // Light (0, 35, -197) through the cat (0, 5, -200) meets the floor
    // (y -4.5) at z -200.95; the shadow is about 1.2 wide there.
    const float underCat = brightnessAt({0.0f, -4.5f, -200.95f});
    const float beside = brightnessAt({4.0f, -4.5f, -200.95f});
    EXPECT_LT(underCat, 0.6f * beside) << "shadow " << underCat << ", lit floor " << beside;
    EXPECT_GT(underCat, 5.0f) << "ambient light keeps the shadow from going black";
}

TEST_F(Passes, SkyShowsTheStarsBehindTheStreet) {
    look(3.14159f, 0.6f);  // looking up past the walls
    render();
    const auto pixels = readPixels(0, screenHeight - 40, screenWidth, 40);
    int lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) lit += pixels[i] + pixels[i + 1] + pixels[i + 2] > 30;
    EXPECT_GT(lit, 0) << "the upper part of the view is not empty";
}

}  // namespace
