// The shadow, sky and lit passes over the real world: what they count, what
// culling removes, and what the player sees under the cat.
#include <gtest/gtest.h>

#include "app/frame.h"
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
        setFrameState();
        const bool skyLast = skyAfterScene();
        if (!skyLast) renderSkyBox();
        glUseProgram(sceneShader->programHandle);
        renderScene();
        if (skyLast) renderSkyBox();
    }
};

TEST_F(Passes, DrawnObjectCountTakesEveryObjectWithoutCullingAndFewerLookingAway) {
    look(3.14159f, 0.0f);
    render();
    EXPECT_EQ(drawnObjectCount, 22 + 22) << "22 objects besides the coins, the sky not counted";
    const glm::vec3 cat(theCat->modelMatrix[3]);
    GameRaster::coins.back()->modelMatrix[3] = glm::vec4(cat, 1.0f);
    coinField->collect(cat.x, cat.y, cat.z);
    render();
    EXPECT_EQ(drawnObjectCount, 22 + 21) << "a collected coin is no longer drawn";

    frustumCullingEnabled = true;
    render();
    const int lookingAhead = drawnObjectCount;
    EXPECT_GT(lookingAhead, 2);
    look(0.0f, 0.0f);  // back towards the start: every slab is behind the camera
    render();
    EXPECT_LT(drawnObjectCount, lookingAhead);
    EXPECT_LE(drawnObjectCount, 2 + 2 + 21 - 1)
        << "at most the house row, the corridor and the coins not right behind the cat remain";
    frustumCullingEnabled = false;
    render();
    EXPECT_EQ(drawnObjectCount, 22 + 21) << "turning culling off counts all again";
}

TEST_F(Passes, TheLightLooksDownOnTheCatAndTheFloorUnderItIsDarkerThanBesideItsShadow) {
    coinField->clear();  // nothing else on the floor near the cat
    look(3.14159f, -0.8f);
    render();
    EXPECT_EQ(lightPosition, glm::vec3(0.0f, 35.0f, -197.0f));
    // The cat, 30 below and 3 ahead (-z is up in the light's image), lands
    // just above the middle of the shadow map.
    const glm::vec4 clip = depthViewProjection * glm::vec4(0.0f, 5.0f, -200.0f, 1.0f);
    EXPECT_NEAR(clip.x / clip.w, 0.0f, 1e-5f);
    EXPECT_NEAR(clip.y / clip.w, 0.1f, 1e-5f);
    // Light (0, 35, -197) through the cat (0, 5, -200) meets the floor
    // (y -4.5) at z -200.95; the shadow is about 1.2 wide there.
    const glm::mat4 camera = projectionMatrix * viewMatrix;
    const float underCat = brightnessAround(camera, {0.0f, -4.5f, -200.95f}, 2);
    const float beside = brightnessAround(camera, {4.0f, -4.5f, -200.95f}, 2);
    EXPECT_LT(underCat, 0.6f * beside) << "shadow " << underCat << ", lit floor " << beside;
    EXPECT_GT(underCat, 5.0f) << "ambient light keeps the shadow from going black";
}

TEST_F(Passes, SkyDrawnAfterTheOpaqueSceneLeavesTheSameImageAsDrawnFirst) {
    ASSERT_TRUE(skyAfterScene());
    for (const float vertical : {0.0f, 0.6f}) {  // along the street, and up past the walls
        look(3.14159f, vertical);
        render();
        const auto skyLast = readPixels(0, 0, screenWidth, screenHeight);

        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderSkyBox();
        glUseProgram(sceneShader->programHandle);
        renderScene();
        const auto skyFirst = readPixels(0, 0, screenWidth, screenHeight);
        EXPECT_TRUE(skyLast == skyFirst) << "looking up by " << vertical;
    }
    transparency = 0.5f;
    EXPECT_FALSE(skyAfterScene()) << "a see-through street needs the stars behind it first";
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
