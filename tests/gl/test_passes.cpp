// The frame's passes on a real context: the world's lit scene, shadows and
// sky, the motion blur, the HUD text, the particles, the render targets and
// the wireframe key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>

#include "app/frame.h"
#include "app/hotkeys.h"
#include "app/screenshot.h"
#include "base/debug_view.h"
#include "gpu/timer_queries.h"
#include "play/settings_screen.h"
#include "base/course.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "play/frame_update.h"
#include "play/ghost.h"
#include "play/hud.h"
#include "play/input.h"
#include "render/text2d.h"
#include "render/motion_blur.h"
#include "render/light_reach.h"
#include "render/particles.h"
#include "render/passes.h"
#include "render/quality.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/culling.h"
#include "scene/level.h"
#include "tests/gl/world.h"
#include "tests/support/gl_window.h"
#include "base/scripted_platform.h"

namespace {

class Passes : public GameWorldTest {
protected:
    ScriptedPlatform platform;  // a still clock: the HUD shows the same time in every frame

    void SetUp() override {
        frustumCullingEnabled = false;
        deltaTime = 0.0f;  // no particles are born or move
        resetParticlePool();
        QuietConsole quiet;
        resetGame();  // cat at the start, a fresh layout of coins
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

    // Camera behind the cat looking along the two angles, as the frame update places it.
    static void look(float horizontal, float vertical) {
        horizontalAngle = horizontal;
        verticalAngle = vertical;
        updateCameraBasis();
        updateScene(0.0);
        updateScene(0.0);  // the light follows the copied cat position one frame late
    }
};

// A frustum test that lets everything through: with it the passes send
// every object, as they would if they sent what they cannot see.
struct SeesEverything : ViewFrustumCulling {
    bool isSphereVisible(glm::mat4, glm::mat4, glm::mat4, glm::vec3, double) override { return true; }
};

// Runs `draw` with the frustum test swapped for one that lets everything through.
template <typename Draw>
void seeingEverything(Draw draw) {
    SeesEverything everything;
    ViewFrustumCulling* const culler = frustumCuller;
    frustumCuller = &everything;
    draw();
    frustumCuller = culler;
}

TEST_F(Passes, TheLitPassDrawsEveryObjectWholeAndCountsWhatCullingLeaves) {
    look(courseStartYaw, 0.0f);
    const size_t casters = theCat->indices.size() + catChildA->indices.size() + catChildB->indices.size() +
                           corridorObject->indices.size() + houseRow->indices.size() +
                           coinsPerLayout * coinObject->indices.size() + slabCount * grids[0]->indices.size();
    const size_t lit = casters + coinObject->indices.size() + skyBox->indices.size();
    seeingEverything([&] {
        EXPECT_LE((casters + lit) / 3, trianglesDrawnBy(renderFrame)) << "shadow map, sky and lit scene; the HUD on top";
    });
    // The count starts at 2, then the house row, the corridor, the slabs and the coins; the sky is not counted.
    const int besidesCoins = 2 + 2 + slabCount;
    EXPECT_EQ(drawnObjectCount, besidesCoins + coinsPerLayout);
    QuietConsole quiet;
    const glm::vec3 cat(theCat->modelMatrix[3]);
    coinField->coins.back()->modelMatrix[3] = glm::vec4(cat, 1.0f);
    coinField->collect(cat, cat);
    renderFrame();
    EXPECT_EQ(drawnObjectCount, besidesCoins + coinsPerLayout - 1) << "a collected coin is no longer drawn";
    frustumCullingEnabled = true;
    renderFrame();
    const int lookingAhead = drawnObjectCount;
    look(0.0f, 0.0f);  // back towards the start: every slab and coin is behind the camera
    renderFrame();
    EXPECT_LT(drawnObjectCount, lookingAhead);
    EXPECT_EQ(drawnObjectCount, 2 + 2) << "the house row and the corridor";
    frustumCullingEnabled = false;
    renderFrame();
    EXPECT_EQ(drawnObjectCount, besidesCoins + coinsPerLayout - 1) << "turning culling off counts all again";
}

// What a pass cannot see is not sent to it: the coins and slabs beyond the
// camera's view or the light's. The picture, HUD count included, is the one
// sending everything gives, at full quality and with the kinds batched below.
TEST_F(Passes, WhatAPassCannotSeeIsNotSentAndThePictureStaysTheSame) {
    const std::pair<float, float> views[] = {{courseStartYaw, 0.0f}, {0.0f, 0.0f}, {courseStartYaw + 1.2f, 0.4f}};
    for (const QualityLevel level : {QualityLevel::full, QualityLevel::low}) {
        qualityLevel = level;
        GLuint sentInAll = 0, everythingInAll = 0;
        for (const auto& [yaw, pitch] : views) {
            SCOPED_TRACE(testing::Message() << qualityName(level) << ", yaw " << yaw << ", pitch " << pitch);
            look(yaw, pitch);
            GLuint everything = 0;
            seeingEverything([&] { everything = trianglesDrawnBy(renderFrame); });
            const std::vector<unsigned char> whole = readPixels(0, 0, screenWidth, screenHeight);
            const GLuint sent = trianglesDrawnBy(renderFrame);
            EXPECT_TRUE(whole == readPixels(0, 0, screenWidth, screenHeight));
            sentInAll += sent;
            everythingInAll += everything;
        }
        EXPECT_LT(sentInAll, everythingInAll * 9 / 10) << qualityName(level);
    }
    qualityLevel = QualityLevel::full;
}

// The houses and the sky behind the street's floor and walls are clipped
// away before they are rasterised, which is what a renderer without early
// depth rejection pays for: with see-through walls, which hide nothing, far
// more of them is drawn. The sky is counted alone, without the street in
// front; the houses go before the street in the lit pass anyway.
TEST_F(Passes, TheHousesAndSkyTheStreetHidesAreNotRasterised) {
    look(courseStartYaw, 0.0f);
    const auto samplesOf = [](auto pass) {
        return countedBy(GL_SAMPLES_PASSED, [&] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            pass();
        });
    };
    const auto sky = [] { renderSkyBox(); };
    const auto scene = [] {
        glUseProgram(sceneShader->programHandle);
        renderScene();
    };
    const GLuint64 skyOpaque = samplesOf(sky), sceneOpaque = samplesOf(scene);
    transparency = 0.5f;
    const GLuint64 skySeeThrough = samplesOf(sky), sceneSeeThrough = samplesOf(scene);
    transparency = 1.0f;
    const GLuint64 window = skySeeThrough;  // the sky alone fills the window
    EXPECT_LT(skyOpaque, window * 6 / 10) << "the sky below the street's far end";
    EXPECT_GT(sceneSeeThrough - sceneOpaque, window / 4) << "the houses' storeys behind the walls";
}

// The window has one sample a pixel; every level draws its 3D content with
// four, into a target of the level's size: the sky, which alone fills the
// picture while nothing clips it, passes four samples for each of its pixels.
TEST_F(Passes, EveryLevelDrawsItsSceneWithFourSamplesAPixelInAWindowOfOne) {
    GLint windowSamples = -1;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glGetIntegerv(GL_SAMPLES, &windowSamples);
    EXPECT_EQ(windowSamples, 0);
    look(courseStartYaw, 0.0f);
    transparency = 0.5f;
    for (const QualityLevel level : {QualityLevel::full, QualityLevel::balanced, QualityLevel::low}) {
        applyQualityLevel(level);
        startSceneTarget();
        const GLuint64 pixels = GLuint64(blurTargetSize.width) * GLuint64(blurTargetSize.height);
        EXPECT_EQ(countedBy(GL_SAMPLES_PASSED, renderSkyBox), 4 * pixels) << qualityName(level);
        const QualityParameters own = qualityParameters(level);
        EXPECT_EQ(level == QualityLevel::full, own.sceneScale == 1.0f) << qualityName(level);
        EXPECT_NEAR(blurTargetSize.width, screenWidth * own.sceneScale, 1.0) << qualityName(level) << ": its scene's size";
        EXPECT_EQ(shadowMapSize.width, screenWidth / own.shadowDivisor) << qualityName(level);
    }
    transparency = 1.0f;
    applyQualityLevel(QualityLevel::full);
    bindWindowTarget();
}

// At full the scene is the window's picture pixel for pixel, so a resized
// window has its scene follow at the next frame; below full the scene keeps
// the level's share of the game's picture, whatever the window.
TEST_F(Passes, AtFullTheSceneFollowsTheResizedWindowAndBelowItTheLevelsShare) {
    const Viewport before = windowViewport;
    windowViewport = {20, 0, 200, 175};  // as a wider window of another size centres the picture
    for (const QualityLevel level : {QualityLevel::full, QualityLevel::balanced}) {
        qualityLevel = level;
        renderFrame();
        const float share = qualityParameters(level).sceneScale;
        const PixelSize expected = level == QualityLevel::full ? PixelSize{200, 175}
                                                               : PixelSize{int(screenWidth * share), int(screenHeight * share)};
        EXPECT_EQ(std::make_pair(blurTargetSize.width, blurTargetSize.height), std::make_pair(expected.width, expected.height))
            << qualityName(level);
    }
    windowViewport = before;
    qualityLevel = QualityLevel::full;
    renderFrame();
}

TEST_F(Passes, TheFloorIsDarkUnderTheCatsShadowAndEvenlyLitBesideIt) {
    coinField->clear();  // nothing else on the floor near the cat
    look(courseStartYaw, -0.8f);
    EXPECT_EQ(lightPosition, courseStart + glm::vec3(0.0f, 30.0f, 3.0f));
    const glm::mat4 camera = projectionMatrix * viewMatrix;
    // The shadow's centre, where light (0, 35, -197) through the cat meets the
    // floor, then floor points around it, with or without anything in the shadow map.
    auto floor = [&](bool shadows) {
        renderShadowMap();
        glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
        if (!shadows) glClear(GL_DEPTH_BUFFER_BIT);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setFrameState();
        drawFrameContent();
        std::vector<float> seen{brightnessAround(camera, {0.0f, streetFloorY, -200.95f}, 2)};
        for (float x = -8.0f; x <= 8.0f; x += 4.0f)
            for (float z = -196.0f; z >= -206.0f; z -= 2.5f)
                if (x != 0.0f) seen.push_back(brightnessAround(camera, {x, streetFloorY, z}, 1));
        return seen;
    };
    const std::vector<float> shadowed = floor(true), lit = floor(false);
    EXPECT_LT(shadowed[0], 0.6f * lit[0]) << "shadow " << shadowed[0] << ", lit floor " << lit[0];
    EXPECT_GT(shadowed[0], 5.0f) << "ambient light keeps the shadow from going black";
    for (size_t i = 1; i < lit.size(); ++i) EXPECT_NEAR(shadowed[i], lit[i], 3.0f) << "shadow acne at point " << i;
}

// The street and the house row go in runs of triangles, and the runs beyond
// the light's reach are drawn by the program without shadow lookups: the
// picture must be the one the shadowed program alone gives, looking down at
// the cat's shadow and down the street, solid and see-through (the runs keep
// the triangles' order, so the blend is the same too).
TEST_F(Passes, WhatLiesBeyondTheLightsReachLooksAsItDoesShadowed) {
    for (const auto& [pitch, seeThrough] : {std::pair{-0.8f, 1.0f}, {-0.1f, 1.0f}, {-0.1f, 0.5f}}) {
        transparency = seeThrough;
        look(courseStartYaw, pitch);
        const LightsView light{lightPosition, projectionMatrix[1][1], shadowMapSize.height};
        int within = 0, beyond = 0;
        using Meshes = std::initializer_list<const vesk::scene::MeshObject*>;
        for (const auto* mesh : Meshes{corridorObject, houseRow})
            for (const TriangleRun& run : runsByReach(mesh->triangleSpans, light)) (run.inReach ? within : beyond) += run.count;
        EXPECT_GT(within, 0);
        EXPECT_GT(beyond, within) << "most of the street lies beyond the light's reach";

        renderFrame();
        const std::vector<unsigned char> split = readPixels(0, 0, screenWidth, screenHeight);
        Shader* const unshadowed = unshadowedSceneShader;
        unshadowedSceneShader = sceneShader;
        renderFrame();
        unshadowedSceneShader = unshadowed;
        const std::vector<unsigned char> shadowed = readPixels(0, 0, screenWidth, screenHeight);
        int largest = 0;
        for (size_t i = 0; i < split.size(); ++i) largest = std::max(largest, std::abs(split[i] - shadowed[i]));
        EXPECT_LE(largest, 1) << "largest difference of a colour channel, pitch " << pitch << ", transparency "
                              << seeThrough;
    }
    transparency = 1.0f;
}

// A point light: what it adds to a surface grows with its power and falls
// with the square of the distance and with the cosine of the angle it comes
// in at. Two floor spots are compared, each against its own ambient-only
// colour, so their textures drop out: one beside the cat under the light,
// one out beyond the light's shadow map, where nothing can shadow it.
TEST_F(Passes, TheLightOnTheFloorGrowsWithItsPowerAndFallsWithDistanceSquared) {
    coinField->clear();
    look(courseStartYaw, -0.8f);
    const glm::vec3 near(6.0f, streetFloorY, -205.0f), far(8.0f, streetFloorY, -238.0f);
    auto colourAt = [&](glm::vec3 spot, float power) {
        lightPower = power;
        renderFrame();
        const glm::vec4 clip = projectionMatrix * viewMatrix * glm::vec4(spot, 1.0f);
        const int x = int((clip.x / clip.w * 0.5f + 0.5f) * screenWidth), y = int((clip.y / clip.w * 0.5f + 0.5f) * screenHeight);
        const std::vector<unsigned char> rgba = readPixels(x - 1, y - 1, 3, 3);
        glm::vec3 sum(0.0f);
        for (size_t i = 0; i < rgba.size(); i += 4) sum += glm::vec3(rgba[i], rgba[i + 1], rgba[i + 2]);
        return sum / 9.0f;
    };
    // The light's share of a spot's brightness, against the ambient light alone.
    auto lightOn = [&](glm::vec3 spot, float power) {
        const glm::vec3 ambient = colourAt(spot, 0.0f), lit = colourAt(spot, power);
        return (lit - ambient) / ambient;
    };
    auto falloff = [&](glm::vec3 spot) {
        const glm::vec3 toLight = lightPosition - spot;
        return toLight.y / glm::length(toLight) / glm::dot(toLight, toLight);  // cosine / distance^2
    };
    const glm::vec3 nearFull = lightOn(near, 1500.0f), nearHalf = lightOn(near, 750.0f), farFull = lightOn(far, 1500.0f);
    lightPower = 1500.0f;
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(testing::Message() << "channel " << c);
        EXPECT_NEAR(nearFull[c] / nearHalf[c], 2.0f, 0.1f) << "twice the power, twice the light";
        EXPECT_NEAR(nearFull[c] / farFull[c], falloff(near) / falloff(far), 0.07f * falloff(near) / falloff(far));
        // The game's light power lights the street beside the cat well, short of washing it out.
        EXPECT_TRUE(nearFull[c] > 1.5f && nearFull[c] < 4.0f) << nearFull[c];
    }
}

// The ghost of the best run: a pale blue cat where its way leads at the
// run's time, see-through, not counted among the objects drawn; none while
// the ghost is off.
TEST_F(Passes, TheGhostOfTheBestRunIsDrawnPaleBlueWhereItsWayLeads) {
    look(courseStartYaw, -0.3f);
    Record best;
    best.way.samples = {courseStart, {3.0f, 5.0f, -207.0f}};  // ahead and to the right after 1/30 s
    allTimeBest = best;
    auto ghostly = [](bool enabled) {
        ghostEnabled = enabled;
        followGhost(1.0);
        renderFrame();
        const std::vector<unsigned char> rgba = readPixels(0, 0, screenWidth, screenHeight);
        int pale = 0, right = 0;
        for (size_t i = 0; i < rgba.size(); i += 4) {
            const bool blue = rgba[i + 2] > 120 && rgba[i + 2] > rgba[i] + 40 && rgba[i + 1] > rgba[i] + 20;
            pale += blue;
            right += blue && int(i / 4) % screenWidth > screenWidth / 2;
        }
        return std::make_tuple(pale, right, drawnObjectCount);
    };
    const auto [without, withoutRight, countWithout] = ghostly(false);
    const auto [with, withRight, countWith] = ghostly(true);
    allTimeBest.reset();
    followGhost(0.0);
    EXPECT_LT(without, 5);
    EXPECT_GT(with, 30);
    EXPECT_GT(withRight, with * 9 / 10) << "to the right, where the way leads";
    EXPECT_EQ(countWith, countWithout) << "the ghost is not counted";
    (void)withoutRight;
}

// The particles go straight into mapped stream buffers; without a mapping
// they go through the client arrays, and a mapping that lost its contents
// draws none that frame.
GLvoid* GLAPIENTRY noMapping(GLenum, GLintptr, GLsizeiptr, GLbitfield) { return nullptr; }
PFNGLUNMAPBUFFERPROC realUnmapBuffer = nullptr;
GLboolean GLAPIENTRY unmapLosingContents(GLenum target) {
    realUnmapBuffer(target);
    return GL_FALSE;
}

TEST_F(Passes, TheCatTrailsAGlowOfParticles) {
    look(courseStartYaw, -0.3f);
    // Warm pixels: red over green over blue, like the trail (and the gold cat and coins).
    auto warm = [] {
        renderFrame();
        const std::vector<unsigned char> rgba = readPixels(0, 0, screenWidth, screenHeight);
        int count = 0;
        for (size_t i = 0; i < rgba.size(); i += 4) count += rgba[i] > 100 && rgba[i] > rgba[i + 1] + 30 && rgba[i + 1] > rgba[i + 2];
        return count;
    };
    const int without = warm();
    EXPECT_GT(without, 100) << "the gold cat in the middle";
    const PFNGLMAPBUFFERRANGEPROC realMapBufferRange = glMapBufferRange;
    realUnmapBuffer = glUnmapBuffer;
    const struct {
        const char* buffers;
        PFNGLMAPBUFFERRANGEPROC map;
        PFNGLUNMAPBUFFERPROC unmap;
        bool glows;
    } cases[] = {{"mapped", realMapBufferRange, realUnmapBuffer, true},
                 {"not to be mapped", noMapping, realUnmapBuffer, true},
                 {"losing their contents", realMapBufferRange, unmapLosingContents, false}};
    const std::vector<float> nothing(4 * maxParticles, 0.0f);  // billboards of size 0
    for (const auto& c : cases) {
        resetParticlePool();
        glBindBuffer(GL_ARRAY_BUFFER, particlePositionBuffer);
        glBufferData(GL_ARRAY_BUFFER, nothing.size() * sizeof(float), nothing.data(), GL_STREAM_DRAW);
        glMapBufferRange = c.map;
        glUnmapBuffer = c.unmap;
        deltaTime = 1.0f / 60.0f;  // 160 births a frame at the cat, each frame's step moving them on
        for (int frame = 0; frame < 30; ++frame) renderFrame();
        const int seen = warm();
        glMapBufferRange = realMapBufferRange;
        glUnmapBuffer = realUnmapBuffer;
        if (c.glows) EXPECT_GT(seen, without + 300) << "buffers " << c.buffers;
        else EXPECT_LT(seen, without + 30) << "buffers " << c.buffers;
        EXPECT_EQ(liveParticleCount(), 31 * 160) << "buffers " << c.buffers;
    }
    deltaTime = 0.0f;
}

// Drawn alone over black, the trail glows the orange of embers: far more red
// than green, and hardly any blue but in the sparks' hot cores.
TEST_F(Passes, TheSparksGlowOrange) {
    look(courseStartYaw, -0.3f);
    bindWindowTarget();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    deltaTime = 1.0f / 60.0f;
    for (int frame = 0; frame < 30; ++frame) drawParticles();
    deltaTime = 0.0f;
    glm::dvec3 sum(0.0);
    int lit = 0;
    const std::vector<unsigned char> rgba = readPixels(0, 0, screenWidth, screenHeight);
    for (size_t i = 0; i < rgba.size(); i += 4)
        if (rgba[i] + rgba[i + 1] + rgba[i + 2] > 30) sum += glm::dvec3(rgba[i], rgba[i + 1], rgba[i + 2]), ++lit;
    ASSERT_GT(lit, 300);
    EXPECT_GT(sum.r, 1.6 * sum.g) << "red over green";
    EXPECT_GT(sum.g, 2.5 * sum.b) << "green over blue";
}

// Below full the scene is drawn smaller, with fewer and larger particles, and
// scaled up; the HUD goes on top at the window's own resolution, and the
// simulation underneath is the same at every level.
TEST_F(Passes, LowerQualitiesDrawTheSceneSmallerKeepTheHudSharpAndSimulateAlike) {
    look(courseStartYaw, -0.3f);
    deltaTime = 1.0f / 60.0f;
    struct Seen {
        std::vector<Particle> pool;
        int whiteHud;  // near-white pixels where "Coins: 0" and "Time:" stand
    };
    auto run = [](QualityLevel level) {
        qualityLevel = level;
        resetParticlePool();
        std::srand(7);
        for (int frame = 0; frame < 20; ++frame) renderFrame();
        const std::vector<unsigned char> hud = readPixels(0, 0, screenWidth / 3, screenHeight / 10);
        int white = 0;
        for (size_t i = 0; i < hud.size(); i += 4) white += hud[i] > 200 && hud[i + 1] > 200 && hud[i + 2] > 200;
        std::vector<Particle> pool;
        for (int slot = 0; slot < maxParticles; ++slot) pool.push_back(particleInSlot(slot));
        return Seen{pool, white};
    };
    const Seen full = run(QualityLevel::full);
    EXPECT_EQ(blurTargetSize.width, screenWidth);
    const Seen low = run(QualityLevel::low);
    EXPECT_LE(blurTargetSize.width, screenWidth / 2) << "the scene at most half as wide";
    EXPECT_EQ(shadowMapSize.width, screenWidth / 2);
    EXPECT_TRUE(std::memcmp(full.pool.data(), low.pool.data(), sizeof(Particle) * maxParticles) == 0)
        << "the particles move alike";
    EXPECT_GT(full.whiteHud, 20);
    EXPECT_GT(low.whiteHud, full.whiteHud * 8 / 10) << "the HUD is as sharp";
    run(QualityLevel::full);
    EXPECT_EQ(std::make_pair(blurTargetSize.width, shadowMapSize.width), std::make_pair(screenWidth, screenWidth));
    deltaTime = 0.0f;
}

// The automatic quality watches the frame loop's own frames, measured on
// the wall clock whatever the game's clock says.
TEST_F(Passes, TheAutomaticQualityFollowsTheWallTimeOfTheFrameLoop) {
    chooseQuality(QualitySetting::automatic);
    platform.wallClock = 0.0;
    double lastFrameTime = platform.clock;
    auto frames = [&](int count, double wallSeconds) {
        QuietConsole quiet;  // the first frame's restart lays out coins
        for (int i = 0; i < count; ++i) {
            *platform.wallClock += wallSeconds;
            platform.clock += 1.0 / 60.0;  // the game steps at 60 a second all along
            runFrame(lastFrameTime);
        }
    };
    frames(30, 0.045);  // a second and more at 45 ms a frame
    EXPECT_EQ(qualityLevel, QualityLevel::balanced);
    frames(80, 0.015);
    EXPECT_EQ(qualityLevel, QualityLevel::full);
    platform.wallClock.reset();
    chooseQuality(QualitySetting::full);
}

// A key pressed and let go between two frames counts in the next one,
// however long they take: a tap of W walks the cat for the whole of a long
// frame, and is forgotten after it.
TEST_F(Passes, AKeyTappedBetweenTwoFramesCountsInTheNextOne) {
    QuietConsole quiet;
    double lastFrameTime = platform.clock;
    auto frame = [&](double seconds) {
        platform.clock += seconds;
        runFrame(lastFrameTime);
        return glm::vec3(theCat->modelMatrix[3]);
    };
    frame(1.0 / 60.0);
    const glm::vec3 before = frame(1.0 / 60.0);
    platform.tap(GLFW_KEY_W);
    const glm::vec3 after = frame(0.5);
    EXPECT_NEAR(glm::distance(before, after), walkSpeed * 0.5f, 1e-3f) << "the tap walked half a second";
    EXPECT_EQ(frame(0.5), after) << "and only in the frame after it";
}

// Hidden, the lab overlay issues no query and leaves the picture alone;
// shown, it times the frames and darkens its panel over the top of the
// picture, with its text in it.
TEST_F(Passes, TheLabOverlayCostsNoQueryHiddenAndDrawsItsPanelShown) {
    QuietConsole quiet;
    double lastFrameTime = platform.clock;
    auto frames = [&](int count) {
        for (int i = 0; i < count; ++i) {
            platform.clock += 1.0 / 60.0;
            runFrame(lastFrameTime);
        }
        return readPixels(0, screenHeight * 3 / 4, screenWidth, screenHeight / 4);
    };
    frames(2);
    const long queriesBefore = timestampQueriesIssued();
    const std::vector<unsigned char> hidden = frames(2);
    EXPECT_EQ(timestampQueriesIssued(), queriesBefore) << "no query while hidden";
    labOverlayShown = true;
    const std::vector<unsigned char> shown = frames(8);
    labOverlayShown = false;
    frames(1);
    EXPECT_GT(timestampQueriesIssued(), queriesBefore);
    long darker = 0, lighter = 0;
    for (size_t i = 0; i < shown.size(); i += 4) {
        darker += shown[i] + 8 < hidden[i];
        lighter += shown[i] > hidden[i] + 60;
    }
    const long pixels = long(shown.size() / 4);
    EXPECT_GT(darker, pixels / 3) << "the panel dims the picture";
    EXPECT_GT(lighter, 50) << "the text is drawn on it";
}

// Keeps the HUD's lines instead of drawing them, each with the framebuffer
// it would have gone into.
struct RecordedText : Text2D {
    std::vector<std::pair<std::string, GLint>> lines;
    void drawLines(const std::vector<TextLine>& drawn) override {
        GLint framebuffer = -1;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
        for (const TextLine& line : drawn) lines.emplace_back(line.text, framebuffer);
    }
};

// The HUD goes on the window over the finished picture at every level and on
// either path, sharp, and never into the scene that is blurred. The blur
// never runs on the end screen.
TEST_F(Passes, TheHudGoesOnTheWindowOverTheSceneAtEveryLevelWalkingOrSprinting) {
    RecordedText recorded;
    Text2D* const drawing = text2D;
    text2D = &recorded;
    coinField->collectedCount = 3;
    auto hudWentInto = [&](QualityLevel level) {
        qualityLevel = level;
        recorded.lines.clear();
        renderFrame();
        for (const auto& [line, framebuffer] : recorded.lines)
            if (line == "Coins: 3") return framebuffer;
        return GLint(-1);
    };
    platform.hold(GLFW_KEY_W);
    EXPECT_FALSE(sprintBlurActive()) << "walking";
    for (QualityLevel level : {QualityLevel::full, QualityLevel::low}) EXPECT_EQ(hudWentInto(level), 0);
    platform.hold(GLFW_KEY_SPACE);
    ASSERT_TRUE(sprintBlurActive());
    for (QualityLevel level : {QualityLevel::full, QualityLevel::low}) EXPECT_EQ(hudWentInto(level), 0);
    gameOver = true;
    EXPECT_FALSE(sprintBlurActive());
    gameOver = false;
    qualityLevel = QualityLevel::full;
    text2D = drawing;
}

// Below full the blur smears the scene drawn small as it does the full one:
// sprinting with the camera come from elsewhere, against sprinting with the
// camera where it was, the edges of the picture change and its middle and
// the HUD do not.
TEST_F(Passes, SprintingBelowFullQualityBlursTheScaledUpScene) {
    look(courseStartYaw, -0.3f);
    qualityLevel = QualityLevel::low;
    platform.hold(GLFW_KEY_W), platform.hold(GLFW_KEY_SPACE);
    auto picture = [&](bool moved) {
        const glm::mat4 from = moved ? glm::translate(viewMatrix, glm::vec3(0.0f, 0.0f, -3.0f)) : viewMatrix;
        previousViewProjection = projectionMatrix * from;
        deltaTime = 1.0f / 60.0f;
        renderFrame();
        deltaTime = 0.0f;
        return readPixels(0, 0, screenWidth, screenHeight);
    };
    const std::vector<unsigned char> sharp = picture(false), blurred = picture(true);
    platform.releaseAll();
    qualityLevel = QualityLevel::full;
    auto differs = [&](int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                count += !std::equal(&sharp[4 * (y * screenWidth + x)], &sharp[4 * (y * screenWidth + x) + 3],
                                     &blurred[4 * (y * screenWidth + x)]);
        return count;
    };
    const int w = screenWidth, h = screenHeight;
    EXPECT_GT(differs(0, h / 2, w / 8, h) + differs(w - w / 8, h / 2, w, h), w * h / 32) << "the edges streak";
    EXPECT_LT(differs(w / 2 - 8, h / 2 - 8, w / 2 + 8, h / 2 + 8), 16) << "the middle stays sharp";
    // The HUD's text, drawn over the picture, keeps its solid ink; only the
    // scene between its strokes may be smeared.
    int ink = 0, inkChanged = 0;
    for (int y = 0; y < h / 12; ++y)
        for (int x = 0; x < w / 3; ++x) {
            const unsigned char* a = &sharp[4 * (y * w + x)];
            if (a[0] < 240 || a[1] < 230 || a[2] < 210) continue;
            ++ink;
            inkChanged += !std::equal(a, a + 3, &blurred[4 * (y * w + x)]);
        }
    EXPECT_GT(ink, 20);
    EXPECT_EQ(inkChanged, 0) << "the HUD stays sharp";
}

// Stars: bright pixels whose four neighbours are all dark.
int starsIn(const std::vector<unsigned char>& rgba, int width, int height) {
    auto grey = [&](int x, int y) { return (rgba[4 * (y * width + x)] + rgba[4 * (y * width + x) + 1] + rgba[4 * (y * width + x) + 2]) / 3; };
    int stars = 0;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x)
            stars += grey(x, y) > 100 && std::max({grey(x - 1, y), grey(x + 1, y), grey(x, y - 1), grey(x, y + 1)}) < 50;
    return stars;
}

// The sky goes after the opaque scene, where the depth test spares it what
// the street covers; drawn first, as a see-through scene needs, it must look the same.
TEST_F(Passes, StarsShowUpSidewaysAndBackFromAnywhereAndTheSkyGoesLastUnseen) {
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
            const std::vector<unsigned char> skyLast = readPixels(0, 0, screenWidth, screenHeight);
            EXPECT_GT(starsIn(skyLast, screenWidth, screenHeight), 20);
            // The same frame with the sky drawn first.
            startSceneTarget();
            setFrameState();
            renderSkyBox();
            glUseProgram(sceneShader->programHandle);
            renderScene();
            resolveSceneTarget();
            copySceneToWindow();
            glDisable(GL_DEPTH_TEST);
            drawHud();
            glEnable(GL_DEPTH_TEST);
            EXPECT_TRUE(skyLast == readPixels(0, 0, screenWidth, screenHeight)) << "the sky first looks different";
        }
    mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
    EXPECT_TRUE(skyAfterScene());
    transparency = 0.5f;
    EXPECT_FALSE(skyAfterScene()) << "a see-through street needs the stars behind it first";
    transparency = 1.0f;
}

// The HUD's text with the game's font atlas, in HUD units (hudUnits over the
// window): each glyph lands upright in its cell over a scene drawn right at
// the near plane, and blank cells leave no trace, not even in the depth buffer.
TEST(HudText, GlyphsOfTheFontAtlasLandUprightWhereTheHudPutsThem) {
    Shader shader("Shader/normalsText2D.vert", "Shader/normalsText2D.frag");
    Text2D text;
    Texture atlas("Textur/font8.jpg");
    atlas.bind(0);
    glUseProgram(shader.programHandle);
    setTextureUnit(&shader, "myTextureSampler", 0);
    setVector(&shader, "hudUnits", hudUnits);
    glDisable(GL_CULL_FACE);
    glClearDepth(0.0001);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    // Bright pixels of the text within HUD x0..x1, y0..y1.
    auto ink = [](int x0, int y0, int x1, int y1) {
        const int unitsX = int(hudUnits.x), unitsY = int(hudUnits.y);
        const int px = x0 * 256 / unitsX, py = y0 * 256 / unitsY, w = (x1 - x0) * 256 / unitsX, h = (y1 - y0) * 256 / unitsY;
        const std::vector<unsigned char> rgba = readPixels(px, py, w, h);
        int bright = 0;
        for (size_t i = 0; i < rgba.size(); i += 4) bright += rgba[i] > 150;
        return bright;
    };
    text.drawText(" _^", 400, 300, 100);  // cells at x 400, 500 and 600, y 300 .. 400
    EXPECT_EQ(ink(400, 300, 500, 400), 0) << "the blank";
    EXPECT_TRUE(ink(500, 300, 600, 350) > 10 && ink(500, 350, 600, 400) == 0) << "the underscore sits low";
    EXPECT_TRUE(ink(600, 350, 700, 400) > 10 && ink(600, 300, 700, 350) == 0) << "the caret high";
    EXPECT_EQ(ink(0, 0, 400, 600) + ink(700, 0, 800, 600) + ink(400, 400, 700, 600), 0) << "ink beyond the cells";
    float depth = 0.0f;
    glReadPixels(int(450 * 256 / hudUnits.x), int(350 * 256 / hudUnits.y), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(0.0001f, depth, 1e-6f) << "the blank cell wrote depth";
    text.drawText("A", 0, 0, 30);
    text.drawText("A", 700, 300, 30);  // the far end of the longest status line, above the score lines
    EXPECT_TRUE(ink(0, 0, 30, 30) > 5 && ink(700, 300, 730, 330) > 5) << "the whole HUD area is on screen";
    glUseProgram(0);
    glEnable(GL_CULL_FACE);
}

// Buffer uploads counted through GLEW's entry points while a test runs.
int bufferUploads = 0;
PFNGLBUFFERDATAPROC realBufferData = nullptr;
PFNGLBUFFERSUBDATAPROC realBufferSubData = nullptr;
void GLAPIENTRY countedBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    bufferUploads += data != nullptr;
    realBufferData(target, size, data, usage);
}
void GLAPIENTRY countedBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size, const void* data) {
    ++bufferUploads;
    realBufferSubData(target, offset, size, data);
}

// The HUD's text changes a few times a second at most, and a frame's lines
// go in one upload: none while they stand still, one for a change however
// many lines there are.
TEST(HudText, LinesAreUploadedOnceWhenTheyChangeAndNotWhileTheyStayTheSame) {
    Text2D text;
    realBufferData = glBufferData;
    realBufferSubData = glBufferSubData;
    glBufferData = countedBufferData;
    glBufferSubData = countedBufferSubData;
    std::vector<TextLine> hud = {{"Time: 1.23", 10, 40, 20}, {"Coins: 0", 10, 10, 20}, {"Objects: 44", 10, 130, 15}};
    bufferUploads = 0;
    text.drawLines(hud);
    const int perChange = bufferUploads;
    EXPECT_GT(perChange, 0);
    text.drawLines(hud);
    text.drawLines(hud);
    EXPECT_EQ(bufferUploads, perChange) << "the same lines again";
    hud[0].text = "Time: 1.24";
    text.drawLines(hud);
    EXPECT_EQ(bufferUploads, 2 * perChange) << "one line changed";
    glBufferData = realBufferData;
    glBufferSubData = realBufferSubData;
    EXPECT_EQ(perChange, 3) << "one upload a buffer (corners, atlas, ink), not one a line";
}

TEST(WireframeKey, F3PressesToggleLinesAndFillForBothFaces) {
    wireframeEnabled = false;
    const std::pair<int, GLint> steps[] = {
        {GLFW_PRESS, GL_LINE}, {GLFW_REPEAT, GL_LINE}, {GLFW_RELEASE, GL_LINE}, {GLFW_PRESS, GL_FILL}};
    for (const auto& [action, expected] : steps) {
        keyCallback(window, GLFW_KEY_F3, 0, action, 0);
        GLint modes[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_TRUE(modes[0] == expected && modes[1] == expected) << "after action " << action;
    }
}

}  // namespace

namespace {

// The debug views (F7), each drawn from the frame's own targets: the picture
// between the HUD's lines, which lie below and in the top strip.
TEST_F(Passes, EachDebugViewShowsWhatItsTargetHolds) {
    coinField->clear();
    look(courseStartYaw, 0.0f);
    const int bottom = screenHeight * 42 / 100, top = screenHeight * 8 / 10;
    auto picture = [&](DebugView view) {
        debugView = view;
        renderFrame();
        return readPixels(0, bottom, screenWidth, top - bottom);
    };
    auto isGrey = [](const std::vector<unsigned char>& rgba) {
        for (size_t i = 0; i < rgba.size(); i += 4)
            if (rgba[i] != rgba[i + 1] || rgba[i] != rgba[i + 2]) return false;
        return true;
    };
    const std::vector<unsigned char> normal = picture(DebugView::off);
    const std::vector<unsigned char> shadow = picture(DebugView::shadowMap);
    EXPECT_TRUE(isGrey(shadow)) << "the light's depth, grey";
    EXPECT_GT(*std::max_element(shadow.begin(), shadow.end()), *std::min_element(shadow.begin(), shadow.end()) + 50);
    EXPECT_FALSE(isGrey(normal));

    const std::vector<unsigned char> depth = picture(DebugView::sceneDepth);
    EXPECT_TRUE(isGrey(depth));
    EXPECT_TRUE(depth != shadow);
    // The street's floor darkens with the distance from the camera.
    const glm::mat4 camera = projectionMatrix * viewMatrix;
    float nearer = 256.0f;
    for (float z : {-205.0f, -210.0f, -215.0f, -222.0f}) {
        const float seen = brightnessAround(camera, {0.0f, streetFloorY, z}, 1);
        EXPECT_LT(seen, nearer - 5.0f) << "floor at z " << z;
        nearer = seen;
    }

    // Culling on, frozen while the camera looked across the street: the
    // course ahead lies outside the frozen frustum and shows red.
    auto redPixels = [&](bool culling) {
        frustumCullingEnabled = culling;
        look(courseStartYaw + 1.5f, 0.0f);
        debugView = DebugView::blurMotion;
        stepDebugView();
        look(courseStartYaw, 0.0f);
        const std::vector<unsigned char> rgba = picture(DebugView::culling);
        size_t red = 0;
        for (size_t i = 0; i < rgba.size(); i += 4) red += rgba[i] > 200 && rgba[i + 1] < 60 && rgba[i + 2] < 60;
        return red;
    };
    EXPECT_GT(redPixels(true), 200u);
    EXPECT_EQ(redPixels(false), 0u) << "nothing is culled with culling off";
    debugView = DebugView::off;
    frustumCullingEnabled = false;
}

// F12: the file holds the window as it was drawn, pixel for pixel.
TEST_F(Passes, AScreenshotIsTheWindowAsDrawn) {
    renderFrame();
    QuietConsole quiet;
    const std::optional<std::string> path = takeScreenshot();
    ASSERT_TRUE(path);
    std::string problem;
    const std::optional<Image> file = decodeImage(*path, problem);
    ASSERT_TRUE(file) << problem;
    ASSERT_EQ(file->width, unsigned(screenWidth));
    ASSERT_EQ(file->height, unsigned(screenHeight));
    const std::vector<unsigned char> rgba = readPixels(0, 0, screenWidth, screenHeight);
    const unsigned pitch = (file->width * 3 + 3) / 4 * 4;
    size_t differing = 0;
    for (unsigned y = 0; y < file->height; ++y)
        for (unsigned x = 0; x < file->width; ++x)
            for (int c = 0; c < 3; ++c)
                differing += file->pixels[y * pitch + x * 3 + c] != rgba[(y * file->width + x) * 4 + 2 - c];
    EXPECT_EQ(differing, 0u);
    std::remove(path->c_str());
}

}  // namespace
