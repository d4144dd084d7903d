// One pass of the frame loop, shared by the game and the frame benchmark.
#pragma once

// Runs one frame: the automatic quality, time step, input and game rules,
// scene update, then renderFrame(); swaps, polls events (hotkeys run there),
// stores this frame's view-projection for the next frame's blur.
// `lastFrameTime` is the clock at the start of the previous frame and is
// advanced. Returns false when Escape was held at the end of the frame.
bool runFrame(double& lastFrameTime);

// After a wait without frames (a minimised window): the next frame's time
// step starts now, and the automatic quality forgets the wait.
void resumeFrames(double& lastFrameTime);

// The drawing part of a frame, without input, update, swap or events: the
// render targets sized for the quality level, the shadow map, the 3D content
// into the multisampled scene target, resolved; then the picture into the
// window: copied as it is at full quality, scaled up below full. While the
// player sprints, the 3D content goes into the blur target instead, one
// sample a pixel, and from there blurred into the window. Last the HUD on top
// at the window's own resolution, and the pause screen while paused.
void renderFrame();

// The state every visible pass of a frame starts from and leaves as it found
// it (gpu/gl_state.h): back faces culled, depth test on, alpha blending.
void setFrameState();

// True while the frame goes through the motion-blur pass: W and Space held
// during a run.
bool sprintBlurActive();

// Draws the frame's 3D content into the bound framebuffer, with the frame
// state set: sky and lit scene (the sky last while nothing is see-through),
// then the particles.
void drawFrameContent();

// The passes of a frame, for timing them, in the order they run. Resolve:
// the scene target's samples into one a pixel, then copy (full quality) or
// scale-up (below full); or, sprinting, blur alone.
enum FramePass {
    passShadow,
    passSky,
    passScene,
    passParticles,
    passResolve,
    passCopy,
    passScaleUp,
    passBlur,
    passHud,
    framePassCount
};

// Hooks around each pass; null in the game. The frame benchmark installs one
// to time the passes.
struct FrameProbe {
    virtual ~FrameProbe() = default;
    virtual void begin(FramePass pass) = 0;
    virtual void end(FramePass pass) = 0;
};
extern FrameProbe* frameProbe;
