// A test double for the input seam: keys, cursor, gamepad and clocks are
// whatever the test says, so the real game rules can be driven frame by frame.
#pragma once

#include <functional>
#include <optional>
#include <set>

#include "base/platform.h"

class ScriptedPlatform final : public Platform {
public:
    double clock = 0.0;      // seconds returned by now()
    std::optional<double> wallClock;  // seconds returned by wallNow(); the real one when empty
    double cursorAtX = 0.0;  // pixels, window coordinates
    double cursorAtY = 0.0;
    bool hasFocus = true;
    std::optional<GamepadState> pad;  // a connected gamepad's state; none: no gamepad
    int padId = 0;                    // which joystick it is
    std::function<void()> duringWait; // what happens while a paused frame waits for the player

    ScriptedPlatform() { setPlatform(this); }
    ~ScriptedPlatform() override { setPlatform(nullptr); }
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    void hold(int glfwKey) {
        held_.insert(glfwKey);
        noteKeyEvent(glfwKey, true);
    }
    void release(int glfwKey) {
        held_.erase(glfwKey);
        noteKeyEvent(glfwKey, false);
    }
    // Nothing held, nor pressed since the last frame.
    void releaseAll() {
        held_.clear();
        forgetKeyPresses();
    }
    // Pressed and let go again before the next frame reads the keys.
    void tap(int glfwKey) {
        hold(glfwKey);
        release(glfwKey);
    }

    bool keyDown(int glfwKey) override { return held_.count(glfwKey) != 0; }
    void cursor(double& x, double& y) override {
        x = cursorAtX;
        y = cursorAtY;
    }
    void setCursor(double x, double y) override {
        cursorAtX = x;
        cursorAtY = y;
    }
    double now() override { return clock; }
    double wallNow() override { return wallClock ? *wallClock : steadySeconds(); }
    bool focused() override { return hasFocus; }
    bool gamepad(int& id, std::string& name, GamepadState& state) override {
        if (!pad) return false;
        id = padId;
        name = "Scripted Pad";
        state = *pad;
        return true;
    }
    void pollEvents() override {}
    void waitForPlayer(double) override {
        if (duringWait) duringWait();
    }

private:
    std::set<int> held_;
};
