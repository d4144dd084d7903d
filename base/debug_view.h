// The debug views (F7): what the frame's own targets hold, shown in place of
// the picture. The cycle, the names and the culling view's frozen camera need
// no GL; render/debug_views.h draws them.
#pragma once

#include <glm/glm.hpp>

enum class DebugView {
    off,
    shadowMap,   // the light's depth, grey
    sceneDepth,  // the camera's depth, linearised
    blurMotion,  // how far and which way the blur smears each pixel
    culling,     // the frustum as it was, seen from above the cat, spheres by the culling's verdict
};

// The view after `view` in F7's cycle; off follows the last.
DebugView nextDebugView(DebugView view);

// What the HUD names the view by: "View: shadow map"; empty for off.
const char* debugViewName(DebugView view);

extern DebugView debugView;  // F7's choice; off at every start

// The camera the culling view froze: the culling tests it, not the camera
// that draws. Set on entering the view.
struct FrozenCamera {
    glm::mat4 view{1.0f};
    glm::vec3 position{0.0f};
};
extern FrozenCamera frozenCamera;

// F7: the next view; entering the culling view freezes the camera as it is
// (viewMatrix, cameraPosition).
void stepDebugView();

// The camera of the culling view: pulled back above and behind `cat`,
// looking down the course, so the frozen frustum and what lies outside it are
// both in sight.
glm::vec3 overviewPosition(glm::vec3 cat);
glm::mat4 overviewMatrix(glm::vec3 cat);
