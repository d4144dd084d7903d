// The per-frame animation step: light above the cat, object updates, the
// cat's two beads following it, and the camera 10 units behind the cat.
#pragma once

#include <glm/glm.hpp>

constexpr glm::vec3 lightOffset(0.0f, 30.0f, 3.0f);  // from the cat: above and slightly behind it
constexpr float cameraDistance = 10.0f;              // world units behind the cat

// Runs once per frame after processInput() and before any pass (app/frame.h); `deltaTime`
// in seconds. Writes `lightPosition`, `catPosition`, `cameraPosition` and
// `viewMatrix`.
void updateScene(double deltaTime);
