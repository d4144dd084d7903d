// One pass of the frame loop, shared by the game, the GL tests and the frame
// benchmark. This is the one place that tells the order of a frame.
//
// main() runs runFrame() until it returns false; while the window is
// minimised it pauses the run and sleeps instead (app/window.h), and
// resumeFrames() then starts the frame clock afresh. A frame, in order:
//   1. the automatic quality takes the wall time since the last frame (not
//      while paused) and may choose another level; frameSeconds is the game
//      clock's step since the last frame, and deltaTime starts as it;
//   2. processInput (play/input.h): the gamepad is read; the pause gate (P or
//      Start, the focus lost, the first focus not yet had, the settings
//      screen while paused) may end the frame's rules here with deltaTime 0;
//      else the mouse and stick look, the finish line, W, Enter or A on the
//      end screen, then the street limits, the slabs and the coins reached
//      before the first slab hit with their sounds, a restart after a hit,
//      and last the run's clock, the judgement of a run that just finished
//      (its record kept, its sounds), the run's way recorded for a ghost, the
//      best run's ghost placed, and the scene made opaque outside
//      transparency mode;
//   3. updateScene (play/frame_update.h): light, animations, the cat's beads,
//      catPosition, camera and view matrix; the pointer held unless paused;
//   4. renderFrame(): the render targets sized for the quality level, the
//      shadow map, then the 3D content (sky and lit scene in the order
//      skyAfterScene() says, the ghost, the particles) into the 4x
//      multisampled scene target at the level's size, resolved and put into
//      the single-sample window: copied at full, scaled up below; sprinting,
//      the 3D content goes into the blur target instead and is smeared into
//      the window. A debug view (F7, base/debug_view.h) shows a target in
//      place of the picture: the shadow map over it; the scene's depth or the
//      blur's motion from the blur target, which the 3D content then goes
//      into as sprinting; or the culling's spheres over the content, drawn
//      from above the cat. Last the HUD at the window's own resolution, and
//      while paused the picture dimmed under the pause screen; F12's
//      screenshot is read back then, before the swap;
//   5. the swap, a check for GL errors (gpu/gl_check.h), the frame's key
//      presses forgotten, then window events, where the hotkeys' key
//      callback runs (app/hotkeys.h): polled, or while paused waited for up
//      to a quarter of a second, so a still picture costs the machine little;
//   6. Escape, and previousViewProjection kept for the next frame's blur.
//
// The rules rely on one-frame lags:
//   - catPosition is the cat's position as the previous frame's update
//     copied it, before this frame's move: the rules judge where the cat
//     was, one step behind it. The finish line and the street limits test
//     that point; the coins and the slabs test the way from the point the
//     previous frame tested (testedCatPosition) to it, so a long frame
//     cannot carry the cat through a slab or past a coin.
//   - The light is placed from that same copy before the update refreshes
//     it, so it trails the cat by a frame.
//   - The camera basis is built before this frame's mouse movement is read:
//     a turn shows from the next frame on.
//   - Hotkeys run after the frame is drawn and show from the next frame on.
#pragma once

// Runs one frame as above. `lastFrameTime` is the game clock at the start of
// the previous frame and is advanced. Returns false when Escape was held at
// the end of the frame.
bool runFrame(double& lastFrameTime);

// After a wait without frames (a minimised window): the next frame's time
// step starts now, and the automatic quality forgets the wait.
void resumeFrames(double& lastFrameTime);

// The drawing part of a frame (step 4 above), without input, update, swap or
// events.
void renderFrame();

// The state every visible pass of a frame starts from and leaves as it found
// it (gpu/gl_state.h): back faces culled, depth test on, alpha blending.
void setFrameState();

// True while the frame goes through the motion-blur pass: W and Space held
// during a run.
bool sprintBlurActive();

// Draws the frame's 3D content into the bound framebuffer, with the frame
// state set: sky and lit scene (the sky last while nothing is see-through),
// then the ghost and the particles.
void drawFrameContent();

// The passes of a frame, for timing them, in the order they run. Resolve:
// the scene target's samples into one a pixel, then copy (full quality) or
// scale-up (below full); or, sprinting, blur alone.
enum FramePass {
    passShadow,
    passSky,
    passScene,
    passGhost,
    passParticles,
    passResolve,
    passCopy,
    passScaleUp,
    passBlur,
    passHud,
    framePassCount
};

// The passes' names as reports and the lab overlay give them.
extern const char* const framePassNames[framePassCount];

// The game's own CPU work before the passes: the rules (processInput) and
// the update (updateScene).
enum FrameStage { stageRules, stageUpdate };

// Hooks around each frame, stage and pass; null in the game unless the lab
// overlay is shown (app/lab_overlay.h). The frame benchmark and kivo
// --benchmark install one to time the passes (app/frame_timing.h).
struct FrameProbe {
    virtual ~FrameProbe() = default;
    virtual void frameStart() {}
    virtual void stageDone(FrameStage) {}
    virtual void begin(FramePass pass) = 0;
    virtual void end(FramePass pass) = 0;
    // After the swap and the window events: the frame is over.
    virtual void frameEnd() {}
};
extern FrameProbe* frameProbe;
