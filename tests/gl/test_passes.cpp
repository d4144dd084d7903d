// The frame's passes on a real context: the real world's lit scene, shadows
// and sky, the motion blur, the HUD text, the particles, the render targets
// and the wireframe key.
#include <gtest/gtest.h>

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>
#include <random>

#include "app/frame.h"
#include "app/globals.h"
#include "app/hotkeys.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "play/course.h"
#include "play/frame_update.h"
#include "play/hud.h"
#include "play/input.h"
#include "play/text2d.h"
#include "render/motion_blur.h"
#include "render/particles.h"
#include "render/passes.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/level.h"
#include "tests/gl/world.h"
#include "tests/support/gl_window.h"
#include "tests/support/scripted_platform.h"

using vesk::scene::GameRaster;

namespace {

class Passes : public GameWorldTest {
protected:
    ScriptedPlatform platform;  // a still clock: the HUD shows the same time in every frame

    void SetUp() override {
        frustumCullingEnabled = false;
        transparency = 1.0f;
        deltaTime = 0.0f;  // no particles are born or move
        resetParticlePool();
        QuietConsole quiet;
        resetGame();  // cat at the start, a fresh layout of 22 coins
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
};

TEST_F(Passes, TheLitPassDrawsEveryObjectWholeAndCountsWhatCullingLeaves) {
    look(courseStartYaw, 0.0f);
    const GLuint triangles = trianglesDrawnBy(renderFrame);
    size_t meshes = 2 * (theCat->indices.size() + catChildA->indices.size() + catChildB->indices.size() +
                         corridorObject->indices.size() + houseRow->indices.size() +
                         22 * coinObject->indices.size() + 18 * grids[0]->indices.size()) +
                    coinObject->indices.size() + skyBox->indices.size();  // shadow and lit pass, sky
    EXPECT_LE(meshes / 3, triangles) << "the HUD's quads come on top";
    EXPECT_EQ(drawnObjectCount, 22 + 22) << "22 objects besides the coins, the sky not counted";

    const glm::vec3 cat(theCat->modelMatrix[3]);
    GameRaster::coins.back()->modelMatrix[3] = glm::vec4(cat, 1.0f);
    QuietConsole quiet;
    coinField->collect(cat, cat);
    renderFrame();
    EXPECT_EQ(drawnObjectCount, 22 + 21) << "a collected coin is no longer drawn";

    frustumCullingEnabled = true;
    renderFrame();
    const int lookingAhead = drawnObjectCount;
    EXPECT_GT(lookingAhead, 2);
    look(0.0f, 0.0f);  // back towards the start: every slab is behind the camera
    renderFrame();
    EXPECT_LT(drawnObjectCount, lookingAhead);
    EXPECT_LE(drawnObjectCount, 2 + 2 + 21 - 1) << "at most the house row, the corridor and the coins not behind the cat";
}

TEST_F(Passes, TheFloorIsDarkUnderTheCatsShadowAndEvenlyLitBesideIt) {
    coinField->clear();  // nothing else on the floor near the cat
    look(courseStartYaw, -0.8f);
    EXPECT_EQ(lightPosition, courseStart + glm::vec3(0.0f, 30.0f, 3.0f));
    // Light (0, 35, -197) through the cat (0, 5, -200) meets the floor at z -200.95.
    const glm::mat4 camera = projectionMatrix * viewMatrix;
    const glm::vec3 shadow(0.0f, streetFloorY, -200.95f);
    auto render = [&](bool withShadows) {
        renderShadowMap();
        if (!withShadows) {  // nothing in the shadow map: every point lit
            glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
            glClear(GL_DEPTH_BUFFER_BIT);
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setFrameState();
        drawFrameContent(FramePath::normal);
        std::vector<float> floor;  // the shadow's centre, then a grid of floor points around it
        floor.push_back(brightnessAround(camera, shadow, 2));
        for (float x = -8.0f; x <= 8.0f; x += 2.0f)
            for (float z = -196.0f; z >= -206.0f; z -= 2.5f)
                if (std::fabs(x) > 2.0f) floor.push_back(brightnessAround(camera, {x, streetFloorY, z}, 1));
        return floor;
    };
    const std::vector<float> shadowed = render(true), lit = render(false);
    EXPECT_LT(shadowed[0], 0.6f * lit[0]) << "shadow " << shadowed[0] << ", lit floor " << lit[0];
    EXPECT_GT(shadowed[0], 5.0f) << "ambient light keeps the shadow from going black";
    for (size_t i = 1; i < lit.size(); ++i) EXPECT_NEAR(shadowed[i], lit[i], 3.0f) << "shadow acne at point " << i;
}

TEST_F(Passes, SkyDrawnAfterTheOpaqueSceneLeavesTheSameImageAsDrawnFirst) {
    ASSERT_TRUE(skyAfterScene());
    for (const float vertical : {0.0f, 0.6f}) {  // along the street, and up past the walls
        look(courseStartYaw, vertical);
        renderFrame();
        const auto skyLast = readPixels(0, 0, screenWidth, screenHeight);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderSkyBox();
        glUseProgram(sceneShader->programHandle);
        renderScene();
        drawHud();
        EXPECT_TRUE(skyLast == readPixels(0, 0, screenWidth, screenHeight)) << "looking up by " << vertical;
    }
    transparency = 0.5f;
    EXPECT_FALSE(skyAfterScene()) << "a see-through street needs the stars behind it first";
}

// Stars: bright pixels of an RGBA image whose four neighbours are all dark.
int starsIn(const std::vector<unsigned char>& rgba, int width, int height) {
    auto grey = [&](int x, int y) { return (rgba[4 * (y * width + x)] + rgba[4 * (y * width + x) + 1] + rgba[4 * (y * width + x) + 2]) / 3; };
    int stars = 0;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x)
            stars += grey(x, y) > 100 && std::max({grey(x - 1, y), grey(x + 1, y), grey(x, y - 1), grey(x, y + 1)}) < 50;
    return stars;
}

TEST_F(Passes, StarsShowLookingUpSidewaysAndBackFromAnywhereOnTheCourse) {
    mipmapFilter = GL_LINEAR;  // no mip-maps: a star stays a bright point even in this small window
    const std::pair<float, float> views[] = {{courseStartYaw, 1.5f},          // straight up
                                             {courseStartYaw + 1.57f, 0.5f},  // left and up over the houses
                                             {courseStartYaw - 1.57f, 0.5f},  // right
                                             {0.0f, 0.3f}};                   // back towards the start
    for (const float z : {-200.0f, -380.0f, -545.0f})
        for (const auto& [yaw, pitch] : views) {
            SCOPED_TRACE(testing::Message() << "at z " << z << ", yaw " << yaw << ", pitch " << pitch);
            theCat->modelMatrix[3] = glm::vec4(0.0f, 5.0f, z, 1.0f);
            look(yaw, pitch);
            renderFrame();
            // The upper half: sky between the houses, or beyond them.
            EXPECT_GT(starsIn(readPixels(0, screenHeight / 2, screenWidth, screenHeight / 2), screenWidth, screenHeight / 2), 20);
        }
    mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
}

// The blur half of the motion-blur pass: a known frame is put into the blur
// target and drawn through the blur quad.
class MotionBlur : public ::testing::Test {
protected:
    static constexpr int side = 256;   // the test window
    std::vector<unsigned char> frame;  // the known image, RGB, bottom row first
    const glm::vec3 eye{0.0f, 5.0f, -190.0f};

    void SetUp() override {
        createBlurTarget();
        blurShader = new Shader("Shader/blurShader.vert", "Shader/blurShader.frag");
        projectionMatrix = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
        viewMatrix = lookAtFrom(eye);
        deltaTime = 1.0f / 60.0f;
        // Noise, so any smear shows; the scene about 10 units away, the sky at
        // the far plane in the top rows, HUD text at depth 0 bottom-left.
        std::mt19937 random(5);
        frame.resize(side * side * 3);
        for (unsigned char& c : frame) c = static_cast<unsigned char>(random() & 0xff);
        std::vector<float> depth(side * side, 0.99f);
        for (int i = 0; i < side * side; ++i) depth[i] = i >= side * (side - 20) ? 1.0f : i % side < 40 && i < 20 * side ? 0.0f : 0.99f;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, blurDepthTexture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, side, side, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
    }
    void TearDown() override {
        delete blurShader;
        blurShader = nullptr;
        releaseRenderTargets();
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }

    static glm::mat4 lookAtFrom(glm::vec3 at) { return glm::lookAt(at, at + glm::vec3(0, 0, -1), glm::vec3(0, 1, 0)); }

    // Which pixels of the window differ from the known frame, after the
    // camera moved here from `previous`.
    std::vector<bool> changedPixels(glm::vec3 previous) {
        glBindTexture(GL_TEXTURE_2D, blurColorTexture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, side, side, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        previousViewProjection = projectionMatrix * lookAtFrom(previous);
        drawBlurredFrame();
        const std::vector<unsigned char> shown = readPixels(0, 0, side, side);
        std::vector<bool> changed(side * side);
        for (int i = 0; i < side * side; ++i)
            changed[i] = !std::equal(&frame[3 * i], &frame[3 * i + 3], &shown[4 * i]);
        return changed;
    }
};

TEST_F(MotionBlur, SprintingSmearsTheEdgesAndKeepsTheCentreAndTheHudSharp) {
    std::vector<bool> changed = changedPixels(eye);
    EXPECT_EQ(0, std::count(changed.begin(), changed.end(), true)) << "a still camera changes nothing";
    changed = changedPixels(eye + glm::vec3(0.0f, 0.0f, 0.5f));  // 30 units/s at 60 Hz
    auto count = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += changed[y * side + x];
        return n;
    };
    EXPECT_EQ(0, count(118, 118, 138, 138)) << "centre";
    EXPECT_GT(count(226, 60, 256, 200), 30 * 140 * 3 / 4) << "right edge";
    EXPECT_GT(count(0, 60, 30, 200), 30 * 140 * 3 / 4) << "left edge";
    EXPECT_EQ(0, count(0, 0, 40, 20)) << "HUD text";

    // A plain grey scene: the scene slides towards the white HUD corner, and
    // any smear of the HUD back over it would show.
    for (int i = 0; i < side * side; ++i) std::fill_n(&frame[3 * i], 3, i % side < 40 && i < 20 * side ? 255 : 90);
    changed = changedPixels(eye + glm::vec3(0.5f, 0.5f, 0.0f));
    EXPECT_EQ(0, std::count(changed.begin(), changed.end(), true)) << "the HUD left a trail";
}

TEST(HudText, GlyphsLandWhereTheHudPutsThemOverTheSceneAndBlankCellsLeaveNoTrace) {
    Shader shader("Shader/normalsText2D.vert", "Shader/normalsText2D.frag");
    Text2D text;
    // A 16 x 16-cell atlas of 8-pixel cells, black but for the white cell of 'A'.
    std::vector<unsigned char> rgb(128 * 128 * 3, 0);
    for (int y = 0; y < 8; ++y) std::fill_n(&rgb[((11 * 8 + y) * 128 + 8) * 3], 24, 255);  // column 1, row 4 from the top
    GLuint atlas = 0;
    glGenTextures(1, &atlas);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 128, 128, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glUseProgram(shader.programHandle);
    glUniform1i(glGetUniformLocation(shader.programHandle, "myTextureSampler"), 0);
    // Red at HUD position (x, y) of the 256 x 256 window: 800 x 600 units.
    auto redAt = [](float x, float y) { return readPixels(int(x * 256 / 800), int(y * 256 / 600), 1, 1)[0]; };

    glClearDepth(0.0001);  // the scene has written depth almost at the near plane everywhere
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    text.drawText("BA", 400, 300, 100);
    // "B" is a black cell: nothing drawn. "A" covers x 500..600, y 300..400.
    EXPECT_EQ(0, redAt(450, 350));
    EXPECT_GT(redAt(550, 350), 200);
    EXPECT_EQ(0, redAt(550, 420));
    EXPECT_EQ(0, redAt(650, 350));
    float depth = 0.0f;
    glReadPixels(450 * 256 / 800, 350 * 256 / 600, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(0.0001f, depth, 1e-6f) << "an empty cell wrote depth";
    text.drawText("A", 0, 0, 30);
    text.drawText("A", 700, 300, 30);  // the far end of the longest status line, above the score lines
    EXPECT_GT(redAt(15, 15), 200);
    EXPECT_GT(redAt(715, 315), 200);
    EXPECT_EQ(0, redAt(15, 585));
    glDeleteTextures(1, &atlas);
    glUseProgram(0);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(ParticleRender, UploadsTheLiveOnesIntoFullSizedBuffersAndDrawsAnOrangeGlow) {
    initParticles();
    particleShader = new Shader("Shader/ParticleShader.vert", "Shader/ParticleShader.frag");
    coinTexture = new Texture("Textur/coin.jpg");
    cameraPosition = glm::vec3(0.0f, 5.0f, -190.0f);
    viewMatrix = glm::lookAt(cameraPosition, cameraPosition + glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
    projectionMatrix = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::srand(1);
    spawnParticles(20, {0.0f, 5.0f, -192.0f});
    const int count = stepParticles(0.001f, cameraPosition, particlePositionSizeData, particleColorData);
    uploadParticles(count);
    std::vector<float> uploaded(4 * count);
    GLint bytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, particlePositionBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, uploaded.size() * sizeof(float), uploaded.data());
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    EXPECT_TRUE(std::equal(uploaded.begin(), uploaded.end(), particlePositionSizeData));
    EXPECT_EQ(maxParticles * 16, bytes) << "room for a whole pool every frame";

    renderParticles(count);
    const std::vector<unsigned char> centre = readPixels(128, 128, 1, 1);
    EXPECT_GT(centre[0], 40);  // warm: red over green over blue
    EXPECT_GT(centre[0], centre[1]);
    EXPECT_GT(centre[1], centre[2]);
    EXPECT_EQ(0, readPixels(5, 250, 1, 1)[0]) << "a corner far from the trail";

    releaseParticles();
    delete particleShader;
    delete coinTexture;
    particleShader = nullptr;
    coinTexture = nullptr;
    glVertexAttribDivisor(1, 0);  // later tests draw without instancing
    glVertexAttribDivisor(2, 0);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(RenderTargets, BothAreWindowSizedOnlyTheShadowMapComparesAndAnIncompleteOneIsReported) {
    auto create = [](int width, int height) {
        screenWidth = width;
        screenHeight = height;
        ::testing::internal::CaptureStderr();
        createShadowMapTarget();
        createBlurTarget();
        return ::testing::internal::GetCapturedStderr();
    };
    // Level 0's size and the compare mode, as "W x H, compare M".
    auto describe = [](GLuint texture) {
        GLint width = 0, height = 0, compare = -1;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compare);
        return std::to_string(width) + " x " + std::to_string(height) + ", compare " + std::to_string(compare);
    };
    EXPECT_EQ(create(200, 120), "") << "a complete set-up reports nothing";
    EXPECT_EQ(describe(shadowMapTexture), "200 x 120, compare " + std::to_string(GL_COMPARE_REF_TO_TEXTURE));
    EXPECT_EQ(describe(blurColorTexture), "200 x 120, compare 0");
    EXPECT_EQ(describe(blurDepthTexture), "200 x 120, compare 0") << "the blur reads plain depth";
    releaseRenderTargets();
    // A zero-sized attachment can never be complete.
    EXPECT_EQ(create(0, 0), "GL: Framebuffer object is not complete.\nGL: Framebuffer object is not complete.\n");
    const GLuint framebuffer = blurFramebuffer;
    releaseRenderTargets();
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    screenWidth = screenHeight = 256;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(WireframeKey, F3PressesToggleLinesAndFillForBothFaces) {
    wireframeEnabled = false;
    auto modes = [] {
        GLint front_back[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, front_back);
        return std::make_pair(front_back[0], front_back[1]);
    };
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_PRESS, 0);
    EXPECT_EQ(modes(), std::make_pair(GL_LINE, GL_LINE));
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_RELEASE, 0);
    EXPECT_EQ(modes(), std::make_pair(GL_LINE, GL_LINE)) << "only presses switch";
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_PRESS, 0);
    EXPECT_EQ(modes(), std::make_pair(GL_FILL, GL_FILL));
}

}  // namespace
