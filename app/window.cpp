#include "app/window.h"

#include "base/globals.h"

namespace {

void followFramebufferSize(GLFWwindow*, int width, int height) {
    // Minimised windows may report nothing: keep the picture's place for their return.
    if (width <= 0 || height <= 0) return;
    windowViewport = centredViewport({width, height}, {screenWidth, screenHeight});
    windowFilled = windowViewport.x == 0 && windowViewport.y == 0 && windowViewport.width == width &&
                   windowViewport.height == height;
}

}  // namespace

void holdPointerAndFollowSize() {
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    if (glfwRawMouseMotionSupported()) glfwSetInputMode(window, GLFW_RAW_MOUSE_MOTION, GLFW_TRUE);

    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    windowViewport = {0, 0, screenWidth, screenHeight};
    followFramebufferSize(window, width, height);
    glfwSetFramebufferSizeCallback(window, followFramebufferSize);
}

bool sleepWhileMinimised() {
    if (!glfwGetWindowAttrib(window, GLFW_ICONIFIED)) return false;
    while (glfwGetWindowAttrib(window, GLFW_ICONIFIED) && !glfwWindowShouldClose(window)) glfwWaitEvents();
    return true;
}
