// View-frustum test of bounding spheres.
#pragma once

#include <glm/glm.hpp>

class ViewFrustumCulling {
public:
    virtual ~ViewFrustumCulling() = default;
    // True unless the sphere (model space) lies entirely outside one of the six
    // planes of projection * view * model. Conservative: a sphere straddling a
    // plane or outside only near a corner counts as visible.
    virtual bool isSphereVisible(glm::mat4 projection, glm::mat4 view, glm::mat4 model,
                                 glm::vec3 center, double radius);
};
