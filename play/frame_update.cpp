#include "play/frame_update.h"

#include <glm/gtc/matrix_transform.hpp>

#include "base/globals.h"
#include "scene/world.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/level.h"

namespace {

glm::vec3 translationOf(const glm::mat4& matrix) { return glm::vec3(matrix[3]); }

}  // namespace

void updateScene(double deltaTime) {
    // catPosition still holds last frame's copy, so the light trails by a frame.
    lightPosition = catPosition + lightOffset;

    cubeA->update(deltaTime);
    coinField->update(deltaTime);

    catPosition = translationOf(theCat->modelMatrix);
    theCat->update(deltaTime);

    // The beads copy the cat after its own turn, so they never lag behind it.
    catChildA->modelMatrix = theCat->modelMatrix;
    catChildA->update(deltaTime);
    catChildB->modelMatrix = theCat->modelMatrix;
    catChildB->update(deltaTime);

    coinObject->update(deltaTime);
    cubeB->update(deltaTime);
    corridorObject->update(deltaTime);
    grids[0]->update(deltaTime);
    grids[1]->update(deltaTime);
    skyBox->update(deltaTime);

    cameraPosition = translationOf(theCat->modelMatrix) - cameraDistance * glm::normalize(cameraDirection);
    viewMatrix = glm::lookAt(cameraPosition, cameraPosition + cameraDirection, cameraUp);
}
