#include "gpu/render_targets.h"

#include <iostream>

#include "base/globals.h"

GLuint shadowFramebuffer = 0;
GLuint shadowMapTexture = 0;
GLuint sceneFramebuffer = 0;
GLuint sceneColorBuffer = 0;
GLuint sceneDepthBuffer = 0;
GLuint blurFramebuffer = 0;
GLuint blurColorTexture = 0;
GLuint blurDepthTexture = 0;
GLuint screenQuadBuffer = 0;

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

// RGBA8 like the scene target's colour, so that a resolve is a plain copy of formats.
void specifyBlurColor(PixelSize size) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size.width, size.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

GLint blurColorFilter = GL_NEAREST;

int samplesOffered() {
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    return most < sceneSamples ? most : sceneSamples;
}

// Gives both renderbuffers of the scene target `size` pixels of multisampled storage.
void specifySceneBuffers(PixelSize size) {
    const int samples = samplesOffered();
    glBindRenderbuffer(GL_RENDERBUFFER, sceneColorBuffer);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, size.width, size.height);
    glBindRenderbuffer(GL_RENDERBUFFER, sceneDepthBuffer);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, size.width, size.height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

void deleteRenderbuffer(GLuint& renderbuffer) {
    if (renderbuffer != 0) glDeleteRenderbuffers(1, &renderbuffer);
    renderbuffer = 0;
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

int sceneTargetSamples() { return samplesOffered(); }

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

void createSceneTargets() {
    blurTargetSize = {screenWidth, screenHeight};
    blurColorFilter = GL_NEAREST;

    glGenFramebuffers(1, &sceneFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, sceneFramebuffer);
    glGenRenderbuffers(1, &sceneColorBuffer);
    glGenRenderbuffers(1, &sceneDepthBuffer);
    specifySceneBuffers(blurTargetSize);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, sceneColorBuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, sceneDepthBuffer);
    reportIfIncomplete();

    glGenFramebuffers(1, &blurFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, blurFramebuffer);
    glGenTextures(1, &blurColorTexture);
    glBindTexture(GL_TEXTURE_2D, blurColorTexture);
    specifyBlurColor(blurTargetSize);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, blurColorFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, blurColorFilter);
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

void resizeSceneTargets(PixelSize size, GLint colorFilter) {
    if (colorFilter != blurColorFilter) {
        blurColorFilter = colorFilter;
        glBindTexture(GL_TEXTURE_2D, blurColorTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, colorFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, colorFilter);
    }
    if (size.width == blurTargetSize.width && size.height == blurTargetSize.height) return;
    blurTargetSize = size;
    specifySceneBuffers(size);
    glBindTexture(GL_TEXTURE_2D, blurDepthTexture);
    specifyDepthTexture(size);
    glBindTexture(GL_TEXTURE_2D, blurColorTexture);
    specifyBlurColor(size);
}

void resolveSceneTarget() {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, blurFramebuffer);
    const int w = blurTargetSize.width, h = blurTargetSize.height;
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

void releaseRenderTargets() {
    if (screenQuadBuffer != 0) glDeleteBuffers(1, &screenQuadBuffer);
    screenQuadBuffer = 0;
    deleteFramebuffer(sceneFramebuffer);
    deleteRenderbuffer(sceneColorBuffer);
    deleteRenderbuffer(sceneDepthBuffer);
    deleteFramebuffer(blurFramebuffer);
    deleteTexture(blurColorTexture);
    deleteTexture(blurDepthTexture);
    deleteFramebuffer(shadowFramebuffer);
    deleteTexture(shadowMapTexture);
}
