#include "render/street_occlusion.h"

#include <cmath>

#include "base/course.h"

namespace {

// True when every corner of the view frustum lies at or ahead of (below) z.
bool viewLiesAhead(const glm::mat4& viewProjection, float z) {
    const glm::mat4 clipToWorld = glm::inverse(viewProjection);
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec4 ndc(corner & 1 ? 1.0f : -1.0f, corner & 2 ? 1.0f : -1.0f, corner & 4 ? 1.0f : -1.0f, 1.0f);
        const glm::vec4 world = clipToWorld * ndc;
        if (world.w <= 0.0f || world.z / world.w > z) return false;
    }
    return true;
}

}  // namespace

// In the y-z plane the kept side is above the line from (eye.z, wall top) to
// (far end, floor). The sight line from the eye (at or below the wall top) to
// a point below that line stays below the line, so it would pass the far end
// below the floor: it comes down to the floor before the end, unless it
// passes a wall's inner plane first, and then below the wall top and above
// the floor, which is through the wall.
std::optional<glm::vec4> streetOcclusionPlane(glm::vec3 eye, const glm::mat4& viewProjection, bool opaque) {
    const bool inside = std::fabs(eye.x) < streetWallX && eye.y > streetFloorY && eye.y <= streetWallTopY &&
                        eye.z < 0.0f && eye.z > streetEndZ;
    if (!opaque || !inside || !viewLiesAhead(viewProjection, eye.z)) return std::nullopt;
    const float fall = (streetWallTopY - streetFloorY) / (eye.z - streetEndZ);  // per unit ahead
    return glm::vec4(0.0f, 1.0f, -fall, fall * eye.z - streetWallTopY);
}
