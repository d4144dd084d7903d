// Per-frame game rules: the pause and its settings screen, mouse and stick
// look, forward movement, the finish line, the restart with Enter, coin
// pick-up, the collisions that send the cat back to the start, the run's
// clock and its score, and the sounds of what happened. Keys, cursor, gamepad
// and clock are read through base/platform.h; the course itself (slabs,
// street, start, finish, speeds) is base/course.h, the score play/score.h.
//
// Keyboard and gamepad side by side: W, the right trigger or A runs; Space,
// the left trigger or B sprints with it; Enter or A starts the next run from
// the end screen; R or Back starts a new run at any moment, as a hit does but
// silently; P or Start pauses and goes on; the arrow keys or the D-pad change
// the settings in the pause.
#pragma once

// The mouse look's speed: radians per pixel per second of a frame at 60
// frames a second, the rate it was tuned at. A pixel of motion turns the view
// by mouseTurnPerPixel whatever the frame time, so a stalled frame does not
// multiply a small move into a jump.
constexpr float mouseSpeed = 0.04f;
constexpr float mouseTurnPerPixel = mouseSpeed * (1.0f / 60.0f);  // radians

// The right stick's look: its rate with the stick all the way over, and the
// dead zone where a stick at rest drifts, past which the rate starts from 0.
constexpr float stickTurnRate = 2.5f;  // radians a second
constexpr float stickDeadZone = 0.2f;  // of the stick's travel

// Camera basis from `horizontalAngle` and `verticalAngle`: writes
// `cameraDirection` (unit length), `cameraRight` (horizontal) and `cameraUp`.
void updateCameraBasis();

// The game rules of one frame; runs in every frame before updateScene, after
// the automatic quality's look at the frame time (app/frame.h tells the frame).
// While paused (and in the frames that pause and go on), only the pause and
// its settings screen are handled, and deltaTime becomes 0, so the cat, the
// coins, the particles and the run's clock stand still. Otherwise it ends
// with the run's clock (playTime, while the run goes on), the judgement of a
// run that finished in this frame (play/score.h), and the scene made opaque
// while transparency mode is off.
void processInput();

// The first run, as the window opens: its clock, at 0, waits for the
// window's first focus. Scene assembly calls it.
void startFirstRun();

// Pauses the run, as P does (a minimised window, say); nothing when paused.
void pauseRun();

// The player runs and sprints during a run that is neither over nor paused:
// the frame goes through the motion blur.
bool sprinting();

// Back to the start: the cat at courseStart, the camera level at
// courseStartYaw, a new coin layout, the cursor recentred next frame, the
// clock restarted and no position tested yet. Leaves `gameOver` and
// `catPosition` alone.
void resetGame();
