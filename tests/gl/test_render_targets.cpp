// The shadow-map and motion-blur render targets on a real context.
#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "gpu/render_targets.h"

namespace {

// Runs with a window size of its own and puts the real one back afterwards.
class RenderTargets : public ::testing::Test {
protected:
    int savedWidth = screenWidth, savedHeight = screenHeight;

    void TearDown() override {
        const GLuint texture = shadowMapTexture, framebuffer = blurFramebuffer;
        releaseRenderTargets();
        releaseRenderTargets();  // safe twice: released names are back to 0
        EXPECT_FALSE(glIsTexture(texture) || glIsFramebuffer(framebuffer));
        screenWidth = savedWidth;
        screenHeight = savedHeight;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Creates both targets for a window of the given size; returns what they reported.
    static std::string createBoth(int width, int height) {
        screenWidth = width;
        screenHeight = height;
        ::testing::internal::CaptureStderr();
        createShadowMapTarget();
        createBlurTarget();
        return ::testing::internal::GetCapturedStderr();
    }

    // Level 0's width and height and the texture's compare mode, as "W x H, compare M".
    static std::string describe(GLuint texture) {
        GLint width = 0, height = 0, compare = -1;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compare);
        return std::to_string(width) + " x " + std::to_string(height) + ", compare " + std::to_string(compare);
    }
};

TEST_F(RenderTargets, BothAreCompleteAndWindowSizedAndOnlyTheShadowMapCompares) {
    EXPECT_EQ(createBoth(200, 120), "") << "a complete set-up reports nothing";  // no power of two, like 1600 x 1400
    for (GLuint framebuffer : {shadowFramebuffer, blurFramebuffer}) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(describe(shadowMapTexture), "200 x 120, compare " + std::to_string(GL_COMPARE_REF_TO_TEXTURE));
    EXPECT_EQ(describe(blurColorTexture), "200 x 120, compare 0");
    EXPECT_EQ(describe(blurDepthTexture), "200 x 120, compare 0") << "the blur reads plain depth";
}

TEST_F(RenderTargets, AnIncompleteTargetIsReportedAndTheGameGoesOn) {
    // A zero-sized attachment can never be complete.
    EXPECT_EQ(createBoth(0, 0), "GL: Framebuffer object is not complete.\nGL: Framebuffer object is not complete.\n");
    EXPECT_NE(shadowFramebuffer, 0u);
    EXPECT_NE(blurFramebuffer, 0u);
}

}  // namespace
