#include "base/platform.h"

#include <chrono>

#include "base/globals.h"

namespace {

struct GlfwPlatform final : Platform {
    bool keyDown(int glfwKey) override { return glfwGetKey(window, glfwKey) == GLFW_PRESS; }
    void cursor(double& x, double& y) override { glfwGetCursorPos(window, &x, &y); }
    void setCursor(double x, double y) override { glfwSetCursorPos(window, x, y); }
    double now() override { return glfwGetTime(); }
    double wallNow() override { return steadySeconds(); }
    bool focused() override { return glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0; }
};

GlfwPlatform glfwPlatform;
Platform* current = &glfwPlatform;

}  // namespace

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void setPlatform(Platform* platform) { current = platform ? platform : &glfwPlatform; }
bool isKeyDown(int glfwKey) { return current->keyDown(glfwKey); }
void getCursor(double& x, double& y) { current->cursor(x, y); }
void setCursor(double x, double y) { current->setCursor(x, y); }
double clockNow() { return current->now(); }
double wallClockNow() { return current->wallNow(); }
bool windowFocused() { return current->focused(); }
