// The two off-screen render targets, both of the window's size at start-up:
// the shadow map (depth only, compared on lookup) and the motion-blur target
// (colour and depth), plus the full-screen quad the blur pass draws. Below
// full quality both get smaller (render/quality.h), and the blur target then
// also holds the scene that is scaled up into the window.
#pragma once

#include <GL/glew.h>

#include "base/screen_fit.h"

// Creates `shadowFramebuffer` with `shadowMapTexture` as its depth attachment.
// An incomplete framebuffer is reported on stderr and the game goes on.
// Needs a current context; leaves the default framebuffer bound.
void createShadowMapTarget();

// Creates `blurFramebuffer` with `blurColorTexture` and `blurDepthTexture`,
// and `screenQuadBuffer` (two triangles covering clip space). Reports an
// incomplete framebuffer like createShadowMapTarget(). Leaves the blur
// framebuffer bound.
void createBlurTarget();

// Draws into the window from now on: the default framebuffer, with the
// viewport on windowViewport, where the picture lies in it.
void bindWindowTarget();

// Draws into `framebuffer`, one of the two targets, over its whole `size`.
void bindOffscreenTarget(GLuint framebuffer, PixelSize size);

// Gives the shadow map `size` pixels (its contents are lost); nothing when it has them.
void resizeShadowMap(PixelSize size);

// Gives both blur textures `size` pixels (contents lost) and the colour
// texture `colorFilter` for magnifying and minifying: GL_NEAREST while it maps
// pixel for pixel onto the window, GL_LINEAR when it is scaled up into it.
// Nothing when the target has that size already.
void resizeBlurTarget(PixelSize size, GLint colorFilter);

// Deletes every object the two functions above created and sets their
// names back to 0; safe to call when they were never created.
void releaseRenderTargets();
