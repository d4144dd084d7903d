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

using vesk::scene::GameRaster;
using vesk::scene::MeshObject;
using vesk::scene::SceneObject;

namespace {

constexpr int skyTextureUnit = 5;
constexpr int shadowMapUnit = 20;

// With culling on (F8), whether `object` lies wholly outside the camera's
// view. Both passes ask the camera, not the light: a caster out of view
// casts no shadow while culling is on.
bool outsideView(const MeshObject* object) {
    return frustumCullingEnabled &&
           !frustumCuller->isSphereVisible(projectionMatrix, viewMatrix, object->modelMatrix,
                                           object->boundingCenter, object->boundingRadius);
}

// ---- Shadow pass -------------------------------------------------------------

void setDepthObject(const SceneObject* object) {
    setMatrix(depthShader, "depthMVP", depthViewProjection * object->modelMatrix);
}

void drawDepth(SceneObject* object) {
    setDepthObject(object);
    object->draw();
}

void drawDepthCulled(MeshObject* object) {
    setDepthObject(object);
    if (!outsideView(object)) object->draw();
}

// ---- Lit pass ----------------------------------------------------------------

void bindColorTexture(const Texture* texture, int unit) {
    texture->bind(unit);
    setTextureUnit(sceneShader, "colorTexture", unit);
}

// What the lit program needs of one object besides its mesh: where it lies
// in the shadow map ("DepthBiasMVP"), the shadow map on its unit, and
// "modelMatrix". Leaves the shadow map's unit active.
void setLitObject(const glm::mat4& modelMatrix) {
    setMatrix(sceneShader, "DepthBiasMVP", shadowBiasMatrix() * depthViewProjection * modelMatrix);
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    setTextureUnit(sceneShader, "shadowMap", shadowMapUnit);
    setMatrix(sceneShader, "modelMatrix", modelMatrix);
}

// An object that is always drawn and not counted.
void drawLit(SceneObject* object) {
    setLitObject(object->modelMatrix);
    object->draw();
}

// An object under the culling test; counted when drawn.
void drawLitCulled(MeshObject* object) {
    setLitObject(object->modelMatrix);
    if (outsideView(object)) return;
    object->draw();
    drawnObjectCount += 1;
}

// The next draws of `shader` keep only the kept side of `plane`, or all of
// every triangle when there is none. The plane itself is reset too, not only
// switched off: llvmpipe was seen clipping by a written distance anyway.
void clipTo(const Shader* shader, std::optional<glm::vec4> plane) {
    setVector(shader, "clipPlane", plane.value_or(glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)));
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
    for (vesk::scene::coin* coin : GameRaster::coins) drawDepthCulled(coin);
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
    setTextureUnit(skyboxShader, "colorTexture", skyTextureUnit);
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

    setFloat(sceneShader, "lightPower", lightPower);
    setFloat(sceneShader, "transparency", transparency);
    setVector(sceneShader, "lightPosition_worldspace", lightPosition);
    setMatrix(sceneShader, "projectionMatrix", projectionMatrix);
    setMatrix(sceneShader, "viewMatrix", viewMatrix);

    // The cat, its beads and the lone coin all wear the coin's gold.
    bindColorTexture(coinTexture, 0);
    drawLit(theCat);
    drawLit(catChildA);
    drawLit(catChildB);
    drawLit(coinObject);

    // The houses stand beyond the walls, which hide their lower storeys.
    bindColorTexture(grassTexture, 1);
    clipTo(sceneShader, hiddenByStreet());
    drawLitCulled(houseRow);
    clipTo(sceneShader, std::nullopt);

    // Every coin gets its uniforms, culled or not; only the draw is skipped.
    bindColorTexture(coinTexture, 0);
    for (vesk::scene::coin* coin : GameRaster::coins) drawLitCulled(coin);

    bindColorTexture(metalTexture, 0);
    drawLitCulled(corridorObject);

    bindColorTexture(oldMetalTexture, 0);
    for (vesk::scene::grid* slab : grids) drawLitCulled(slab);

    if (opaque && blending) glEnable(GL_BLEND);
}

void renderGhost() {
    if (!ghostPosition) return;
    glm::mat4 ghost = theCat->modelMatrix;
    ghost[3] = glm::vec4(*ghostPosition, 1.0f);
    const bool blending = glIsEnabled(GL_BLEND) == GL_TRUE;
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glUseProgram(ghostShader->programHandle);
    setMatrix(ghostShader, "projectionMatrix", projectionMatrix);
    setMatrix(ghostShader, "viewMatrix", viewMatrix);
    setMatrix(ghostShader, "modelMatrix", ghost);
    theCat->draw();
    glDepthMask(GL_TRUE);
    if (!blending) glDisable(GL_BLEND);
}
