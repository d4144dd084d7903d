// The particle trail on a real context: buffers, upload and the instanced draw.
#include <gtest/gtest.h>

#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/particles.h"
#include "tests/gl/gl_context.h"

namespace {

GLint bufferSize(GLuint buffer) {
    GLint bytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    return bytes;
}

class ParticleRender : public ::testing::Test {
protected:
    void SetUp() override {
        initParticles();
        particleShader = new Shader("Shader/ParticleShader.vert", "Shader/ParticleShader.frag");
        coinTexture = new Texture("Textur/coin.jpg");
        cameraPosition = glm::vec3(0.0f, 5.0f, -190.0f);
        viewMatrix = glm::lookAt(cameraPosition, cameraPosition + glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
        projectionMatrix = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 2000.0f);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, 256, 256);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        releaseParticles();
        delete particleShader;
        particleShader = nullptr;
        delete coinTexture;
        coinTexture = nullptr;
        glUseProgram(0);
        // Later tests draw without instancing.
        glVertexAttribDivisor(1, 0);
        glVertexAttribDivisor(2, 0);
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }
};

TEST_F(ParticleRender, UploadsOnlyTheLiveOnesIntoFullSizedBuffersAndDrawsAnOrangeGlow) {
    std::srand(1);
    spawnParticles(20, {0.0f, 5.0f, -192.0f});
    const int count = stepParticles(0.001f, cameraPosition, particlePositionSizeData, particleColorData);
    ASSERT_EQ(20, count);
    uploadParticles(count);
    std::vector<float> uploaded(4 * count);
    glBindBuffer(GL_ARRAY_BUFFER, particlePositionBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, uploaded.size() * sizeof(float), uploaded.data());
    EXPECT_TRUE(std::equal(uploaded.begin(), uploaded.end(), particlePositionSizeData));
    // Room for a whole pool every frame, whatever this frame's count.
    EXPECT_EQ(maxParticles * 16, bufferSize(particlePositionBuffer));
    EXPECT_EQ(maxParticles * 4, bufferSize(particleColorBuffer));

    renderParticles(count);
    const std::vector<unsigned char> centre = readPixels(128, 128, 1, 1);
    EXPECT_GT(centre[0], 40);  // warm: red over green over blue
    EXPECT_GT(centre[0], centre[1]);
    EXPECT_GT(centre[1], centre[2]);
    EXPECT_EQ(0, readPixels(5, 250, 1, 1)[0]) << "a corner far from the trail";
}

}  // namespace
