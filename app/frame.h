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
// render targets sized for the quality level, the shadow map, then one path:
// at full quality straight into the window; while W and Space are held during
// a run, through the motion blur; below full, the scene drawn small and
// scaled up (or blurred) into the window, with the HUD drawn on it at the
// window's own resolution.
void renderFrame();

// The state every visible pass of a frame draws with: back faces culled,
// depth test on, alpha blending.
void setFrameState();

// True while the frame goes through the motion-blur pass: W and Space held
// during a run.
bool sprintBlurActive();

// Where a frame's content goes: straight into the window, into the blur
// target that the motion blur then smears, or, below full quality, into the
// blur target to be scaled up, the HUD left for the window.
enum class FramePath { normal, blur, scene };

// Draws what a frame shows into the bound framebuffer, with the frame state
// set: sky and lit scene, the ghost, then the HUD and the particles (on the
// blur path the particles first; on the scene path no HUD).
void drawFrameContent(FramePath path);

// The passes of a frame, for timing them. The blur pass, and below full
// quality the scaling up, holds the others of its frame.
enum FramePass { passShadow, passSky, passScene, passHud, passParticles, passBlur, passScaleUp, framePassCount };

// Hooks around each pass; null in the game. The frame benchmark installs one
// to time the passes.
struct FrameProbe {
    virtual ~FrameProbe() = default;
    virtual void begin(FramePass pass) = 0;
    virtual void end(FramePass pass) = 0;
};
extern FrameProbe* frameProbe;
