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

// Binds the window, clears it and puts `shader` in use for a full-screen quad;
// returns its program. The quad paints every pixel of the picture, so the
// colour is cleared only where bars lie beside it: on llvmpipe a clear writes
// every sample.
GLuint startWindowQuad(const Shader* shader) {
    bindWindowTarget();
    glClear(windowFilled ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(shader->programHandle);
    return shader->programHandle;
}

// Binds `texture` on texture unit `unit` and points the sampler `name` of `program` at it.
void bindSampler(GLuint program, const char* name, int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(glGetUniformLocation(program, name), unit);
}

// The two triangles of screenQuadBuffer, over the whole viewport. The quad
// covers every pixel whole and writes alpha 1 over a cleared window, so
// multisampling, blending and the depth test would give the same picture;
// without them llvmpipe neither reads back nor tests each sample. Blending and
// the depth test are restored, multisampling switched on again.
void drawScreenQuad() {
    const bool blending = glIsEnabled(GL_BLEND) == GL_TRUE;
    const bool depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_MULTISAMPLE);
    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, screenQuadBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDisableVertexAttribArray(0);
    if (blending) glEnable(GL_BLEND);
    if (depthTest) glEnable(GL_DEPTH_TEST);
    glEnable(GL_MULTISAMPLE);
}

}  // namespace

void drawMotionBlur(void (*drawContent)()) {
    drawIntoBlurTarget(drawContent);
    drawBlurredFrame();
}

void drawScaledUp(void (*drawContent)()) {
    drawIntoBlurTarget(drawContent);
    const GLuint program = startWindowQuad(scaleUpShader);
    bindSampler(program, "sceneTexture", 0, blurColorTexture);
    drawScreenQuad();
}

void drawBlurredFrame() {
    const GLuint program = startWindowQuad(blurShader);
    bindSampler(program, "blurTexture", 0, blurColorTexture);
    bindSampler(program, "depthBlurTexture", 1, blurDepthTexture);

    const glm::mat4 inverseViewProjection = glm::inverse(projectionMatrix * viewMatrix);
    glUniformMatrix4fv(glGetUniformLocation(program, "vpInverse"), 1, GL_FALSE, &inverseViewProjection[0][0]);
    glUniformMatrix4fv(glGetUniformLocation(program, "vpPrevious"), 1, GL_FALSE, &previousViewProjection[0][0]);
    glUniform1f(glGetUniformLocation(program, "deltaT"), deltaTime);

    drawScreenQuad();
}
