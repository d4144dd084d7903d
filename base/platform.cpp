#include "base/platform.h"

#include "base/globals.h"

namespace {

struct GlfwPlatform final : Platform {
    bool keyDown(int glfwKey) override { return glfwGetKey(window, glfwKey) == GLFW_PRESS; }
    void cursor(double& x, double& y) override { glfwGetCursorPos(window, &x, &y); }
    void setCursor(double x, double y) override { glfwSetCursorPos(window, x, y); }
    double now() override { return glfwGetTime(); }
    bool focused() override { return glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0; }
};

GlfwPlatform glfwPlatform;
Platform* current = &glfwPlatform;

}  // namespace

void setPlatform(Platform* platform) { current = platform ? platform : &glfwPlatform; }
bool isKeyDown(int glfwKey) { return current->keyDown(glfwKey); }
void getCursor(double& x, double& y) { current->cursor(x, y); }
void setCursor(double x, double y) { current->setCursor(x, y); }
double clockNow() { return current->now(); }
bool windowFocused() { return current->focused(); }
