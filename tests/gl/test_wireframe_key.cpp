// The one hotkey that reaches into GL: F3 switches the polygon mode.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/hotkeys.h"

namespace {

GLint polygonMode() {
    GLint modes[2] = {0, 0};  // front, back
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], modes[1]);
    return modes[0];
}

TEST(WireframeKey, F3PressesToggleLinesAndFillForBothFaces) {
    wireframeEnabled = false;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    keyCallback(window, GLFW_KEY_F3, 0, GLFW_PRESS, 0);
    EXPECT_EQ(polygonMode(), GL_LINE);
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_REPEAT, 0);
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_RELEASE, 0);
    EXPECT_EQ(polygonMode(), GL_LINE) << "only presses switch";
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_PRESS, 0);
    EXPECT_EQ(polygonMode(), GL_FILL);
    EXPECT_FALSE(wireframeEnabled);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
