#include "scene/cat.h"

#include <cmath>

#include "base/course.h"
#include "gpu/shader.h"

namespace vesk::scene {

cat::cat(glm::mat4& modelMatrix) : MeshObject(modelMatrix, sceneShader) {
    loadModel(sphereModel, catScale);
    upload();
    this->modelMatrix = translated(this->modelMatrix, courseStart.x, courseStart.y, courseStart.z);
}

void cat::update(double deltaTime) {
    const float angle = static_cast<float>(deltaTime) * 90.0f;
    modelMatrix = rotatedDegrees(modelMatrix, angle, glm::vec3(0.0f, 1.0f, 0.0f));
}

void cat::move(glm::vec3 direction, float speed, float deltaTime) {
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y +
                                   direction.z * direction.z);
    const glm::vec3 step = direction * (1.0f / length) * deltaTime * speed;
    modelMatrix[3][0] += step.x;
    modelMatrix[3][1] += step.y;
    modelMatrix[3][2] += step.z;
}

hierarchy::hierarchy(glm::mat4& modelMatrix) : MeshObject(modelMatrix, sceneShader) {
    loadModel(sphereModel, beadScale);
    upload();
    // Overwritten with the cat's matrix before the first draw.
    this->modelMatrix = translated(this->modelMatrix, courseStart.x, courseStart.y, courseStart.z);
}

void hierarchy::update(double deltaTime) { followCat(deltaTime, -2.0f); }

void hierarchy::move(glm::vec3, float, float) {}

// Expects modelMatrix to hold a fresh copy of the cat's: keeps only its
// translation, raised 1.2, and replaces its rotation with the bead's own spin
// about world z, so the cat's turn never tilts the orbit.
void hierarchy::followCat(double deltaTime, float xOffset) {
    modelMatrix[3][1] += 1.2f;
    const float angle = static_cast<float>(deltaTime * 5.0);
    localRotation = rotationAboutZ(angle) * localRotation;
    // Thousands of float products would slowly shrink the orbit; keeping the
    // 2x2 spin a pure rotation holds the beads on their circle for any run.
    const float length = std::sqrt(localRotation[0][0] * localRotation[0][0] + localRotation[0][1] * localRotation[0][1]);
    localRotation[0] = glm::vec4(localRotation[0][0] / length, localRotation[0][1] / length, 0.0f, 0.0f);
    localRotation[1] = glm::vec4(-localRotation[0][1], localRotation[0][0], 0.0f, 0.0f);
    modelMatrix[0] = glm::vec4(localRotation[0][0], localRotation[0][1], 0.0f, 0.0f);
    modelMatrix[1] = glm::vec4(localRotation[1][0], localRotation[1][1], 0.0f, 0.0f);
    modelMatrix[2] = glm::vec4(0.0f, 0.0f, 1.0f, 0.0f);
    modelMatrix = translated(modelMatrix, xOffset, 0.0, 0.0);
}

hierarchyB::hierarchyB(glm::mat4& modelMatrix) : hierarchy(modelMatrix) {}

void hierarchyB::update(double deltaTime) { followCat(deltaTime, 2.0f); }

}  // namespace vesk::scene
