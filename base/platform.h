// The thin seam between the game and the operating system.
//
// The game reads keys, the cursor, the clock and the window's focus only
// through these functions, never from GLFW directly, so tests can drive the
// real rules and frames with scripted input and chosen times. By default they
// forward to GLFW and the global `window`.
#pragma once

struct Platform {
    virtual ~Platform() = default;
    virtual bool keyDown(int glfwKey) = 0;              // GLFW_KEY_* held right now
    virtual void cursor(double& x, double& y) = 0;      // pixels, window coordinates
    virtual void setCursor(double x, double y) = 0;
    virtual double now() = 0;                           // seconds on the game clock
    virtual double wallNow() = 0;                       // seconds on a steady wall clock, by which
                                                        // the automatic quality measures frames
    virtual bool focused() = 0;                         // the window has the keyboard and pointer
};

// Seconds on the steady wall clock of the machine, from an arbitrary start.
double steadySeconds();

// Replaces the platform (nullptr restores GLFW). The caller keeps ownership.
void setPlatform(Platform* platform);

bool isKeyDown(int glfwKey);
void getCursor(double& x, double& y);
void setCursor(double x, double y);
double clockNow();
double wallClockNow();
bool windowFocused();
