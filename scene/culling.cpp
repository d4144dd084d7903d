#include "scene/culling.h"

#include <cmath>

bool ViewFrustumCulling::isSphereVisible(glm::mat4 projection, glm::mat4 view, glm::mat4 model,
                                         glm::vec3 center, double radius) {
    const glm::mat4 clip = projection * (view * model);
    // Row i of the clip matrix; GLM indexes [column][row].
    auto row = [&clip](int i) { return glm::vec4(clip[0][i], clip[1][i], clip[2][i], clip[3][i]); };
    const glm::vec4 planes[6] = {
        row(3) - row(0),  // right
        row(3) + row(0),  // left
        row(3) + row(1),  // bottom
        row(3) - row(1),  // top
        row(3) - row(2),  // far
        row(3) + row(2),  // near
    };
    for (const glm::vec4& p : planes) {
        const float length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        const glm::vec4 n = p / length;
        const float distance = n.x * center.x + n.y * center.y + n.z * center.z + n.w;
        if (static_cast<double>(distance) <= -radius) return false;
    }
    return true;
}
