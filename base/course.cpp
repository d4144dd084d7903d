#include "base/course.h"

#include <algorithm>
#include <limits>

namespace {
constexpr bool hanging = true;    // pass under it
constexpr bool standing = false;  // pass over or beside it
}  // namespace

// Relative to its origin a slab spans x -2.625 .. 12.75 and y -12.625 .. -0.5
// (slabLow, slabHigh): a hanging slab at y 18 reaches down to 5.375, a standing
// one at y 8 rises from the floor to 7.5. Where two slabs share a plane, one
// hangs above the other's gap or they stand side by side.
const Slab courseSlabs[slabCount] = {
    //  slab origin x, y, z      box: z range, x range,     y limit, kind
    {{ -9.0f,  8.0f, -220.0f}, {-221, -219,  -8.5f,  3.5f, 7, standing}},
    {{ -9.0f,  8.0f, -280.0f}, {-281, -279,  -8.5f,  3.5f, 7, standing}},
    {{ -1.0f,  8.0f, -250.0f}, {-251, -249,  -3.5f,  8.5f, 7, standing}},
    {{ -9.0f, 18.0f, -280.0f}, {-281, -279, -11.5f,  1.5f, 8, hanging}},
    {{ -5.5f, 18.0f, -310.0f}, {-311, -309,  -5.5f,  5.5f, 8, hanging}},
    {{ -9.0f, 18.0f, -370.0f}, {-371, -369, -11.5f,  1.5f, 8, hanging}},
    {{ -1.0f,  8.0f, -370.0f}, {-371, -369,  -3.5f,  8.5f, 7, standing}},
    {{ -5.5f,  6.0f, -390.0f}, {-391, -389,  -5.5f,  5.5f, 5, standing}},
    {{ -9.0f,  8.0f, -410.0f}, {-411, -409,  -8.5f,  3.5f, 7, standing}},
    {{ -9.0f, 18.0f, -420.0f}, {-421, -419, -11.5f,  1.5f, 8, hanging}},
    {{ -1.0f,  6.0f, -420.0f}, {-421, -419,  -3.5f,  8.5f, 5, standing}},
    {{ -5.5f,  8.0f, -440.0f}, {-441, -439,  -5.5f,  5.5f, 7, standing}},
    {{ -1.0f,  8.0f, -460.0f}, {-461, -459,  -3.5f,  8.5f, 7, standing}},
    {{ -9.0f,  6.0f, -470.0f}, {-471, -469,  -8.5f,  3.5f, 5, standing}},
    {{ -5.5f, 18.0f, -490.0f}, {-491, -489,  -5.5f,  5.5f, 8, hanging}},
    {{ -1.0f,  6.0f, -490.0f}, {-491, -489,  -3.5f,  8.5f, 5, standing}},
    {{ -9.0f,  8.0f, -510.0f}, {-511, -509,  -8.5f,  3.5f, 7, standing}},
    {{ -5.5f, 18.0f, -530.0f}, {-531, -529,  -5.5f,  5.5f, 8, hanging}},
};

double ObstacleBox::entryAlong(glm::vec3 from, glm::vec3 to) const {
    constexpr double far = std::numeric_limits<double>::infinity();
    const glm::dvec3 low(xMin, blocksAbove ? yLimit : -far, zMin);
    const glm::dvec3 high(xMax, blocksAbove ? far : yLimit, zMax);
    return ::entryAlong(from, to, low, high, true);
}

double entryAlong(glm::dvec3 from, glm::dvec3 to, glm::dvec3 low, glm::dvec3 high, bool open) {
    // Along each axis the way lies within the box for the fractions between
    // `enter` and `leave`; a point of the way is in the box where all three
    // agree. Open boxes keep those ends open, so a way that only touches a
    // face stays out.
    double enter = 0.0, leave = 1.0;
    bool enterOpen = false, leaveOpen = false;
    for (int axis = 0; axis < 3; ++axis) {
        const double a = from[axis], step = to[axis] - a;
        if (step == 0.0) {
            const bool within = open ? low[axis] < a && a < high[axis] : low[axis] <= a && a <= high[axis];
            if (!within) return -1.0;
            continue;
        }
        double near = (low[axis] - a) / step, farther = (high[axis] - a) / step;
        if (near > farther) std::swap(near, farther);
        if (near > enter || (near == enter && open)) enter = near, enterOpen = open;
        if (farther < leave || (farther == leave && open)) leave = farther, leaveOpen = open;
    }
    const bool some = enterOpen || leaveOpen ? enter < leave : enter <= leave;
    return some ? enter : -1.0;
}

double obstacleEntryAlong(glm::vec3 from, glm::vec3 to) {
    double first = -1.0;
    for (const Slab& slab : courseSlabs) {
        const double entry = slab.box.entryAlong(from, to);
        if (entry >= 0.0 && (first < 0.0 || entry < first)) first = entry;
    }
    return first;
}

bool outsideStreet(glm::vec3 p) {
    return p.y > streetLimitY[1] || p.y < streetLimitY[0] || p.x > streetLimitX[1] || p.x < streetLimitX[0] ||
           p.z > streetLimitZ;
}
