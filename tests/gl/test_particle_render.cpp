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

        const glm::vec3 eye(0.0f, 5.0f, -190.0f);
        cameraPosition = eye;
        viewMatrix = glm::lookAt(eye, eye + glm::vec3(0, 0, -1), glm::vec3(0, 1, 0));
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
    }
};

TEST_F(ParticleRender, BuffersHaveTheirFullCapacity) {
    EXPECT_EQ(48, bufferSize(particleBillboardBuffer));
    EXPECT_EQ(1600000, bufferSize(particlePositionBuffer));
    EXPECT_EQ(400000, bufferSize(particleColorBuffer));
}

TEST_F(ParticleRender, UploadsOnlyTheLiveOnesAndDrawsAnOrangeGlow) {
    std::srand(1);
    spawnParticles(20, {0.0f, 5.0f, -192.0f});
    const int count = stepParticles(0.001f, cameraPosition, particlePositionSizeData, particleColorData);
    ASSERT_EQ(20, count);
    uploadParticles(count);
    std::vector<float> uploaded(4 * count);
    glBindBuffer(GL_ARRAY_BUFFER, particlePositionBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, uploaded.size() * sizeof(float), uploaded.data());
    EXPECT_TRUE(std::equal(uploaded.begin(), uploaded.end(), particlePositionSizeData));
    EXPECT_EQ(1600000, bufferSize(particlePositionBuffer));

    renderParticles(count);
    const std::vector<unsigned char> centre = readPixels(128, 128, 1, 1);
    EXPECT_GT(centre[0], 40);             // warm: red over green over blue
    EXPECT_GT(centre[0], centre[1]);
    EXPECT_GT(centre[1], centre[2]);
    const std::vector<unsigned char> corner = readPixels(5, 250, 1, 1);
    EXPECT_EQ(0, corner[0]);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(ParticleRender, LeavesTheStateItPromises) {
    uploadParticles(0);
    renderParticles(0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(GLint(particleShader->programHandle), value);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(GL_TEXTURE1, value);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(GLint(coinTexture->handle), value);
    for (GLuint attribute = 0; attribute < 3; ++attribute) {
        glGetVertexAttribiv(attribute, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &value);
        EXPECT_EQ(0, value) << attribute;
        glGetVertexAttribiv(attribute, GL_VERTEX_ATTRIB_ARRAY_DIVISOR, &value);
        EXPECT_EQ(attribute == 0 ? 0 : 1, value) << attribute;
    }
    // Reset the divisors for tests that draw afterwards.
    glVertexAttribDivisor(1, 0);
    glVertexAttribDivisor(2, 0);
}

TEST_F(ParticleRender, ReleaseFreesEverything) {
    releaseParticles();
    EXPECT_EQ(0u, particlePositionBuffer);
    EXPECT_EQ(nullptr, particlePositionSizeData);
    EXPECT_EQ(nullptr, particleColorData);
    initParticles();  // TearDown releases again
    EXPECT_NE(nullptr, particleColorData);
}

}  // namespace
