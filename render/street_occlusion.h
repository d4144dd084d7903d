// What the street's floor and walls are sure to hide from the camera.
//
// On a renderer without early depth rejection (llvmpipe with multisampling
// shades every pixel a triangle covers, hidden or not), the house row behind
// the walls and the sky below the street's far end cost much of a frame. A
// clip plane cuts those parts away before they are rasterised. It only ever
// removes points whose line of sight from the eye meets the floor or a wall
// first, so the picture stays the same but for the rounding of the clipped
// triangles' new corners.
#pragma once

#include <glm/glm.hpp>
#include <optional>

// A plane for gl_ClipDistance that may be applied to geometry lying outside
// the street's box (beyond the walls' outer faces, below the floor, past
// either end or above the walls' top): every such point p with
// dot(plane, vec4(p, 1)) < 0 is hidden. Returns none when the street cannot
// be relied on: see-through walls (`opaque` false), an eye outside the street
// or above its walls, or a view (projection * view) that reaches behind the
// eye's z, since the plane only holds ahead of it.
std::optional<glm::vec4> streetOcclusionPlane(glm::vec3 eye, const glm::mat4& viewProjection, bool opaque);
