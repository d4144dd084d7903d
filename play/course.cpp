#include "play/course.h"

namespace {
constexpr bool hanging = true;    // pass under it
constexpr bool standing = false;  // pass over or beside it
}  // namespace

// Relative to its origin a slab spans x -2.625 .. 12.75 and y -12.625 .. -0.5
// (slabLow, slabHigh): a hanging slab at y 18 reaches down to 5.375, a standing
// one at y 8 rises from the floor to 7.5. Where two slabs share a plane, one
// hangs above the other's gap or they stand side by side.
const Slab courseSlabs[slabCount] = {
    //  slab origin           box: z range      x range       y limit  kind
    {{-9.0f, 8.0f, -220.0f}, {-221, -219, -8.5f, 3.5f, 7, standing}},
    {{-9.0f, 8.0f, -280.0f}, {-281, -279, -8.5f, 3.5f, 7, standing}},
    {{-1.0f, 8.0f, -250.0f}, {-251, -249, -3.5f, 8.5f, 7, standing}},
    {{-9.0f, 18.0f, -280.0f}, {-281, -279, -11.5f, 1.5f, 8, hanging}},
    {{-5.5f, 18.0f, -310.0f}, {-311, -309, -5.5f, 5.5f, 8, hanging}},
    {{-9.0f, 18.0f, -370.0f}, {-371, -369, -11.5f, 1.5f, 8, hanging}},
    {{-1.0f, 8.0f, -370.0f}, {-371, -369, -3.5f, 8.5f, 7, standing}},
    {{-5.5f, 6.0f, -390.0f}, {-391, -389, -5.5f, 5.5f, 5, standing}},
    {{-9.0f, 8.0f, -410.0f}, {-411, -409, -8.5f, 3.5f, 7, standing}},
    {{-9.0f, 18.0f, -420.0f}, {-421, -419, -11.5f, 1.5f, 8, hanging}},
    {{-1.0f, 6.0f, -420.0f}, {-421, -419, -3.5f, 8.5f, 5, standing}},
    {{-5.5f, 8.0f, -440.0f}, {-441, -439, -5.5f, 5.5f, 7, standing}},
    {{-1.0f, 8.0f, -460.0f}, {-461, -459, -3.5f, 8.5f, 7, standing}},
    {{-9.0f, 6.0f, -470.0f}, {-471, -469, -8.5f, 3.5f, 5, standing}},
    {{-5.5f, 18.0f, -490.0f}, {-491, -489, -5.5f, 5.5f, 8, hanging}},
    {{-1.0f, 6.0f, -490.0f}, {-491, -489, -3.5f, 8.5f, 5, standing}},
    {{-9.0f, 8.0f, -510.0f}, {-511, -509, -8.5f, 3.5f, 7, standing}},
    {{-5.5f, 18.0f, -530.0f}, {-531, -529, -5.5f, 5.5f, 8, hanging}},
};

bool ObstacleBox::contains(glm::vec3 p) const {
    const bool inSlab = p.z > zMin && p.z < zMax && p.x > xMin && p.x < xMax;
    return inSlab && (blocksAbove ? p.y > yLimit : p.y < yLimit);
}

bool insideObstacle(glm::vec3 point) {
    for (const Slab& slab : courseSlabs)
        if (slab.box.contains(point)) return true;
    return false;
}

bool outsideStreet(glm::vec3 p) {
    return p.y > streetLimitY[1] || p.y < streetLimitY[0] || p.x > streetLimitX[1] || p.x < streetLimitX[0] ||
           p.z > streetLimitZ;
}
