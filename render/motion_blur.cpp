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
// returns its program.
GLuint startWindowQuad(const Shader* shader) {
    bindWindowTarget();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(shader->programHandle);
    return shader->programHandle;
}

// Binds `texture` on texture unit `unit` and points the sampler `name` of `program` at it.
void bindSampler(GLuint program, const char* name, int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(glGetUniformLocation(program, name), unit);
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
