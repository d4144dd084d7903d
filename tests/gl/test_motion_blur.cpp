// The blur half of the motion-blur pass on a real context: a known frame is
// put into the blur target and drawn through the blur quad.
#include <gtest/gtest.h>

#include <algorithm>
#include <glm/gtc/matrix_transform.hpp>
#include <random>
#include <vector>

#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "render/motion_blur.h"
#include "tests/gl/gl_context.h"

namespace {

constexpr int kSide = 256;  // the test window

class MotionBlur : public ::testing::Test {
protected:
    std::vector<unsigned char> frame;  // the known image, RGB, bottom row first
    std::vector<float> depth;          // its depth values
    const glm::vec3 eye{0.0f, 5.0f, -190.0f};

    void SetUp() override {
        ASSERT_EQ(kSide, screenWidth);
        createBlurTarget();
        blurShader = new Shader("Shader/blurShader.vert", "Shader/blurShader.frag");
        projectionMatrix = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
        viewMatrix = lookAtFrom(eye);
        deltaTime = 1.0f / 60.0f;

        // Noise, so any smear shows; the scene about 10 units away, the sky
        // at the far plane in the top rows, HUD text at depth 0 bottom-left.
        std::mt19937 random(5);
        frame.resize(kSide * kSide * 3);
        for (unsigned char& c : frame) c = static_cast<unsigned char>(random() & 0xff);
        depth.assign(kSide * kSide, 0.99f);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                if (y >= kSide - 20) depth[y * kSide + x] = 1.0f;
                if (x < 40 && y < 20) depth[y * kSide + x] = 0.0f;
            }
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, blurColorTexture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kSide, kSide, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
        glBindTexture(GL_TEXTURE_2D, blurDepthTexture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kSide, kSide, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());

        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
    }

    void TearDown() override {
        delete blurShader;
        blurShader = nullptr;
        releaseRenderTargets();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    static glm::mat4 lookAtFrom(glm::vec3 at) {
        return glm::lookAt(at, at + glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    }

    // Which pixels of the window differ from the known frame.
    std::vector<bool> changedPixels() {
        drawBlurredFrame();
        const std::vector<unsigned char> shown = readPixels(0, 0, kSide, kSide);
        std::vector<bool> changed(kSide * kSide);
        for (int i = 0; i < kSide * kSide; ++i)
            changed[i] = shown[4 * i] != frame[3 * i] || shown[4 * i + 1] != frame[3 * i + 1] ||
                         shown[4 * i + 2] != frame[3 * i + 2];
        return changed;
    }
};

TEST_F(MotionBlur, StillCameraLeavesTheFrameUnchanged) {
    previousViewProjection = projectionMatrix * viewMatrix;
    const std::vector<bool> changed = changedPixels();
    EXPECT_EQ(0, std::count(changed.begin(), changed.end(), true));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(MotionBlur, SprintingSmearsTheEdgesAndKeepsTheCentreAndTheHudSharp) {
    // Last frame the camera stood half a unit further back: 30 units/s at 60 Hz.
    previousViewProjection = projectionMatrix * lookAtFrom(eye + glm::vec3(0.0f, 0.0f, 0.5f));
    const std::vector<bool> changed = changedPixels();
    auto count = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += changed[y * kSide + x];
        return n;
    };
    EXPECT_EQ(0, count(118, 118, 138, 138)) << "centre";
    EXPECT_GT(count(226, 60, 256, 200), 30 * 140 * 3 / 4) << "right edge";
    EXPECT_GT(count(0, 60, 30, 200), 30 * 140 * 3 / 4) << "left edge";
    EXPECT_EQ(0, count(0, 0, 40, 20)) << "HUD text";
}

TEST_F(MotionBlur, HudTextLeavesNoTrailInTheSceneAroundIt) {
    // A plain grey scene: any smear of the white HUD block would show.
    for (int i = 0; i < kSide * kSide; ++i) {
        const bool hud = depth[i] == 0.0f;
        for (int c = 0; c < 3; ++c) frame[3 * i + c] = hud ? 255 : 90;
    }
    glBindTexture(GL_TEXTURE_2D, blurColorTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kSide, kSide, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    // Last frame the camera stood up and to the right: the scene slides
    // towards the HUD corner, and the smear reaches back over it.
    previousViewProjection = projectionMatrix * lookAtFrom(eye + glm::vec3(0.5f, 0.5f, 0.0f));
    const std::vector<bool> changed = changedPixels();
    EXPECT_EQ(0, std::count(changed.begin(), changed.end(), true));
}

}  // namespace
