#include "render/passes.h"

#include <glm/gtc/matrix_transform.hpp>

#include "base/globals.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/street_occlusion.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/culling.h"
#include "scene/level.h"

using vesk::scene::MeshObject;
using vesk::scene::SceneObject;

namespace {

constexpr int skyTextureUnit = 5;

bool outsideView(MeshObject* object) {
    return frustumCullingEnabled &&
           !frustumCuller->isSphereVisible(projectionMatrix, viewMatrix, object->modelMatrix,
                                           object->boundingCenter, object->boundingRadius);
}

// Shadow pass, one caster: the culled rows use the camera's frustum, not the
// light's, so a caster out of view casts no shadow while culling is on.
void drawDepth(SceneObject* object) {
    setMatrix(depthShader, "depthMVP", depthViewProjection * object->modelMatrix);
    object->draw();
}

void drawDepthCulled(MeshObject* object) {
    setMatrix(depthShader, "depthMVP", depthViewProjection * object->modelMatrix);
    if (outsideView(object)) return;
    object->draw();
}

void bindColorTexture(const Texture* texture, int unit) {
    texture->bind(unit);
    glUniform1i(uniformLocation(sceneShader, "colorTexture"), unit);
}

void setLitObject(const SceneObject* object) {
    setLitObject(sceneShader, object->modelMatrix, shadowBiasMatrix() * depthViewProjection, shadowMapTexture);
}

// Lit pass, one object that is always drawn and not counted.
void drawLit(SceneObject* object) {
    setLitObject(object);
    object->draw();
}

// Lit pass, one object under the culling test; counted when drawn.
void drawLitCulled(MeshObject* object) {
    setLitObject(object);
    if (outsideView(object)) return;
    object->draw();
    drawnObjectCount += 1;
}

// The next draws of `shader` keep only the kept side of `plane`, or all of
// every triangle when there is none. The plane itself is reset too, not only
// switched off: llvmpipe was seen clipping by a written distance anyway.
void clipTo(const Shader* shader, std::optional<glm::vec4> plane) {
    const glm::vec4 keepAll(0.0f, 0.0f, 0.0f, 1.0f);
    const glm::vec4 kept = plane.value_or(keepAll);
    glUniform4f(uniformLocation(shader, "clipPlane"), kept.x, kept.y, kept.z, kept.w);
    if (plane) glEnable(GL_CLIP_DISTANCE0);
    else glDisable(GL_CLIP_DISTANCE0);
}

// What the street hides this frame, for the draws outside its box.
std::optional<glm::vec4> hiddenByStreet() {
    return streetOcclusionPlane(cameraPosition, projectionMatrix * viewMatrix, transparency >= 1.0f);
}

}  // namespace

glm::mat4 shadowBiasMatrix() {
    return glm::mat4(0.5f, 0.0f, 0.0f, 0.0f,
                     0.0f, 0.5f, 0.0f, 0.0f,
                     0.0f, 0.0f, 0.5f, 0.0f,
                     0.5f, 0.5f, 0.5f, 1.0f);
}

glm::mat4 lightViewMatrix() {
    return glm::lookAt(lightPosition, lightPosition + glm::vec3(0.0f, -1.0f, 0.0f),
                       glm::vec3(0.0f, 0.0f, -1.0f));
}

void renderShadowMap() {
    bindOffscreenTarget(shadowFramebuffer, shadowMapSize);
    glCullFace(GL_BACK);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(depthShader->programHandle);

    // The light borrows the camera's perspective projection.
    depthViewProjection = projectionMatrix * lightViewMatrix();

    drawDepth(theCat);
    drawDepthCulled(corridorObject);
    drawDepthCulled(houseRow);
    // The beads carry no bounding sphere; they are always within a few units
    // of the cat, which is never culled either, so they are drawn untested.
    drawDepth(catChildA);
    drawDepth(catChildB);
    coinField->drawDepth(depthShader, depthViewProjection, frustumCullingEnabled, projectionMatrix,
                         viewMatrix);
    for (vesk::scene::grid* slab : grids) drawDepthCulled(slab);

    bindWindowTarget();
}

void renderSkyBox() {
    const bool blending = glIsEnabled(GL_BLEND) == GL_TRUE;
    glDisable(GL_BLEND);
    glUseProgram(skyboxShader->programHandle);
    setMatrix(skyboxShader, "projectionMatrix", projectionMatrix);
    setMatrix(skyboxShader, "viewMatrix", viewMatrix);
    starsTexture->bind(skyTextureUnit);
    glUniform1i(uniformLocation(skyboxShader, "colorTexture"), skyTextureUnit);
    setMatrix(skyboxShader, "modelMatrix", skyBox->modelMatrix);
    clipTo(skyboxShader, hiddenByStreet());
    skyBox->draw();
    clipTo(skyboxShader, std::nullopt);
    if (blending) glEnable(GL_BLEND);
}

bool skyAfterScene() { return transparency >= 1.0f; }

void renderScene() {
    // Written with alpha 1, an object blends to exactly its own colour, so
    // while nothing is see-through blending is switched off: it would cost a
    // read and a blend of every covered sample for the same result.
    const bool opaque = transparency >= 1.0f;
    const bool blending = glIsEnabled(GL_BLEND) == GL_TRUE;
    if (opaque) glDisable(GL_BLEND);

    // The HUD's object count has always started from 2, not 0; the culled
    // rows and the coins are added to it below.
    drawnObjectCount = 2;

    glUniform1f(uniformLocation(sceneShader, "lightPower"), lightPower);
    glUniform1f(uniformLocation(sceneShader, "transparency"), transparency);
    glUniform3f(uniformLocation(sceneShader, "lightPosition_worldspace"), lightPosition.x, lightPosition.y,
                lightPosition.z);
    setMatrix(sceneShader, "projectionMatrix", projectionMatrix);
    setMatrix(sceneShader, "viewMatrix", viewMatrix);

    bindColorTexture(coinTexture, 0);
    drawLit(theCat);
    drawLit(catChildA);  // the beads share the cat's texture on unit 0
    drawLit(catChildB);

    bindColorTexture(coinTexture, 0);
    drawLit(coinObject);

    // The houses stand beyond the walls, which hide their lower storeys.
    bindColorTexture(grassTexture, 1);
    clipTo(sceneShader, hiddenByStreet());
    drawLitCulled(houseRow);
    clipTo(sceneShader, std::nullopt);

    bindColorTexture(coinTexture, 0);
    drawnObjectCount += coinField->drawLit(sceneShader, shadowBiasMatrix(), depthViewProjection,
                                           shadowMapTexture, frustumCullingEnabled, projectionMatrix,
                                           viewMatrix);

    bindColorTexture(metalTexture, 0);
    drawLitCulled(corridorObject);

    bindColorTexture(oldMetalTexture, 0);
    for (vesk::scene::grid* slab : grids) drawLitCulled(slab);

    if (opaque && blending) glEnable(GL_BLEND);
}
