// The one hotkey that reaches into GL: F3 switches the polygon mode.
#include <gtest/gtest.h>

#include <utility>

#include "app/globals.h"
#include "app/hotkeys.h"

TEST(WireframeKey, F3PressesToggleLinesAndFillForBothFaces) {
    wireframeEnabled = false;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    auto polygonModes = [] {  // front, back
        GLint modes[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        return std::make_pair(modes[0], modes[1]);
    };
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_PRESS, 0);
    EXPECT_EQ(polygonModes(), std::make_pair(GL_LINE, GL_LINE));
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_REPEAT, 0);
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_RELEASE, 0);
    EXPECT_EQ(polygonModes(), std::make_pair(GL_LINE, GL_LINE)) << "only presses switch";
    keyCallback(window, GLFW_KEY_F3, 0, GLFW_PRESS, 0);
    EXPECT_EQ(polygonModes(), std::make_pair(GL_FILL, GL_FILL));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
