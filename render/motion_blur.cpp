#include "render/motion_blur.h"

#include "base/debug_view.h"
#include "base/globals.h"
#include "gpu/buffer.h"
#include "gpu/draw_count.h"
#include "gpu/gl_state.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "gpu/texture.h"

namespace {

// Binds the window for the picture. The picture covers its part of the
// window whole, so the colour is cleared only where bars lie beside it; the
// window's depth is never used: the HUD on top is drawn without the test.
void startWindowPicture() {
    bindWindowTarget();
    if (!windowFilled) glClear(GL_COLOR_BUFFER_BIT);
}

// Binds `texture` on texture unit `unit` and points the sampler `name` of `shader` at it.
void bindSampler(const Shader* shader, const char* name, int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    setTextureUnit(shader, name, unit);
}

// The two triangles of screenQuadBuffer, over the whole viewport, with the
// blending and depth test as they are.
void drawQuadTriangles() {
    pointVertexInput(cornerInput, screenQuadBuffer, 3);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    noteDraw(GL_TRIANGLES, 6);
    glDisableVertexAttribArray(cornerInput);
}

// The quad over the whole viewport, as a picture of its own. The quad covers
// every pixel whole and writes alpha 1, so blending and the depth test would
// give the same picture; without them llvmpipe neither reads back nor tests
// each pixel.
void drawScreenQuad() {
    const GlSwitch noBlending(GL_BLEND, false);
    const GlSwitch noDepthTest(GL_DEPTH_TEST, false);
    drawQuadTriangles();
}

}  // namespace

void startSceneTarget() {
    bindOffscreenTarget(sceneFramebuffer, blurTargetSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void startBlurTarget() {
    bindOffscreenTarget(blurFramebuffer, blurTargetSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void copySceneToWindow() {
    startWindowPicture();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, blurFramebuffer);
    const Viewport& to = windowViewport;
    glBlitFramebuffer(0, 0, blurTargetSize.width, blurTargetSize.height, to.x, to.y, to.x + blurTargetSize.width,
                      to.y + blurTargetSize.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

void drawScaledUp() {
    startWindowPicture();
    glUseProgram(scaleUpShader->programHandle);
    bindSampler(scaleUpShader, "sceneTexture", firstColorUnit, blurColorTexture);
    drawScreenQuad();
}

void drawBlurredFrame() {
    startWindowPicture();
    glUseProgram(blurShader->programHandle);
    bindSampler(blurShader, "blurTexture", firstColorUnit, blurColorTexture);
    bindSampler(blurShader, "depthBlurTexture", secondColorUnit, blurDepthTexture);
    setMatrix(blurShader, "vpInverse", glm::inverse(projectionMatrix * viewMatrix));
    setMatrix(blurShader, "vpPrevious", previousViewProjection);
    setFloat(blurShader, "deltaT", deltaTime);
    glUniform1i(uniformLocation(blurShader, "showMotion"), debugView == DebugView::blurMotion);
    drawScreenQuad();
}

void drawDepthPicture(GLuint depthTexture, float shownDistance) {
    startWindowPicture();
    glUseProgram(depthViewShader->programHandle);
    bindSampler(depthViewShader, "depthTexture", firstColorUnit, depthTexture);
    GLint compareMode = GL_NONE;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compareMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
    // The planes of a perspective projection, from its third and fourth columns.
    const float a = projectionMatrix[2][2], b = projectionMatrix[3][2];
    setFloat(depthViewShader, "nearPlane", b / (a - 1.0f));
    setFloat(depthViewShader, "farPlane", b / (a + 1.0f));
    setFloat(depthViewShader, "shownDistance", shownDistance);
    drawScreenQuad();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, compareMode);
}

void dimWindow(float keep) {
    bindWindowTarget();
    // The blending multiplies what the window holds by `keep`; the quad's own
    // colour counts for nothing, so any program that covers it will do.
    glUseProgram(scaleUpShader->programHandle);
    const GlSwitch noDepthTest(GL_DEPTH_TEST, false);
    const GlBlending darken(GL_ZERO, GL_CONSTANT_COLOR);
    glBlendColor(keep, keep, keep, 1.0f);
    drawQuadTriangles();
}
