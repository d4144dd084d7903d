#include "gpu/render_targets.h"

#include <iostream>

#include "base/globals.h"

namespace {

const GLfloat screenQuadVertices[18] = {
    -1.0f, -1.0f, 0.0f, 1.0f, -1.0f, 0.0f, -1.0f, 1.0f, 0.0f,
    -1.0f, 1.0f,  0.0f, 1.0f, -1.0f, 0.0f, 1.0f,  1.0f, 0.0f,
};

void reportIfIncomplete() {
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::cerr << "GL: Framebuffer object is not complete." << std::endl;
    }
}

// Gives the bound depth texture `size` pixels of storage, without data.
void specifyDepthTexture(PixelSize size) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, size.width, size.height, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                 nullptr);
}

// A depth texture of `size`, without data, clamped at its edges.
void allocateDepthTexture(GLuint& texture, PixelSize size, GLint filter) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    specifyDepthTexture(size);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void specifyBlurColor(PixelSize size) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size.width, size.height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
}

void deleteTexture(GLuint& texture) {
    if (texture != 0) glDeleteTextures(1, &texture);
    texture = 0;
}

void deleteFramebuffer(GLuint& framebuffer) {
    if (framebuffer != 0) glDeleteFramebuffers(1, &framebuffer);
    framebuffer = 0;
}

}  // namespace

void createShadowMapTarget() {
    glGenFramebuffers(1, &shadowFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);

    // Linear filtering with comparison on gives a 2x2 filtered lit/shadowed
    // result per lookup instead of the stored depth.
    shadowMapSize = {screenWidth, screenHeight};
    allocateDepthTexture(shadowMapTexture, shadowMapSize, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, shadowMapTexture, 0);

    glDrawBuffer(GL_NONE);
    reportIfIncomplete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void createBlurTarget() {
    glGenFramebuffers(1, &blurFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, blurFramebuffer);

    blurTargetSize = {screenWidth, screenHeight};
    glGenTextures(1, &blurColorTexture);
    glBindTexture(GL_TEXTURE_2D, blurColorTexture);
    specifyBlurColor(blurTargetSize);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    allocateDepthTexture(blurDepthTexture, blurTargetSize, GL_NEAREST);

    glFramebufferTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, blurColorTexture, 0);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, blurDepthTexture, 0);
    const GLenum drawBuffers[1] = {GL_COLOR_ATTACHMENT0};
    glDrawBuffers(1, drawBuffers);
    reportIfIncomplete();

    glGenBuffers(1, &screenQuadBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, screenQuadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(screenQuadVertices), screenQuadVertices, GL_STATIC_DRAW);
}

void bindWindowTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(windowViewport.x, windowViewport.y, windowViewport.width, windowViewport.height);
}

void bindOffscreenTarget(GLuint framebuffer, PixelSize size) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, size.width, size.height);
}

void resizeShadowMap(PixelSize size) {
    if (size.width == shadowMapSize.width && size.height == shadowMapSize.height) return;
    shadowMapSize = size;
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    specifyDepthTexture(size);
}

void resizeBlurTarget(PixelSize size, GLint colorFilter) {
    if (size.width == blurTargetSize.width && size.height == blurTargetSize.height) return;
    blurTargetSize = size;
    glBindTexture(GL_TEXTURE_2D, blurDepthTexture);
    specifyDepthTexture(size);
    glBindTexture(GL_TEXTURE_2D, blurColorTexture);
    specifyBlurColor(size);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, colorFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, colorFilter);
}

void releaseRenderTargets() {
    if (screenQuadBuffer != 0) glDeleteBuffers(1, &screenQuadBuffer);
    screenQuadBuffer = 0;
    deleteFramebuffer(blurFramebuffer);
    deleteTexture(blurColorTexture);
    deleteTexture(blurDepthTexture);
    deleteFramebuffer(shadowFramebuffer);
    deleteTexture(shadowMapTexture);
}
