#include "play/input.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdlib>
#include <glm/gtc/constants.hpp>

#include "base/console.h"
#include "base/course.h"
#include "base/globals.h"
#include "base/platform.h"
#include "base/sound.h"
#include "gpu/shader.h"
#include "play/ghost.h"
#include "play/score.h"
#include "play/settings_screen.h"
#include "play/splits.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/world.h"

namespace {

// Puts the cursor back in the middle of the window; the centre is the
// integer half of the window size, as the mouse look measures from it.
void centreCursor() { setCursor(screenWidth / 2, screenHeight / 2); }

// ---- The gamepad -------------------------------------------------------------

// The pad as this frame's rules read it (base/platform.h samples it). The
// pad does nothing while the window lacks the focus: a player busy in
// another window must not change or save the game's settings with it.
struct Pad {
    bool connected = false;  // as this frame read it; the last frame's, between readPad()s
    std::string name;
    bool obeyed = false;     // connected, with the window in focus
    bool held(int button) const { return obeyed && padSample().state.buttons[button]; }
    int presses(int button) const { return obeyed ? padPresses(button) : 0; }
    bool pressed(int button) const { return presses(button) > 0; }
    // A trigger pulled past halfway; -1 is free, 1 all the way.
    bool pulled(int trigger) const { return obeyed && padSample().state.axes[trigger] > 0.0f; }
    // A stick's axis beyond the dead zone, scaled to reach 1 all the same.
    float stick(int axis) const {
        const float value = obeyed ? padSample().state.axes[axis] : 0.0f;
        if (std::fabs(value) < stickDeadZone) return 0.0f;
        return (value - std::copysign(stickDeadZone, value)) / (1.0f - stickDeadZone);
    }
};
Pad pad;
bool hadFocus = false;     // the window had the focus in the last frame
bool everFocused = false;  // it has had the focus since the game started

// Samples this frame's gamepad; a pad that comes or goes says so on the console.
void readPad() {
    samplePad();
    const PadSample& now = padSample();
    if (now.connected && !pad.connected) report("gamepad connected: " + now.name);
    if (!now.connected && pad.connected) report("gamepad disconnected: " + pad.name);
    pad.connected = now.connected;
    pad.name = now.name;
    pad.obeyed = now.connected && windowFocused();
}

bool runHeld() { return isKeyDown(GLFW_KEY_W) || pad.pulled(GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER) || pad.held(GLFW_GAMEPAD_BUTTON_A); }
bool sprintHeld() { return isKeyDown(GLFW_KEY_SPACE) || pad.pulled(GLFW_GAMEPAD_AXIS_LEFT_TRIGGER) || pad.held(GLFW_GAMEPAD_BUTTON_B); }

// ---- The pause ------------------------------------------------------------------

void resume() {
    // The run's clock counts only what was played.
    gameStartTime += clockNow() - pausedSince;
    paused = false;
    recenterCursor = true;  // where the pointer went meanwhile turns nothing
}

// The settings screen of the pause: arrow keys or the D-pad, every press a
// step, however many fall within one of the pause's slow frames.
void useSettingsScreen() {
    auto presses = [](int key, int button) { return keyPresses(key) + pad.presses(button); };
    chooseSettingLine(presses(GLFW_KEY_DOWN, GLFW_GAMEPAD_BUTTON_DPAD_DOWN) -
                      presses(GLFW_KEY_UP, GLFW_GAMEPAD_BUTTON_DPAD_UP));
    // The order of the presses within a frame is not known, so they count as
    // their balance: three left and one right at the top of a range end two
    // steps down, not three, which going right first against the top would give.
    const int right = presses(GLFW_KEY_RIGHT, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT) -
                      presses(GLFW_KEY_LEFT, GLFW_GAMEPAD_BUTTON_DPAD_LEFT);
    for (int step = 0; step < std::abs(right); ++step) changeSettingValue(right > 0 ? 1 : -1);
}

}  // namespace

void startFirstRun() {
    hadFocus = everFocused = false;
    playTime = 0.0;
    gameStartTime = clockNow();
}

void pauseRun() {
    if (paused) return;
    paused = true;
    pausedSince = clockNow();
}

bool sprinting() { return !paused && !gameOver && runHeld() && sprintHeld(); }

void updateCameraBasis() {
    const double h = horizontalAngle;
    const double v = verticalAngle;
    cameraDirection = glm::vec3(static_cast<float>(std::cos(v) * std::sin(h)),
                                static_cast<float>(std::sin(v)),
                                static_cast<float>(std::cos(v) * std::cos(h)));
    cameraRight = glm::vec3(static_cast<float>(std::sin(h - glm::half_pi<double>())), 0.0f,
                            static_cast<float>(std::cos(h - glm::half_pi<double>())));
    cameraUp = glm::cross(cameraRight, cameraDirection);
}

namespace {

// ---- The pause gate ---------------------------------------------------------------

// A run never moves without the player: it waits for the window's first
// focus before its clock starts, the window losing the focus pauses it, and
// only P or Start go on. The frame that pauses, every paused frame, the
// frame that goes on and the frames before the first focus take no step at
// all. True when this frame is one of those.
bool pauseGate() {
    const bool focused = windowFocused();
    const bool lostFocus = hadFocus && !focused;
    if (focused) everFocused = true;
    hadFocus = focused;
    const bool toggle = wasKeyPressed(GLFW_KEY_P) || pad.pressed(GLFW_GAMEPAD_BUTTON_START);
    if (paused || lostFocus || toggle) {
        if (lostFocus || (toggle && !paused)) pauseRun();
        else if (toggle && focused) resume();
        else useSettingsScreen();
        deltaTime = 0.0f;
        return true;
    }
    if (!everFocused) {
        gameStartTime = clockNow() - playTime;  // the clock has not started yet
        deltaTime = 0.0f;
        return true;
    }
    return false;
}

// ---- The look ---------------------------------------------------------------------

// The mouse and the right stick turn the view; the camera basis is built
// before this frame's turn, so a turn shows from the next frame on.
void lookAround() {
    // The mouse look reads motion only while the window has focus: without it
    // the cursor cannot be put back in the centre, and the same offset would
    // turn the view again every frame. Back in focus, it starts from the
    // centre without a turn, as after a restart.
    const bool focused = windowFocused();
    if (!focused) recenterCursor = true;
    if (focused && recenterCursor) {
        getCursor(cursorX, cursorY);
        centreCursor();
        recenterCursor = false;
    }

    updateCameraBasis();

    // Up on the mouse or the stick looks up, unless the player turned that round.
    const float up = invertY ? -1.0f : 1.0f;
    if (focused) {
        getCursor(cursorX, cursorY);
        centreCursor();
        const float turn = mouseTurnPerPixel * mouseSensitivity;
        horizontalAngle += turn * static_cast<float>(screenWidth / 2 - cursorX);
        verticalAngle += up * turn * static_cast<float>(screenHeight / 2 - cursorY);
    }
    // The stick turns at a rate, so its turn is the frame's share of it.
    const float stickTurn = stickTurnRate * mouseSensitivity * deltaTime;
    horizontalAngle -= stickTurn * pad.stick(GLFW_GAMEPAD_AXIS_RIGHT_X);
    verticalAngle -= up * stickTurn * pad.stick(GLFW_GAMEPAD_AXIS_RIGHT_Y);  // y grows downwards
}

// ---- Movement ---------------------------------------------------------------------

// The finish line ends the run; until then W (or the pad) runs the cat where
// the camera looks, Space (or the pad) sprints.
void runForward() {
    if (catPosition.z < finishLineZ) gameOver = true;

    catSpeed = walkSpeed;
    if (sprintHeld()) catSpeed += sprintBonus;

    if (runHeld() && !gameOver) {
        theCat->move(cameraDirection, catSpeed, deltaTime);
        newBestScore = false;
    }
}

// ---- The rules --------------------------------------------------------------------

// Enter or A on the end screen starts the next run; true when it did.
bool nextRunFromTheEndScreen() {
    if (!gameOver || !(isKeyDown(GLFW_KEY_ENTER) || pad.pressed(GLFW_GAMEPAD_BUTTON_A))) return false;
    resetGame();
    gameOver = false;
    return true;
}

// R or Back starts a new run at once, wherever the cat is, as a hit does
// but without its sound; on the end screen too. True when it did.
bool restartAtOnce() {
    if (!wasKeyPressed(GLFW_KEY_R) && !pad.pressed(GLFW_GAMEPAD_BUTTON_BACK)) return false;
    resetGame();
    gameOver = false;
    return true;
}

// The street, the slabs and the coins, judged on the position copied before
// this frame's move. The street is a box and the finish a plane the cat
// crosses once, so the point tells all there is to tell about them; a slab
// or a coin can lie between two frames' points, so those rules follow the way
// the cat went since the previous test. A run's first test has no way yet.
void judgeTheWay(bool restarted) {
    const glm::vec3 from = testedCatPosition.value_or(catPosition);
    const bool offStreet = outsideStreet(catPosition);
    const double slab = obstacleEntryAlong(from, catPosition);
    // Coins beyond the slab the cat hits were never reached.
    const int coinsBefore = coinField->collectedCount;
    coinField->collect(from, catPosition, slab < 0.0 ? 1.0 : slab);
    for (int coin = coinsBefore; coin < coinField->collectedCount; ++coin) playSound(Sound::coin);
    // After a restart this frame's copy is stale; the next frame's copy, at
    // the start, begins the new run's way. A run's first test, from where the
    // cat stood before it was put at the start, is no hit the player made.
    if (offStreet || slab >= 0.0) {
        if (testedCatPosition) playSound(Sound::hit);
        resetGame();
    } else if (!restarted) {
        testedCatPosition = catPosition;
    }
}

// ---- The run's clock --------------------------------------------------------------

// The run's clock runs while it is played and stops at the finish, which
// judges the run with the coins it took: those on the way to the line count,
// and after a hit in the same frame, none. The run's way is recorded up to
// there, and the best run's ghost keeps step.
void keepTheRunsClock(bool finishedNow) {
    if (!gameOver) {
        playTime = clockNow() - gameStartTime;
        recordWay(playTime, glm::vec3(theCat->modelMatrix[3]));
        followCheckpoints(playTime, glm::vec3(theCat->modelMatrix[3]), clockNow());
    } else if (finishedNow) {
        finishSplits(playTime);
        judgeRun(coinField->collectedCount);
        playSound(Sound::finish);
        if (newBestScore) playSound(Sound::newBest);
    }
    followGhost(playTime);

    // Out of transparency mode the scene is opaque, whatever 3 and 4 did; on
    // the end screen it stays as it was.
    if (!gameOver && !transparencyEnabled) transparency = 1.0f;
}

}  // namespace

void processInput() {
    const bool wasOver = gameOver;
    readPad();
    if (pauseGate()) return;
    lookAround();
    runForward();
    judgeTheWay(nextRunFromTheEndScreen() || restartAtOnce());
    keepTheRunsClock(gameOver && !wasOver);
}

void resetGame() {
    glm::mat4& catMatrix = theCat->modelMatrix;
    catMatrix[3] = glm::vec4(courseStart, catMatrix[3][3]);

    verticalAngle = 0.0f;
    horizontalAngle = courseStartYaw;
    updateCameraBasis();

    coinField->clear();
    coinField->build(sceneShader);

    recenterCursor = true;
    gameStartTime = clockNow();
    testedCatPosition.reset();  // the way back to the start is no way the cat went
    startWay(courseStart);
    startSplits();
}
