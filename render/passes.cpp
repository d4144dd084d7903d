#include "render/passes.h"

#include <glm/gtc/matrix_transform.hpp>
#include <initializer_list>
#include <vector>

#include "base/debug_view.h"
#include "base/globals.h"
#include "gpu/gl_state.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/batches.h"
#include "render/light_reach.h"
#include "render/quality.h"
#include "render/street_occlusion.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/culling.h"
#include "scene/level.h"
#include "scene/world.h"

using vesk::scene::GameRaster;
using vesk::scene::MeshObject;

namespace {

bool outsideView(const MeshObject* object) { return culledThisFrame(object); }

// Whether any of `object` can land in the picture of a pass that sees the
// world through projectionMatrix and `view`: false only when its bounding
// sphere, a little enlarged against rounding, lies wholly outside. Not
// drawing what cannot land changes no pixel, with culling on or off; an
// object without a bounding sphere always may.
bool mayLand(const MeshObject* object, const glm::mat4& view) {
    if (object->boundingRadius <= 0.0) return true;
    return frustumCuller->isSphereVisible(projectionMatrix, view, object->modelMatrix, object->boundingCenter,
                                          object->boundingRadius * 1.01 + 0.01);
}

// What the pass draws for `object`: at the lowest quality the coarser stand-in
// of the cat, a bead or a coin, otherwise the object's own mesh.
MeshObject* meshOf(MeshObject* object) {
    if (!qualityParameters(qualityLevel).coarseMeshes) return object;
    if (object == theCat) return coarseCat;
    if (object == catChildA || object == catChildB) return coarseBead;
    if (object == coinObject) return coarseCoin;
    return object;
}

// The mesh the field's coins share, or below full its coarser stand-in.
const MeshObject& coinMesh() {
    if (qualityParameters(qualityLevel).coarseMeshes) return *coarseCoin;
    return *coinField->meshOwner;
}

// The objects of a kind, which all draw one mesh, each placed by its own matrix.
struct Kind {
    std::vector<MeshObject*> objects;
    const MeshObject& mesh;
};
Kind coins() { return {{coinField->coins.begin(), coinField->coins.end()}, coinMesh()}; }
Kind slabs() { return {{std::begin(grids), std::end(grids)}, *grids[0]}; }

// ---- Shadow pass -------------------------------------------------------------

void setDepthPlacement(const glm::mat4& model) { setMatrix(depthShader, "depthMVP", depthViewProjection * model); }

void drawDepth(MeshObject* object) {
    setDepthPlacement(object->modelMatrix);
    meshOf(object)->draw();
}

// A caster the camera sees (with culling on) and that lies in the light's view.
bool castsHere(const MeshObject* object) { return !outsideView(object) && mayLand(object, lightViewMatrix()); }

void drawDepthCulled(MeshObject* object) {
    setDepthPlacement(object->modelMatrix);
    if (castsHere(object)) meshOf(object)->draw();
}

// The casters of one kind: in one draw below full quality, else one each.
void drawDepthKind(const Kind& kind, WorldBatch& batch) {
    if (!qualityParameters(qualityLevel).onePerKind) {
        for (MeshObject* object : kind.objects) drawDepthCulled(object);
        return;
    }
    std::vector<glm::mat4> placements;
    for (const MeshObject* object : kind.objects)
        if (castsHere(object)) placements.push_back(object->modelMatrix);
    setDepthPlacement(glm::mat4(1.0f));
    batch.fill(kind.mesh, placements);
    batch.draw();
}

// ---- Lit pass ----------------------------------------------------------------
// Two programs light the scene alike: sceneShader with the shadow map, and
// unshadowedSceneShader without it, for the triangles of the street and the
// house row that the light's view cannot reach (render/light_reach.h).
// Uniforms live in each program, so what both read is set on both; between
// draws sceneShader is in use.

// Runs `set` with each lit program in use, sceneShader last.
template <typename Set>
void onEachLitProgram(Set set) {
    for (const Shader* program : {unshadowedSceneShader, sceneShader}) {
        glUseProgram(program->programHandle);
        set(program);
    }
}

void bindColorTexture(const Texture* texture, int unit) {
    texture->bind(unit);
    onEachLitProgram([unit](const Shader* program) { setTextureUnit(program, "colorTexture", unit); });
}

// What the lit program needs of one placement of a mesh besides the mesh and
// the shadow map: where it lies in the shadow map ("DepthBiasMVP") and "modelMatrix".
void setLitPlacement(const glm::mat4& model) {
    setMatrix(sceneShader, "DepthBiasMVP", shadowBiasMatrix() * depthViewProjection * model);
    setMatrix(sceneShader, "modelMatrix", model);
}

// An object that is never culled nor counted; its draw is skipped only where
// none of it can land in the picture.
void drawLit(MeshObject* object) {
    setLitPlacement(object->modelMatrix);
    if (mayLand(object, viewMatrix)) meshOf(object)->draw();
}

// A mesh that never moves, in the runs of its triangles in their order: those
// within the light's reach with sceneShader, the rest with
// unshadowedSceneShader. Keeping the order keeps a see-through scene's blend.
void drawInRuns(const MeshObject* object) {
    const LightsView light{lightPosition, projectionMatrix[1][1], shadowMapSize.height};
    glUseProgram(unshadowedSceneShader->programHandle);
    setMatrix(unshadowedSceneShader, "modelMatrix", object->modelMatrix);
    const Shader* inUse = unshadowedSceneShader;
    for (const TriangleRun& run : runsByReach(object->triangleSpans, light)) {
        const Shader* program = run.inReach ? sceneShader : unshadowedSceneShader;
        if (program != inUse) glUseProgram(program->programHandle);
        inUse = program;
        object->drawTriangles(run.first, run.count);
    }
    glUseProgram(sceneShader->programHandle);
}

// An object under the culling test; counted when it passes the test, drawn
// or not: the count is what culling let through, and skipping what cannot
// land must change it no more than it changes a pixel.
void drawLitCulled(MeshObject* object) {
    setLitPlacement(object->modelMatrix);
    if (outsideView(object)) {
        culledObjectCount += 1;
        return;
    }
    if (mayLand(object, viewMatrix)) {
        if (object->triangleSpans.empty()) {
            meshOf(object)->draw();
        } else {
            drawInRuns(object);
        }
    }
    drawnObjectCount += 1;
}

// The objects of one kind under the culling test: in one draw below full
// quality, else one each; counted alike, as drawLitCulled counts.
void drawLitKind(const Kind& kind, WorldBatch& batch) {
    if (!qualityParameters(qualityLevel).onePerKind) {
        for (MeshObject* object : kind.objects) drawLitCulled(object);
        return;
    }
    std::vector<glm::mat4> placements;
    for (const MeshObject* object : kind.objects) {
        if (outsideView(object)) {
            culledObjectCount += 1;
            continue;
        }
        drawnObjectCount += 1;
        if (mayLand(object, viewMatrix)) placements.push_back(object->modelMatrix);
    }
    setLitPlacement(glm::mat4(1.0f));
    batch.fill(kind.mesh, placements);
    batch.draw();
}

// What the street hides this frame, for the draws outside its box.
std::optional<glm::vec4> hiddenByStreet() {
    return streetOcclusionPlane(cameraPosition, projectionMatrix * viewMatrix, transparency >= 1.0f);
}

// While it lives, the draws of `programs` keep only what the street does not
// hide this frame (all of every triangle when it hides nothing). After, the
// plane is reset as well as switched off: llvmpipe was seen clipping by a
// written distance anyway. Setting the plane leaves the last program in use.
class StreetClip {
public:
    explicit StreetClip(std::initializer_list<const Shader*> programs)
        : programs_(programs), plane_(hiddenByStreet()), clipping_(GL_CLIP_DISTANCE0, plane_.has_value()) {
        setPlane(plane_.value_or(keepsAll));
    }
    ~StreetClip() { setPlane(keepsAll); }
    StreetClip(const StreetClip&) = delete;
    StreetClip& operator=(const StreetClip&) = delete;

private:
    static constexpr glm::vec4 keepsAll{0.0f, 0.0f, 0.0f, 1.0f};  // every point at distance 1 in front
    void setPlane(glm::vec4 plane) const {
        for (const Shader* program : programs_) {
            glUseProgram(program->programHandle);
            setVector(program, "clipPlane", plane);
        }
    }
    std::vector<const Shader*> programs_;
    std::optional<glm::vec4> plane_;
    GlSwitch clipping_;
};

}  // namespace

glm::mat4 cullingViewMatrix() { return debugView == DebugView::culling ? frozenCamera.view : viewMatrix; }

bool culledThisFrame(const MeshObject* object) {
    return frustumCullingEnabled &&
           !frustumCuller->isSphereVisible(projectionMatrix, cullingViewMatrix(), object->modelMatrix,
                                           object->boundingCenter, object->boundingRadius);
}

std::vector<MeshObject*> culledKinds() {
    std::vector<MeshObject*> objects{houseRow, corridorObject};
    objects.insert(objects.end(), coinField->coins.begin(), coinField->coins.end());
    objects.insert(objects.end(), std::begin(grids), std::end(grids));
    return objects;
}

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
    drawDepthKind(coins(), *coinBatch);
    drawDepthKind(slabs(), *slabBatch);

    bindWindowTarget();
}

void renderSkyBox() {
    const GlSwitch opaqueStars(GL_BLEND, false);
    glUseProgram(skyboxShader->programHandle);
    setMatrix(skyboxShader, "projectionMatrix", projectionMatrix);
    setMatrix(skyboxShader, "viewMatrix", viewMatrix);
    starsTexture->bind(skyUnit);
    setTextureUnit(skyboxShader, "colorTexture", skyUnit);
    setMatrix(skyboxShader, "modelMatrix", skyBox->modelMatrix);
    const StreetClip clipped({skyboxShader});
    skyBox->draw();
}

bool skyAfterScene() { return transparency >= 1.0f; }

void renderScene() {
    // Written with alpha 1, an object blends to exactly its own colour, so
    // while nothing is see-through blending is switched off: it would cost a
    // read and a blend of every covered sample for the same result.
    const GlSwitch blending(GL_BLEND, transparency < 1.0f);

    // The HUD's object count has always started from 2, not 0; the culled
    // rows and the coins are added to it below.
    drawnObjectCount = 2;
    culledObjectCount = 0;

    onEachLitProgram([](const Shader* program) {
        setFloat(program, "lightPower", lightPower);
        setFloat(program, "transparency", transparency);
        setVector(program, "lightPosition_worldspace", lightPosition);
        setMatrix(program, "projectionMatrix", projectionMatrix);
        setMatrix(program, "viewMatrix", viewMatrix);
    });
    // The shadow map has a unit of its own, which no colour texture takes.
    glActiveTexture(GL_TEXTURE0 + shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    setTextureUnit(sceneShader, "shadowMap", shadowMapUnit);

    // The cat, its beads and the lone coin all wear the coin's gold.
    bindColorTexture(coinTexture, firstColorUnit);
    drawLit(theCat);
    drawLit(catChildA);
    drawLit(catChildB);
    drawLit(coinObject);

    // The houses stand beyond the walls, which hide their lower storeys.
    bindColorTexture(grassTexture, secondColorUnit);
    {
        const StreetClip clipped({unshadowedSceneShader, sceneShader});
        drawLitCulled(houseRow);
    }

    // At full quality every coin gets its placement, culled or not, and only
    // its draw is skipped; below it, one draw places those culling let through.
    bindColorTexture(coinTexture, firstColorUnit);
    drawLitKind(coins(), *coinBatch);

    bindColorTexture(metalTexture, firstColorUnit);
    drawLitCulled(corridorObject);

    bindColorTexture(oldMetalTexture, firstColorUnit);
    drawLitKind(slabs(), *slabBatch);
}

void renderGhost() {
    if (!ghostPosition) return;
    glm::mat4 ghost = theCat->modelMatrix;
    ghost[3] = glm::vec4(*ghostPosition, 1.0f);
    const GlBlending glow(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const GlDepthWrites hidesNothing(false);
    glUseProgram(ghostShader->programHandle);
    setMatrix(ghostShader, "projectionMatrix", projectionMatrix);
    setMatrix(ghostShader, "viewMatrix", viewMatrix);
    setMatrix(ghostShader, "modelMatrix", ghost);
    theCat->draw();
}
