// The thin seam between the game and the operating system.
//
// The game reads keys, the cursor, the gamepad, the clocks and the window's
// focus only through these functions, never from the window system directly,
// so tests can drive the real rules and frames with scripted input and chosen
// times. The game installs the window's own platform once the window is open
// (app/platform_glfw.h); until then, and in tests that install none, nothing
// is held and the clock is the steady one. Keys and pad buttons are named by
// GLFW's codes (GLFW_KEY_*, GLFW_GAMEPAD_*), which are plain numbers here.
//
// No press is lost, however long a frame takes: every key event passes
// through noteKeyEvent() (the window's key callback, or a test), and a key
// pressed since the last frame counts as held for the coming one. The
// gamepad, which sends no events, is sampled by samplePad() at every frame
// and, while the game waits for the player, many times a second, and each
// button pressed between two samples counts as a press for the coming frame.
#pragma once

#include <string>

// A gamepad in GLFW's standard layout (GLFW_GAMEPAD_AXIS_*, GLFW_GAMEPAD_BUTTON_*).
constexpr int padAxisCount = 6, padButtonCount = 15;
struct GamepadState {
    float axes[padAxisCount] = {0, 0, 0, 0, -1, -1};  // sticks -1 .. 1, y down; triggers -1 (free) .. 1
    bool buttons[padButtonCount] = {};                 // held
};

struct Platform {
    virtual ~Platform() = default;
    virtual bool keyDown(int glfwKey) = 0;              // GLFW_KEY_* held right now
    virtual void cursor(double& x, double& y) = 0;      // pixels, window coordinates
    virtual void setCursor(double x, double y) = 0;
    virtual double now() = 0;                           // seconds on the game clock
    virtual double wallNow() = 0;                       // seconds on a steady wall clock, by which
                                                        // the automatic quality measures frames
    virtual bool focused() = 0;                         // the window has the keyboard and pointer
    // The gamepad in use: the first connected one with a mapping, its
    // joystick number, name and state; false when there is none.
    virtual bool gamepad(int& id, std::string& name, GamepadState& state) = 0;
    // Handles the window's events (the key callback runs here).
    virtual void pollEvents() = 0;
    // Waits up to `seconds` for the player: returns at a key press, a pad
    // press (sampling the pad meanwhile), the window closing or the time out.
    virtual void waitForPlayer(double seconds) = 0;
};

// Seconds on the steady wall clock of the machine, from an arbitrary start.
double steadySeconds();

// Replaces the platform (nullptr: the still one). The caller keeps ownership.
void setPlatform(Platform* platform);

// A key event as the window got it: a press, or a release or repeat (which
// count for nothing here).
void noteKeyEvent(int glfwKey, bool pressed);
// The frame has read its keys: presses noted until now are forgotten. The
// frame loop calls it right before it polls the next frame's events.
void forgetKeyPresses();

// Held now, or pressed since the last forgetKeyPresses().
bool isKeyDown(int glfwKey);
// Pressed since the last forgetKeyPresses(), for keys that toggle; and how
// many times, for keys that step through a list.
bool wasKeyPressed(int glfwKey);
int keyPresses(int glfwKey);

// ---- The gamepad, as sampled -------------------------------------------------

struct PadSample {
    bool connected = false;
    int id = -1;           // the platform's joystick number
    std::string name;
    GamepadState state;    // all free while not connected
};

// Reads the pad in use and notes every button pressed since the previous
// sample, while the window has the focus. A pad that has just come, or
// another one in its place (one of two unplugged), presses nothing it
// already holds.
void samplePad();
// The latest sample, and how often `button` was pressed since the last
// forgetKeyPresses().
const PadSample& padSample();
int padPresses(int glfwButton);

// The platform's events and the wait for the player, as above.
void pollEvents();
void waitForPlayer(double seconds);
// A key or a pad button pressed since the last forgetKeyPresses().
bool anyPressSinceFrame();

void getCursor(double& x, double& y);
void setCursor(double x, double y);
double clockNow();
double wallClockNow();
bool windowFocused();
