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

// Binds the window, clears it and puts `shader` in use for a full-screen
// quad. The quad paints every pixel of the picture, so the colour is cleared
// only where bars lie beside it: on llvmpipe a clear writes every sample.
void startWindowQuad(const Shader* shader) {
    bindWindowTarget();
    glClear(windowFilled ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(shader->programHandle);
}

// Binds `texture` on texture unit `unit` and points the sampler `name` of `shader` at it.
void bindSampler(const Shader* shader, const char* name, int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    setTextureUnit(shader, name, unit);
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
    startWindowQuad(scaleUpShader);
    bindSampler(scaleUpShader, "sceneTexture", 0, blurColorTexture);
    drawScreenQuad();
}

void drawBlurredFrame() {
    startWindowQuad(blurShader);
    bindSampler(blurShader, "blurTexture", 0, blurColorTexture);
    bindSampler(blurShader, "depthBlurTexture", 1, blurDepthTexture);
    setMatrix(blurShader, "vpInverse", glm::inverse(projectionMatrix * viewMatrix));
    setMatrix(blurShader, "vpPrevious", previousViewProjection);
    setFloat(blurShader, "deltaT", deltaTime);
    drawScreenQuad();
}

void dimWindow(float keep) {
    bindWindowTarget();
    // The blending multiplies what the window holds by `keep`; the quad's own
    // colour counts for nothing, so any program that covers it will do.
    glUseProgram(scaleUpShader->programHandle);
    const bool depthTest = glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendColor(keep, keep, keep, 1.0f);
    glBlendFunc(GL_ZERO, GL_CONSTANT_COLOR);
    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, screenQuadBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDisableVertexAttribArray(0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
    if (depthTest) glEnable(GL_DEPTH_TEST);
}
