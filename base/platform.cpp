#include "base/platform.h"

#include <chrono>
#include <map>

#include "base/globals.h"

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

GlfwPlatform glfwPlatform;
Platform* current = &glfwPlatform;
std::map<int, int> pressedSinceFrame;  // GLFW_KEY_* and how often

}  // namespace

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void setPlatform(Platform* platform) {
    current = platform ? platform : &glfwPlatform;
    pressedSinceFrame.clear();
}

void noteKeyEvent(int glfwKey, int action) {
    if (action == GLFW_PRESS) ++pressedSinceFrame[glfwKey];
}

void forgetKeyPresses() { pressedSinceFrame.clear(); }

bool isKeyDown(int glfwKey) { return current->keyDown(glfwKey) || wasKeyPressed(glfwKey); }
bool wasKeyPressed(int glfwKey) { return keyPresses(glfwKey) > 0; }

int keyPresses(int glfwKey) {
    const auto found = pressedSinceFrame.find(glfwKey);
    return found == pressedSinceFrame.end() ? 0 : found->second;
}
bool readGamepad(std::string& name, GamepadState& state) { return current->gamepad(name, state); }
void getCursor(double& x, double& y) { current->cursor(x, y); }
void setCursor(double x, double y) { current->setCursor(x, y); }
double clockNow() { return current->now(); }
double wallClockNow() { return current->wallNow(); }
bool windowFocused() { return current->focused(); }
