// Camera motion blur while the player sprints: the frame is rendered into the
// blur target, then smeared along each pixel's screen motion since the
// previous frame and drawn to the window as one full-screen quad.
#pragma once

// Binds blurFramebuffer, clears it and has `drawContent` draw the frame into
// it, then draws the blurred image into the window. On return the default
// framebuffer is bound, blurShader is in use, blurDepthTexture is on the
// active unit 1 and blurColorTexture on unit 0.
void drawMotionBlur(void (*drawContent)());

// Below full quality, without the blur: binds blurFramebuffer, clears it,
// has `drawContent` draw into it at blurTargetSize and scales its image up
// into the window's picture with scaleUpShader, which it leaves in use with
// blurColorTexture on the active unit 0.
void drawScaledUp(void (*drawContent)());

// The second half alone: draws blurColorTexture, blurred with the help of
// blurDepthTexture, this frame's view-projection and previousViewProjection,
// into the default framebuffer. Leaves the same state as drawMotionBlur().
void drawBlurredFrame();

// Darkens the window's picture to `keep` (0 .. 1) of its brightness, behind
// what is drawn next (the pause). Leaves blending off, the blend function
// the frame's, and the window bound.
void dimWindow(float keep);
