// HUD text on a real context: the text program maps HUD units onto the
// window, glyph ink comes from the atlas brightness, and the text is never
// hidden by the scene.
#include <gtest/gtest.h>

#include <vector>

#include "gpu/shader.h"
#include "play/text2d.h"
#include "tests/gl/gl_context.h"

namespace {

// A 16 x 16-cell atlas of 8 x 8 pixel cells, black but for the white cell of `inked`.
GLuint makeAtlas(char inked) {
    const int cell = 8, side = 16 * cell;
    std::vector<unsigned char> rgb(side * side * 3, 0);
    const int column = inked % 16, rowFromBottom = 15 - inked / 16;  // GL rows go bottom up
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < 3 * cell; ++x) rgb[((rowFromBottom * cell + y) * side + column * cell) * 3 + x] = 255;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return texture;
}

class HudText : public ::testing::Test {
protected:
    Shader shader{"Shader/normalsText2D.vert", "Shader/normalsText2D.frag"};
    Text2D text;
    GLuint atlas = makeAtlas('A');

    void SetUp() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, 256, 256);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glClearColor(0, 0, 0, 0);
        glUseProgram(shader.programHandle);
        glUniform1i(glGetUniformLocation(shader.programHandle, "myTextureSampler"), 0);
    }
    void TearDown() override {
        glDeleteTextures(1, &atlas);
        glUseProgram(0);
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }

    // Red channel at HUD position (x, y) of a 256 x 256 window: 800 x 600 units.
    static int redAt(float hudX, float hudY) { return readPixels(int(hudX * 256 / 800), int(hudY * 256 / 600), 1, 1)[0]; }
};

TEST_F(HudText, GlyphsLandWhereTheHudPutsThemOverTheSceneAndBlankCellsLeaveNoTrace) {
    // The scene has written depth almost at the near plane everywhere.
    glClearDepth(0.0001);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    text.drawText("BA", 400, 300, 100);
    // "B" is a black cell: nothing drawn. "A" covers x 500..600, y 300..400.
    EXPECT_EQ(0, redAt(450, 350));
    EXPECT_GT(redAt(550, 350), 200);
    EXPECT_EQ(0, redAt(550, 420));
    EXPECT_EQ(0, redAt(650, 350));
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "the passes after the text draw opaque";

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    text.drawText("B", 400, 300, 100);
    float depth = 0.0f;
    glReadPixels(450 * 256 / 800, 350 * 256 / 600, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(1.0f, depth) << "an empty cell wrote depth";

    // The whole HUD area is on screen with y growing upward.
    text.drawText("A", 0, 0, 30);
    text.drawText("A", 700, 300, 30);  // the far end of the longest status line, above the score lines
    EXPECT_GT(redAt(15, 15), 200);
    EXPECT_GT(redAt(715, 315), 200);
    EXPECT_EQ(0, redAt(15, 585));
}

}  // namespace
