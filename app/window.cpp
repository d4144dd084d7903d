#include "app/window.h"

#include "base/globals.h"

GLFWwindow* window = nullptr;

namespace {

void followFramebufferSize(GLFWwindow*, int width, int height) {
    // Minimised windows may report nothing: keep the picture's place for their return.
    if (width <= 0 || height <= 0) return;
    windowViewport = centredViewport({width, height}, {screenWidth, screenHeight});
    windowFilled = windowViewport.x == 0 && windowViewport.y == 0 && windowViewport.width == width &&
                   windowViewport.height == height;
}

// The held pointer's position is meant to change only by its moves, but GLFW
// sets it to the point where the pointer crossed into the window, and on a
// busy machine that crossing can arrive a frame after the resume or the focus
// change that started the look from the centre: the view would jerk by the
// distance from the window's edge. The look starts from the centre again.
void restartLookOnEnter(GLFWwindow*, int entered) {
    if (entered) recenterCursor = true;
}

}  // namespace

void holdPointer(bool hold) {
    const int mode = hold ? GLFW_CURSOR_DISABLED : GLFW_CURSOR_NORMAL;
    if (glfwGetInputMode(window, GLFW_CURSOR) == mode) return;
    glfwSetInputMode(window, GLFW_CURSOR, mode);
    if (hold && glfwRawMouseMotionSupported()) glfwSetInputMode(window, GLFW_RAW_MOUSE_MOTION, GLFW_TRUE);
}

void holdPointerAndFollowSize() {
    holdPointer(true);

    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    windowViewport = {0, 0, screenWidth, screenHeight};
    followFramebufferSize(window, width, height);
    glfwSetFramebufferSizeCallback(window, followFramebufferSize);
    glfwSetCursorEnterCallback(window, restartLookOnEnter);
}

bool windowMinimised() { return glfwGetWindowAttrib(window, GLFW_ICONIFIED) != 0; }

void sleepWhileMinimised() {
    while (windowMinimised() && !glfwWindowShouldClose(window)) glfwWaitEvents();
}
