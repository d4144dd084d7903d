#include "app/frame.h"

#include <optional>

#include "app/lab_overlay.h"
#include "app/screenshot.h"
#include "app/window.h"
#include "base/debug_view.h"
#include "base/globals.h"
#include "base/platform.h"
#include "gpu/gl_check.h"
#include "gpu/gl_state.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "play/frame_update.h"
#include "play/hud.h"
#include "play/input.h"
#include "render/debug_views.h"
#include "render/motion_blur.h"
#include "render/particles.h"
#include "render/passes.h"
#include "render/quality.h"

FrameProbe* frameProbe = nullptr;

const char* const framePassNames[framePassCount] = {"shadow", "sky",      "scene", "ghost", "particles",
                                                    "resolve", "copy", "scale-up", "blur", "hud"};

namespace {

std::optional<double> previousFrameStart;  // wall-clock seconds

// The automatic quality goes by the wall time between frames, whatever
// clock the game's time step comes from; paused frames, which wait for the
// player, say nothing of the speed.
void followAutomaticQuality() {
    if (paused) {
        previousFrameStart.reset();
        return;
    }
    const double now = wallClockNow();
    if (previousFrameStart && qualitySetting == QualitySetting::automatic)
        qualityLevel = autoQuality.observe(now - *previousFrameStart);
    previousFrameStart = now;
}

// World units the depth views shade, from white at the eye to black: the
// light hangs 30 above the street; the camera sees the street's next stretch.
constexpr float shadowDepthShown = 60.0f;
constexpr float sceneDepthShown = 150.0f;

// While it lives in the culling view, the frame is drawn from above the cat
// (the culling still tests the frozen camera); then the camera is back.
class OverviewCamera {
public:
    explicit OverviewCamera(bool on) : view_(viewMatrix), position_(cameraPosition) {
        if (!on) return;
        viewMatrix = overviewMatrix(catPosition);
        cameraPosition = overviewPosition(catPosition);
    }
    ~OverviewCamera() {
        viewMatrix = view_;
        cameraPosition = position_;
    }
    OverviewCamera(const OverviewCamera&) = delete;
    OverviewCamera& operator=(const OverviewCamera&) = delete;

private:
    glm::mat4 view_;
    glm::vec3 position_;
};

template <typename Draw>
void timed(FramePass pass, Draw draw) {
    if (frameProbe) frameProbe->begin(pass);
    draw();
    if (frameProbe) frameProbe->end(pass);
}

}  // namespace

bool sprintBlurActive() { return sprinting(); }

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
    if (ghostPosition) timed(passGhost, renderGhost);  // over the sky too, which goes last while the scene is opaque
    timed(passParticles, drawParticles);
}

void renderFrame() {
    applyQualityLevel(qualityLevel);
    const OverviewCamera overview(debugView == DebugView::culling);
    timed(passShadow, renderShadowMap);

    // Sprinting, the scene goes straight into the blur target, whose depth
    // tells the blur how far each pixel moved; otherwise it is multisampled
    // and resolved. The views of the scene's depth and of the blur's motion
    // show that target's depth, so they take the sprint's path too.
    const bool depthView = debugView == DebugView::sceneDepth;
    const bool blur = sprintBlurActive() || depthView || debugView == DebugView::blurMotion;
    if (blur) startBlurTarget();
    else startSceneTarget();
    setFrameState();
    drawFrameContent();
    if (debugView == DebugView::culling) drawCullingLines();

    if (depthView) {
        drawDepthPicture(blurDepthTexture, sceneDepthShown);
    } else if (blur) {
        timed(passBlur, drawBlurredFrame);
    } else {
        timed(passResolve, [] { resolveSceneTarget(); });
        if (qualityLevel == QualityLevel::full) timed(passCopy, copySceneToWindow);
        else timed(passScaleUp, drawScaledUp);
    }
    if (debugView == DebugView::shadowMap) drawDepthPicture(shadowMapTexture, shadowDepthShown);
    // The HUD and the pause screen lie on the picture, not in the scene: no
    // depth test.
    const GlSwitch onThePicture(GL_DEPTH_TEST, false);
    timed(passHud, drawHud);
    if (paused) {
        dimWindow(0.35f);
        drawPauseScreen();
    }
    drawLabOverlay();
}

bool runFrame(double& lastFrameTime) {
    followLabOverlay();
    if (frameProbe) frameProbe->frameStart();
    followAutomaticQuality();
    const double now = clockNow();
    frameSeconds = deltaTime = float(now - lastFrameTime);
    lastFrameTime = now;

    processInput();  // a paused frame's step becomes 0: nothing moves
    if (frameProbe) frameProbe->stageDone(stageRules);
    updateScene(deltaTime);
    if (frameProbe) frameProbe->stageDone(stageUpdate);
    holdPointer(!paused);
    renderFrame();
    // What is about to be shown, HUD and all, before the swap leaves the back buffer undefined.
    if (screenshotWanted) {
        screenshotWanted = false;
        takeScreenshot();
    }

    glfwSwapBuffers(window);
    checkGlErrors("in a frame");
    // Keys pressed from here on count in the next frame. A paused frame waits
    // for the player's next press, or for a quarter of a second: the picture
    // stands still and needs no redrawing meanwhile.
    forgetKeyPresses();
    if (paused) waitForPlayer(0.25);
    else pollEvents();
    const bool escape = isKeyDown(GLFW_KEY_ESCAPE);
    previousViewProjection = projectionMatrix * viewMatrix;
    if (frameProbe) frameProbe->frameEnd();
    return !escape;
}

void resumeFrames(double& lastFrameTime) {
    lastFrameTime = clockNow();
    previousFrameStart.reset();
    autoQuality.forgetFrames();
}
