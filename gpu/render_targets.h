// The off-screen render targets (app/frame.h tells how a frame uses them):
// the shadow map, depth only, compared on lookup; the scene target, 4x
// multisampled, for the 3D content; and the blur target, one sample a
// pixel, into which the scene target is resolved or, sprinting, the scene
// drawn; plus the full-screen quad that reads it into the window. The scene
// and the blur target always have one size: the window's picture at full
// quality, less below (render/quality.h), changed only when the level or the
// window does.
#pragma once

#include <GL/glew.h>

#include "base/screen_fit.h"

// The targets' GL objects, made by the functions below and deleted by
// releaseRenderTargets(); their sizes are base/globals.h's shadowMapSize and
// blurTargetSize.
extern GLuint shadowFramebuffer;
extern GLuint shadowMapTexture;
extern GLuint sceneFramebuffer;   // 4x multisampled: every level draws its 3D content here
extern GLuint sceneColorBuffer;   // its renderbuffers
extern GLuint sceneDepthBuffer;
extern GLuint blurFramebuffer;    // the scene target resolved, one sample a pixel: what the
extern GLuint blurColorTexture;   // copy and the scale-up read; sprinting, the scene itself
extern GLuint blurDepthTexture;
extern GLuint screenQuadBuffer;

// Samples a pixel of the scene target, for smooth edges. Fewer where the
// driver offers fewer.
constexpr int sceneSamples = 4;

// The samples a pixel the scene target has: sceneSamples, or the driver's most.
int sceneTargetSamples();

// Creates `shadowFramebuffer` with `shadowMapTexture` as its depth attachment.
// An incomplete framebuffer is reported on stderr and the game goes on.
// Needs a current context; leaves the default framebuffer bound.
void createShadowMapTarget();

// Creates `sceneFramebuffer` with its two multisampled renderbuffers,
// `blurFramebuffer` with `blurColorTexture` and `blurDepthTexture`, and
// `screenQuadBuffer` (two triangles covering clip space), all of the window's
// size. Reports an incomplete framebuffer like createShadowMapTarget().
// Leaves the blur framebuffer bound.
void createSceneTargets();

// Draws into the window from now on: the default framebuffer, with the
// viewport on windowViewport, where the picture lies in it.
void bindWindowTarget();

// Draws into `framebuffer`, one of the targets, over its whole `size`.
void bindOffscreenTarget(GLuint framebuffer, PixelSize size);

// Gives the shadow map `size` pixels (its contents are lost); nothing when it has them.
void resizeShadowMap(PixelSize size);

// Gives the scene and the blur target `size` pixels (contents lost) and the
// blur colour texture `colorFilter` for magnifying and minifying: GL_NEAREST
// while it maps pixel for pixel onto the window, GL_LINEAR when it is scaled
// up into it. Nothing when they have that size and filter already.
void resizeSceneTargets(PixelSize size, GLint colorFilter);

// Resolves the scene target's colour into the blur target: each pixel's
// samples become one. Leaves the blur target bound for drawing and the scene
// target for reading.
void resolveSceneTarget();

// Deletes every object the functions above created and sets their names back
// to 0; safe to call when they were never created.
void releaseRenderTargets();
