// The shadow-map pass and the two visible passes (sky, lit scene).
//
// Every pass looks its uniforms up by name at each use and draws in a fixed
// order without sorting: with transparency below 1 that order is also the
// blending order. Each leaves the GL state as it found it (gpu/gl_state.h).
#pragma once

#include <glm/glm.hpp>
#include <vector>

namespace vesk::scene {
class MeshObject;
}

// The camera view the culling tests against: the frame's, or in the culling
// view (base/debug_view.h) the one frozen on entering it.
glm::mat4 cullingViewMatrix();

// With culling on (F8), whether `object` lies wholly outside the culling
// camera's view. Both passes ask the camera, not the light: a caster out of
// view casts no shadow while culling is on.
bool culledThisFrame(const vesk::scene::MeshObject* object);

// Every object under the culling test: the house row, the walls, the coins, the slabs.
std::vector<vesk::scene::MeshObject*> culledKinds();

// Maps light clip coordinates in [-1, 1] to shadow-map coordinates and depth in [0, 1].
glm::mat4 shadowBiasMatrix();

// The light's view: at `lightPosition`, looking straight down, -z up in the image.
glm::mat4 lightViewMatrix();

// Renders the casters' depth as seen from the light into the shadow map and
// sets `depthViewProjection`. Leaves the window bound (bindWindowTarget) and
// depthShader current.
void renderShadowMap();

// Draws the star-textured sky object with skyboxShader, without blending (the
// stars are opaque); not counted.
void renderSkyBox();

// True when the sky goes after the lit scene: while nothing is see-through the
// depth test then spares the sky every pixel the street already covers, which
// is most of the screen. A see-through scene needs the sky behind it first.
bool skyAfterScene();

// Draws every lit object with sceneShader (which must be current), shadowed
// through the shadow map, and sets `drawnObjectCount`; of the street and the
// house row, the triangles beyond the light's reach go with
// unshadowedSceneShader, for the same picture. Blends only while
// `transparency` is below 1. Leaves sceneShader in use.
void renderScene();

// The best run's ghost, where ghostPosition places it (none: nothing): the
// cat's mesh, spinning as the cat does, as a see-through glow with
// ghostShader. It goes after the scene and the sky, over what lies behind
// it, writes no depth, so it hides nothing drawn after it, and is not
// counted as drawn. Leaves ghostShader in use.
void renderGhost();
