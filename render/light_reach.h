// How far the light's view reaches along the street, and which triangles of
// a mesh that never moves lie beyond it.
//
// The lit program looks a point up in the shadow map only where the point
// lies in the light's view; everywhere else it finds the point lit without
// a lookup. llvmpipe shades every fragment through both sides of a branch,
// though, so the lit pass draws what lies wholly outside the light's view
// with a second program that has no shadow lookups at all: the same
// lighting, the same picture. This is the CPU half of that choice: no GL.
#pragma once

#include <glm/glm.hpp>
#include <vector>

// The light as the shadow pass sees through it: at `position`, looking
// straight down with the camera's projection, whose [1][1] (the cotangent of
// half its vertical field of view) is `projectionYScale` and runs along z,
// into a shadow map `mapHeight` texels high.
struct LightsView {
    glm::vec3 position;
    float projectionYScale;
    int mapHeight;
};

// Consecutive triangles of a mesh, [first, first + count), all of them
// either within the light's reach (`inReach`) or all beyond it.
struct TriangleRun {
    int first;
    int count;
    bool inReach;
};

// The world z range outside which no point at or above `lowY` lies in the
// light's view, widened by the most the lit shader's normal and slope
// offsets move a point before its lookup. Empty (low above high) when the
// light is not above `lowY`.
glm::vec2 lightsReachAlongZ(const LightsView& light, float lowY);

// The triangles of `spans` (per triangle: lowest and highest world z, lowest
// world y) in their order, cut into the fewest runs each wholly within the
// light's reach or wholly beyond it; one that touches its edge is within.
std::vector<TriangleRun> runsByReach(const std::vector<glm::vec3>& spans, const LightsView& light);
