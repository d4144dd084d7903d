// The shadow-map and motion-blur render targets on a real context.
#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "gpu/render_targets.h"

namespace {

struct TextureInfo {
    GLint width, height, internalFormat, minFilter, magFilter, wrapS, wrapT, compareMode, compareFunc;
};

TextureInfo describe(GLuint texture) {
    TextureInfo info{};
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &info.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &info.height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &info.internalFormat);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &info.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &info.magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &info.wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &info.wrapT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &info.compareMode);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, &info.compareFunc);
    return info;
}

GLenum statusOf(GLuint framebuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return status;
}

// Runs with a window size of its own and puts the real one back afterwards.
class RenderTargets : public ::testing::Test {
protected:
    int savedWidth = screenWidth, savedHeight = screenHeight;

    void TearDown() override {
        releaseRenderTargets();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        screenWidth = savedWidth;
        screenHeight = savedHeight;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    std::string createBoth() {
        ::testing::internal::CaptureStderr();
        createShadowMapTarget();
        createBlurTarget();
        return ::testing::internal::GetCapturedStderr();
    }
};

TEST_F(RenderTargets, ShadowMapIsAComparedDepthTextureOfTheWindowSize) {
    screenWidth = 200;  // neither square nor a power of two, like 1600 x 1400
    screenHeight = 120;
    EXPECT_EQ(createBoth(), "") << "a complete set-up reports nothing";

    EXPECT_EQ(statusOf(shadowFramebuffer), GLenum(GL_FRAMEBUFFER_COMPLETE));
    const TextureInfo shadow = describe(shadowMapTexture);
    EXPECT_EQ(shadow.width, 200);
    EXPECT_EQ(shadow.height, 120);
    EXPECT_EQ(shadow.internalFormat, GL_DEPTH_COMPONENT24);
    EXPECT_EQ(shadow.minFilter, GL_LINEAR);
    EXPECT_EQ(shadow.magFilter, GL_LINEAR);
    EXPECT_EQ(shadow.wrapS, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(shadow.wrapT, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(shadow.compareMode, GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(shadow.compareFunc, GL_LEQUAL);

    glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer);
    GLint drawBuffer = -1, attached = -1;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(drawBuffer, GL_NONE);
    EXPECT_EQ(GLuint(attached), shadowMapTexture);
}

TEST_F(RenderTargets, BlurTargetHoldsColourAndDepthAndTheScreenQuad) {
    screenWidth = 200;
    screenHeight = 120;
    createBoth();

    EXPECT_EQ(statusOf(blurFramebuffer), GLenum(GL_FRAMEBUFFER_COMPLETE));
    const TextureInfo colour = describe(blurColorTexture);
    EXPECT_EQ(colour.width, 200);
    EXPECT_EQ(colour.height, 120);
    EXPECT_EQ(colour.minFilter, GL_NEAREST);
    EXPECT_EQ(colour.magFilter, GL_NEAREST);
    EXPECT_EQ(colour.wrapS, GL_CLAMP_TO_EDGE);
    const TextureInfo depth = describe(blurDepthTexture);
    EXPECT_EQ(depth.internalFormat, GL_DEPTH_COMPONENT24);
    EXPECT_EQ(depth.width, 200);
    EXPECT_EQ(depth.compareMode, GL_NONE) << "the blur reads plain depth";
    EXPECT_EQ(depth.wrapT, GL_CLAMP_TO_EDGE);

    glBindBuffer(GL_ARRAY_BUFFER, screenQuadBuffer);
    GLint size = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    ASSERT_EQ(size, 72);
    float quad[18] = {};
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, size, quad);
    const float expected[18] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, -1, 1, 0, 1, -1, 0, 1, 1, 0};
    for (int i = 0; i < 18; ++i) EXPECT_EQ(quad[i], expected[i]) << i;
}

TEST_F(RenderTargets, AnIncompleteTargetIsReportedAndTheGameGoesOn) {
    screenWidth = 0;  // a zero-sized attachment can never be complete
    screenHeight = 0;
    EXPECT_EQ(createBoth(), "GL: Framebuffer object is not complete.\n"
                            "GL: Framebuffer object is not complete.\n");
    EXPECT_NE(shadowFramebuffer, 0u);
    EXPECT_NE(blurFramebuffer, 0u);
}

TEST_F(RenderTargets, ReleaseDeletesEveryObjectAndIsSafeTwice) {
    createBoth();
    const GLuint framebuffers[] = {shadowFramebuffer, blurFramebuffer};
    const GLuint textures[] = {shadowMapTexture, blurColorTexture, blurDepthTexture};
    const GLuint quad = screenQuadBuffer;
    releaseRenderTargets();
    for (GLuint f : framebuffers) EXPECT_EQ(glIsFramebuffer(f), GL_FALSE);
    for (GLuint t : textures) EXPECT_EQ(glIsTexture(t), GL_FALSE);
    EXPECT_EQ(glIsBuffer(quad), GL_FALSE);
    EXPECT_EQ(shadowFramebuffer | blurFramebuffer | shadowMapTexture | blurColorTexture | blurDepthTexture |
                  screenQuadBuffer,
              0u);
    releaseRenderTargets();
}

}  // namespace
