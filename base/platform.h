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
// No key press is lost, however long a frame takes: every key event passes
// through noteKeyEvent() (the window's key callback, or a test), and a key
// pressed since the last frame counts as held for the coming one.
#pragma once

#include <string>

// A gamepad in GLFW's standard layout (GLFW_GAMEPAD_AXIS_*, GLFW_GAMEPAD_BUTTON_*).
struct GamepadState {
    float axes[6] = {0, 0, 0, 0, -1, -1};  // sticks -1 .. 1, y down; triggers -1 (free) .. 1
    bool buttons[15] = {};                  // held
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
    // The first connected gamepad: its name and state; false when there is none.
    virtual bool gamepad(std::string& name, GamepadState& state) = 0;
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

bool readGamepad(std::string& name, GamepadState& state);
void getCursor(double& x, double& y);
void setCursor(double x, double y);
double clockNow();
double wallClockNow();
bool windowFocused();
