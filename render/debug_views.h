// What the culling view (base/debug_view.h) draws over the frame's 3D
// content; the depth views are render/motion_blur.h's, the motion view the
// blur's own.
#pragma once

// Into the bound target, over everything, seen through projectionMatrix and
// viewMatrix (the culling view's camera above the cat): the bounding sphere
// of every object the culling tests, green when this frame's passes drew it
// and red when they culled it, and the frozen camera's frustum, yellow, out
// to where the course's slabs stand. Leaves lineShader in use.
void drawCullingLines();

// Deletes the lines' buffer, made at the first draw; safe when there is none.
void releaseDebugViews();
