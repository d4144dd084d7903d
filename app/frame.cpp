#include "app/frame.h"

#include "app/globals.h"
#include "app/platform.h"
#include "gpu/shader.h"
#include "play/frame_update.h"
#include "play/hud.h"
#include "play/input.h"
#include "render/particles.h"
#include "render/passes.h"

void renderFrame() {
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
    drawHud();
    drawParticles();
}

bool runFrame(double& lastFrameTime) {
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
