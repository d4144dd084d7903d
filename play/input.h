// Per-frame game rules: mouse look, forward movement, the finish line, the
// restart with Enter, coin pick-up and the collisions that send the cat back
// to the start. Keys, cursor and clock are read through app/platform.h.
#pragma once

#include <glm/glm.hpp>

// One obstacle slab as a collision box: it is hit when z and x lie strictly
// inside their ranges and y is strictly beyond `yLimit` on the blocked side.
struct ObstacleBox {
    float zMin, zMax;   // world units, both exclusive
    float xMin, xMax;   // world units, both exclusive
    float yLimit;       // world units
    bool blocksAbove;   // true: the space above yLimit is solid; false: below it

    bool contains(glm::vec3 point) const;
};

// The eighteen slabs of the course: rows 0..5 hang above the street (pass
// under them), rows 6..17 stand on it (pass over or beside them).
extern const ObstacleBox obstacleBoxes[18];

bool insideObstacle(glm::vec3 point);  // inside any slab of the course
bool outsideStreet(glm::vec3 point);   // above, below, beside or behind the playable street

// Camera basis from `horizontalAngle` and `verticalAngle`: writes
// `cameraDirection` (unit length), `cameraRight` (horizontal) and `cameraUp`.
void updateCameraBasis();

// The game rules of one frame; runs first in every frame, before updateScene.
void processInput();

// Back to the start: cat at (0, 5, -200), camera looking down the street,
// a new coin layout, the cursor recentred next frame and the clock restarted.
// Leaves `gameOver` and `catPosition` alone.
void resetGame();
