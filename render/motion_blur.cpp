#include "render/motion_blur.h"

#include "base/globals.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"

namespace {

void drawIntoBlurTarget(void (*drawContent)()) {
    bindOffscreenTarget(blurFramebuffer, blurTargetSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawContent();
}

// The two triangles of screenQuadBuffer, over the whole viewport.
void drawScreenQuad() {
    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, screenQuadBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDisableVertexAttribArray(0);
}

}  // namespace

void drawMotionBlur(void (*drawContent)()) {
    drawIntoBlurTarget(drawContent);
    drawBlurredFrame();
}

void drawScaledUp(void (*drawContent)()) {
    drawIntoBlurTarget(drawContent);
    bindWindowTarget();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLuint program = scaleUpShader->programHandle;
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, blurColorTexture);
    glUniform1i(glGetUniformLocation(program, "sceneTexture"), 0);
    drawScreenQuad();
}

void drawBlurredFrame() {
    bindWindowTarget();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const GLuint program = blurShader->programHandle;
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, blurColorTexture);
    glUniform1i(glGetUniformLocation(program, "blurTexture"), 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, blurDepthTexture);
    glUniform1i(glGetUniformLocation(program, "depthBlurTexture"), 1);

    const glm::mat4 inverseViewProjection = glm::inverse(projectionMatrix * viewMatrix);
    glUniformMatrix4fv(glGetUniformLocation(program, "vpInverse"), 1, GL_FALSE, &inverseViewProjection[0][0]);
    glUniformMatrix4fv(glGetUniformLocation(program, "vpPrevious"), 1, GL_FALSE, &previousViewProjection[0][0]);
    glUniform1f(glGetUniformLocation(program, "deltaT"), deltaTime);

    drawScreenQuad();
}
