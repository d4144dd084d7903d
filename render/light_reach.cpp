#include "render/light_reach.h"

#include <algorithm>

namespace {

// The lit shader moves a point by at most 1.2 texels along its normal plus 8
// towards the light before the lookup (a texel being 2 depth / mapHeight wide at
// a depth below the light); twice that allows for rounding and the depth the
// move adds.
constexpr float offsetTexels = 2.0f * (1.2f + 8.0f);

}  // namespace

glm::vec2 lightsReachAlongZ(const LightsView& light, float lowY) {
    const float deepest = light.position.y - lowY;
    if (!(deepest > 0.0f) || !(light.projectionYScale > 0.0f) || light.mapHeight <= 0) return {1.0f, 0.0f};
    const float offset = offsetTexels * 2.0f * deepest / static_cast<float>(light.mapHeight);
    // A point `depth` below the light is in its view while |z - light z| is
    // at most depth / projectionYScale.
    const float half = (deepest + offset) / light.projectionYScale + offset;
    return {light.position.z - half, light.position.z + half};
}

std::vector<TriangleRun> runsByReach(const std::vector<glm::vec3>& spans, const LightsView& light) {
    std::vector<TriangleRun> runs;
    for (int i = 0; i < static_cast<int>(spans.size()); ++i) {
        const glm::vec3 span = spans[static_cast<size_t>(i)];
        const glm::vec2 reach = lightsReachAlongZ(light, span.z);
        const bool inReach = reach.x <= reach.y && span.y >= reach.x && span.x <= reach.y;
        if (!runs.empty() && runs.back().inReach == inReach) {
            ++runs.back().count;
        } else {
            runs.push_back({i, 1, inReach});
        }
    }
    return runs;
}
