#include "app/platform_glfw.h"

#include <GLFW/glfw3.h>

#include "app/window.h"

namespace {

struct GlfwPlatform final : Platform {
    bool keyDown(int glfwKey) override { return glfwGetKey(window, glfwKey) == GLFW_PRESS; }
    void cursor(double& x, double& y) override { glfwGetCursorPos(window, &x, &y); }
    void setCursor(double x, double y) override { glfwSetCursorPos(window, x, y); }
    double now() override { return glfwGetTime(); }
    double wallNow() override { return steadySeconds(); }
    bool focused() override { return glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0; }
    bool gamepad(std::string& name, GamepadState& state) override {
        for (int pad = GLFW_JOYSTICK_1; pad <= GLFW_JOYSTICK_LAST; ++pad) {
            GLFWgamepadstate glfwState;
            if (!glfwJoystickIsGamepad(pad) || !glfwGetGamepadState(pad, &glfwState)) continue;
            const char* padName = glfwGetGamepadName(pad);
            name = padName ? padName : "gamepad";
            for (int axis = 0; axis <= GLFW_GAMEPAD_AXIS_LAST; ++axis) state.axes[axis] = glfwState.axes[axis];
            for (int button = 0; button <= GLFW_GAMEPAD_BUTTON_LAST; ++button)
                state.buttons[button] = glfwState.buttons[button] == GLFW_PRESS;
            return true;
        }
        return false;
    }
};

}  // namespace

Platform& windowPlatform() {
    static GlfwPlatform platform;
    return platform;
}
