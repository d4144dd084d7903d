// The frame's picture off-screen and into the window (app/frame.h tells the
// whole frame): starting the scene or the blur target, the copy at full
// quality, the scale-up below it, and the motion blur, which smears each
// pixel along its screen motion since the previous frame. Sprinting, the
// scene goes into the blur target with one sample a pixel: the smear reaches
// further than four samples would smooth.
#pragma once

#include <GL/glew.h>

// Binds the scene target at blurTargetSize and clears it, for the frame's 3D content.
void startSceneTarget();

// Binds the blur target and clears it, for a sprinting frame's 3D content.
void startBlurTarget();

// At full quality: copies the resolved scene pixel for pixel into the
// window's picture. Leaves the window bound.
void copySceneToWindow();

// Below full quality, without the blur: scales the resolved scene up into
// the window's picture with scaleUpShader, which it leaves in use with
// blurColorTexture on the active unit 0.
void drawScaledUp();

// Draws blurColorTexture, blurred with the help of blurDepthTexture, this
// frame's view-projection and previousViewProjection, into the window.
// Leaves the window bound, blurShader in use, blurDepthTexture on the
// active unit 1 and blurColorTexture on unit 0.
void drawBlurredFrame();

// The debug views of depth (base/debug_view.h): `depthTexture`, written
// through projectionMatrix, linearised into grey over the window's picture,
// white near and black from `shownDistance` world units on. A texture that
// compares on lookup (the shadow map) is read as plain depth meanwhile.
// Leaves the window bound, depthViewShader in use, the texture on unit 0.
void drawDepthPicture(GLuint depthTexture, float shownDistance);

// Darkens the window's picture to `keep` (0 .. 1) of its brightness, behind
// what is drawn next (the pause). Leaves the window bound.
void dimWindow(float keep);
