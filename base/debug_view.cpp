#include "base/debug_view.h"

#include <glm/gtc/matrix_transform.hpp>

#include "base/globals.h"

DebugView debugView = DebugView::off;
FrozenCamera frozenCamera;

namespace {

struct ViewRow {
    DebugView view;
    const char* name;
};

// In F7's order.
const ViewRow views[] = {
    {DebugView::off, ""},
    {DebugView::shadowMap, "View: shadow map"},
    {DebugView::sceneDepth, "View: scene depth"},
    {DebugView::blurMotion, "View: blur motion"},
    {DebugView::culling, "View: culling"},
};
constexpr int viewCount = sizeof(views) / sizeof(views[0]);

int indexOf(DebugView view) {
    for (int i = 0; i < viewCount; ++i)
        if (views[i].view == view) return i;
    return 0;
}

// Far enough back that the frustum's first hundred units fit the picture.
const glm::vec3 overviewOffset(0.0f, 70.0f, 45.0f);
const glm::vec3 overviewAim(0.0f, 0.0f, -40.0f);

}  // namespace

DebugView nextDebugView(DebugView view) { return views[(indexOf(view) + 1) % viewCount].view; }

const char* debugViewName(DebugView view) { return views[indexOf(view)].name; }

void stepDebugView() {
    debugView = nextDebugView(debugView);
    if (debugView == DebugView::culling) frozenCamera = {viewMatrix, cameraPosition};
}

glm::vec3 overviewPosition(glm::vec3 cat) { return cat + overviewOffset; }

glm::mat4 overviewMatrix(glm::vec3 cat) {
    return glm::lookAt(overviewPosition(cat), cat + overviewAim, glm::vec3(0.0f, 1.0f, 0.0f));
}
