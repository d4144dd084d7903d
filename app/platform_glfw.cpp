#include "app/platform_glfw.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "app/window.h"
#include "base/console.h"
#include "base/storage.h"

namespace {

// While the game waits for the player, the pad is sampled this often: a tap
// of a tenth of a second is seen several times over.
constexpr double padSampleSeconds = 1.0 / 60.0;
constexpr size_t mappingsLimit = 1 << 20;  // bytes: SDL's whole database is a few hundred KiB

std::set<std::string> namedJoysticks;  // GUIDs of joysticks without a mapping, said once each

std::string mappingsFile() {
    const std::optional<std::string> folder =
        xdgFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), ".config");
    return folder ? *folder + "/kivo/gamecontrollerdb.txt" : std::string();
}

// A joystick GLFW cannot map to the standard layout is no gamepad to it: say
// so, once, and how to give it a mapping.
void nameUnmapped(int joystick) {
    const char* guid = glfwGetJoystickGUID(joystick);
    if (!guid || !namedJoysticks.insert(guid).second) return;
    const char* name = glfwGetJoystickName(joystick);
    report(std::string("gamepad '") + (name ? name : "?") + "' has no mapping (GUID " + guid +
           "): add an SDL mapping line for it to SDL_GAMECONTROLLERCONFIG or to " + mappingsFile());
}

// Whether `text` holds a line of SDL's mapping format: a 32-digit GUID, a
// comma and the rest. GLFW takes the text whatever it holds and skips what
// it cannot read, so a source without one is said here.
bool holdsMapping(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > 33 && line[32] == ',' &&
            line.find_first_not_of("0123456789abcdefABCDEF") == 32)
            return true;
    }
    return false;
}

// Gives GLFW the mappings of `text`, from `source`; one line when there are none.
void addMappings(const std::string& text, const std::string& source) {
    if (holdsMapping(text)) glfwUpdateGamepadMappings(text.c_str());
    else report(source + " holds no gamepad mapping in SDL's format; its pads keep GLFW's own");
}

struct GlfwPlatform final : Platform {
    bool keyDown(int glfwKey) override { return glfwGetKey(window, glfwKey) == GLFW_PRESS; }
    void cursor(double& x, double& y) override { glfwGetCursorPos(window, &x, &y); }
    void setCursor(double x, double y) override { glfwSetCursorPos(window, x, y); }
    double now() override { return glfwGetTime(); }
    double wallNow() override { return steadySeconds(); }
    bool focused() override { return glfwGetWindowAttrib(window, GLFW_FOCUSED) != 0; }
    bool gamepad(int& id, std::string& name, GamepadState& state) override {
        for (int pad = GLFW_JOYSTICK_1; pad <= GLFW_JOYSTICK_LAST; ++pad) {
            if (!glfwJoystickPresent(pad)) continue;
            GLFWgamepadstate glfwState;
            if (!glfwJoystickIsGamepad(pad) || !glfwGetGamepadState(pad, &glfwState)) {
                nameUnmapped(pad);
                continue;
            }
            const char* padName = glfwGetGamepadName(pad);
            id = pad;
            name = padName ? padName : "gamepad";
            for (int axis = 0; axis < padAxisCount; ++axis) state.axes[axis] = glfwState.axes[axis];
            for (int button = 0; button < padButtonCount; ++button)
                state.buttons[button] = glfwState.buttons[button] == GLFW_PRESS;
            return true;
        }
        return false;
    }
    void pollEvents() override { glfwPollEvents(); }
    void waitForPlayer(double seconds) override {
        const double until = glfwGetTime() + seconds;
        while (!glfwWindowShouldClose(window) && !anyPressSinceFrame()) {
            const double left = until - glfwGetTime();
            if (left <= 0.0) break;
            glfwWaitEventsTimeout(left < padSampleSeconds ? left : padSampleSeconds);
            samplePad();
        }
    }
};

}  // namespace

Platform& windowPlatform() {
    static GlfwPlatform platform;
    return platform;
}

void loadGamepadMappings() {
    if (const char* mappings = std::getenv("SDL_GAMECONTROLLERCONFIG"); mappings && *mappings)
        addMappings(mappings, "SDL_GAMECONTROLLERCONFIG");
    const std::string file = mappingsFile();
    if (file.empty()) return;
    std::string text, problem;
    switch (readBounded(file, mappingsLimit, text, problem)) {
        case ReadOutcome::missing: return;
        case ReadOutcome::tooLarge: report(file + ": larger than 1 MiB; its gamepad mappings are not read"); return;
        case ReadOutcome::notAFile: report(file + ": not a plain file; its gamepad mappings are not read"); return;
        case ReadOutcome::failed: report(file + ": " + problem + "; its gamepad mappings are not read"); return;
        case ReadOutcome::read: addMappings(text, file); return;
    }
}
