#include "base/platform.h"

#include <chrono>
#include <map>

namespace {

// Before the game installs the window's platform, and in tests that set
// none: nothing held, no pointer motion, no pad, the steady clock.
struct StillPlatform final : Platform {
    bool keyDown(int) override { return false; }
    void cursor(double& x, double& y) override { x = y = 0.0; }
    void setCursor(double, double) override {}
    double now() override { return steadySeconds(); }
    double wallNow() override { return steadySeconds(); }
    bool focused() override { return true; }
    bool gamepad(std::string&, GamepadState&) override { return false; }
};

StillPlatform stillPlatform;
Platform* current = &stillPlatform;
std::map<int, int> pressedSinceFrame;  // GLFW_KEY_* and how often

}  // namespace

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void setPlatform(Platform* platform) {
    current = platform ? platform : &stillPlatform;
    pressedSinceFrame.clear();
}

void noteKeyEvent(int glfwKey, bool pressed) {
    if (pressed) ++pressedSinceFrame[glfwKey];
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
