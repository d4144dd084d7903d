// The per-frame animation step: light above the cat, object updates, the
// cat's two beads following it, and the camera 10 units behind the cat.
#pragma once

// Runs once per frame after processInput() and before any pass (app/frame.h); `deltaTime`
// in seconds. Writes `lightPosition`, `catPosition`, `cameraPosition` and
// `viewMatrix`.
void updateScene(double deltaTime);
