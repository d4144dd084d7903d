#include "base/platform.h"

#include <algorithm>
#include <chrono>
#include <iterator>
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
    bool gamepad(int&, std::string&, GamepadState&) override { return false; }
    void pollEvents() override {}
    void waitForPlayer(double) override {}
};

StillPlatform stillPlatform;
Platform* current = &stillPlatform;
std::map<int, int> pressedSinceFrame;  // GLFW_KEY_* and how often
PadSample pad;                          // the latest sample
int padPressed[padButtonCount] = {};    // GLFW_GAMEPAD_BUTTON_* since the frame, how often

}  // namespace

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void setPlatform(Platform* platform) {
    current = platform ? platform : &stillPlatform;
    pressedSinceFrame.clear();
    pad = PadSample{};
    std::fill(std::begin(padPressed), std::end(padPressed), 0);
}

void noteKeyEvent(int glfwKey, bool pressed) {
    if (pressed) ++pressedSinceFrame[glfwKey];
}

void forgetKeyPresses() {
    pressedSinceFrame.clear();
    std::fill(std::begin(padPressed), std::end(padPressed), 0);
}

bool isKeyDown(int glfwKey) { return current->keyDown(glfwKey) || wasKeyPressed(glfwKey); }
bool wasKeyPressed(int glfwKey) { return keyPresses(glfwKey) > 0; }

int keyPresses(int glfwKey) {
    const auto found = pressedSinceFrame.find(glfwKey);
    return found == pressedSinceFrame.end() ? 0 : found->second;
}

void samplePad() {
    PadSample now;
    now.connected = current->gamepad(now.id, now.name, now.state);
    if (!now.connected) now.state = GamepadState{};
    // A press made while the window lacks the focus was meant for another.
    if (now.connected && pad.connected && now.id == pad.id && current->focused())
        for (int button = 0; button < padButtonCount; ++button)
            padPressed[button] += now.state.buttons[button] && !pad.state.buttons[button];
    pad = now;
}

const PadSample& padSample() { return pad; }

int padPresses(int glfwButton) {
    return glfwButton >= 0 && glfwButton < padButtonCount ? padPressed[glfwButton] : 0;
}

bool anyPressSinceFrame() {
    return !pressedSinceFrame.empty() || std::any_of(std::begin(padPressed), std::end(padPressed), [](int n) { return n > 0; });
}

void pollEvents() { current->pollEvents(); }
void waitForPlayer(double seconds) { current->waitForPlayer(seconds); }

void getCursor(double& x, double& y) { current->cursor(x, y); }
void setCursor(double x, double y) { current->setCursor(x, y); }
double clockNow() { return current->now(); }
double wallClockNow() { return current->wallNow(); }
bool windowFocused() { return current->focused(); }
