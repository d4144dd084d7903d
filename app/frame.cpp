#include "app/frame.h"

#include <optional>

#include "base/globals.h"
#include "base/platform.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "play/frame_update.h"
#include "play/hud.h"
#include "play/input.h"
#include "render/motion_blur.h"
#include "render/particles.h"
#include "render/passes.h"
#include "render/quality.h"

FrameProbe* frameProbe = nullptr;

namespace {

std::optional<double> previousFrameStart;  // wall-clock seconds

// The automatic quality goes by the wall time between frames, whatever
// clock the game's time step comes from.
void followAutomaticQuality() {
    const double now = wallClockNow();
    if (previousFrameStart && qualitySetting == QualitySetting::automatic)
        qualityLevel = autoQuality.observe(now - *previousFrameStart);
    previousFrameStart = now;
}

template <typename Draw>
void timed(FramePass pass, Draw draw) {
    if (frameProbe) frameProbe->begin(pass);
    draw();
    if (frameProbe) frameProbe->end(pass);
}

}  // namespace

bool sprintBlurActive() { return isKeyDown(GLFW_KEY_SPACE) && isKeyDown(GLFW_KEY_W) && !gameOver; }

void setFrameState() {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void drawFrameContent() {
    const bool skyLast = skyAfterScene();
    if (!skyLast) timed(passSky, renderSkyBox);
    timed(passScene, [] {
        glUseProgram(sceneShader->programHandle);
        renderScene();
    });
    if (skyLast) timed(passSky, renderSkyBox);
    timed(passParticles, drawParticles);
}

void renderFrame() {
    applyQualityLevel(qualityLevel);
    timed(passShadow, renderShadowMap);

    startSceneTarget();
    setFrameState();
    drawFrameContent();

    // The blur needs the depth as well, to tell how far each pixel moved.
    const bool blur = sprintBlurActive();
    timed(passResolve, [blur] { resolveSceneTarget(blur); });
    if (blur) {
        timed(passBlur, drawBlurredFrame);
    } else if (qualityLevel == QualityLevel::full) {
        timed(passCopy, copySceneToWindow);
    } else {
        timed(passScaleUp, drawScaledUp);
    }
    // The HUD lies on the picture, not in the scene: no depth test.
    glDisable(GL_DEPTH_TEST);
    timed(passHud, drawHud);
    glEnable(GL_DEPTH_TEST);
}

bool runFrame(double& lastFrameTime) {
    followAutomaticQuality();
    const double now = clockNow();
    deltaTime = float(now - lastFrameTime);
    lastFrameTime = now;

    processInput();
    updateScene(deltaTime);
    renderFrame();

    glfwSwapBuffers(window);
    glfwPollEvents();
    const bool escape = isKeyDown(GLFW_KEY_ESCAPE);
    previousViewProjection = projectionMatrix * viewMatrix;
    return !escape;
}

void resumeFrames(double& lastFrameTime) {
    lastFrameTime = clockNow();
    previousFrameStart.reset();
    autoQuality.forgetFrames();
}
