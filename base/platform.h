// The thin seam between the game and the operating system.
//
// Game logic never calls GLFW for keys, the cursor or the clock directly but
// goes through these functions, so tests can drive the real rules with
// scripted input and chosen times. By default they forward to GLFW and the
// global `window`.
#pragma once

struct Platform {
    virtual ~Platform() = default;
    virtual bool keyDown(int glfwKey) = 0;              // GLFW_KEY_* held right now
    virtual void cursor(double& x, double& y) = 0;      // pixels, window coordinates
    virtual void setCursor(double x, double y) = 0;
    virtual double now() = 0;                           // seconds on the game clock
    virtual bool focused() = 0;                         // the window has the keyboard and pointer
};

// Replaces the platform (nullptr restores GLFW). The caller keeps ownership.
void setPlatform(Platform* platform);

bool isKeyDown(int glfwKey);
void getCursor(double& x, double& y);
void setCursor(double x, double y);
double clockNow();
bool windowFocused();
