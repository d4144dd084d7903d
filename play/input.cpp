#include "play/input.h"

#include <cmath>

#include "app/globals.h"
#include "app/platform.h"
#include "scene/cat.h"
#include "scene/coins.h"

namespace {

constexpr float mouseSpeed = 0.04f;         // radians per pixel per second
constexpr double rightAngleOffset = 1.570795;
constexpr float startYaw = 3.14159f;        // radians: looking down the street (-z)
constexpr float walkSpeed = 10.0f;          // units per second
constexpr float sprintBonus = 20.0f;        // units per second on top while Space is held
constexpr float finishLineZ = -550.0f;
const glm::vec3 startPosition(0.0f, 5.0f, -200.0f);

// Puts the cursor back in the middle of the window; the centre is the
// integer half of the window size, as the mouse look measures from it.
void centreCursor() { setCursor(screenWidth / 2, screenHeight / 2); }

}  // namespace

bool ObstacleBox::contains(glm::vec3 p) const {
    const bool inSlab = p.z > zMin && p.z < zMax && p.x > xMin && p.x < xMax;
    return inSlab && (blocksAbove ? p.y > yLimit : p.y < yLimit);
}

const ObstacleBox obstacleBoxes[18] = {
    {-311, -309, -5.5f, 5.5f, 8, true},  {-371, -369, -11.5f, 1.5f, 8, true},
    {-281, -279, -11.5f, 1.5f, 8, true}, {-421, -419, -11.5f, 1.5f, 8, true},
    {-491, -489, -5.5f, 5.5f, 8, true},  {-531, -529, -5.5f, 5.5f, 8, true},
    {-221, -219, -8.5f, 3.5f, 7, false}, {-251, -249, -3.5f, 8.5f, 7, false},
    {-281, -279, -8.5f, 3.5f, 7, false}, {-371, -369, -3.5f, 8.5f, 7, false},
    {-391, -389, -5.5f, 5.5f, 5, false}, {-411, -409, -8.5f, 3.5f, 7, false},
    {-421, -419, -3.5f, 8.5f, 5, false}, {-441, -439, -5.5f, 5.5f, 7, false},
    {-461, -459, -3.5f, 8.5f, 7, false}, {-471, -469, -8.5f, 3.5f, 5, false},
    {-491, -489, -3.5f, 8.5f, 5, false}, {-511, -509, -8.5f, 3.5f, 7, false},
};

bool insideObstacle(glm::vec3 point) {
    for (const ObstacleBox& box : obstacleBoxes) {
        if (box.contains(point)) return true;
    }
    return false;
}

bool outsideStreet(glm::vec3 p) {
    return p.y > 15.5f || p.y < -2.5f || p.x > 9.5f || p.x < -9.5f || p.z > -198.0f;
}

void updateCameraBasis() {
    const double h = horizontalAngle;
    const double v = verticalAngle;
    cameraDirection = glm::vec3(static_cast<float>(std::cos(v) * std::sin(h)),
                                static_cast<float>(std::sin(v)),
                                static_cast<float>(std::cos(v) * std::cos(h)));
    cameraRight = glm::vec3(static_cast<float>(std::sin(h - rightAngleOffset)), 0.0f,
                            static_cast<float>(std::cos(h - rightAngleOffset)));
    cameraUp = glm::cross(cameraRight, cameraDirection);
}

void processInput() {
    if (recenterCursor) {
        getCursor(cursorX, cursorY);
        centreCursor();
        recenterCursor = false;
    }

    // The basis is built before this frame's mouse movement is read, so a
    // turn shows in the view from the next frame on.
    updateCameraBasis();

    getCursor(cursorX, cursorY);
    centreCursor();
    horizontalAngle += mouseSpeed * deltaTime * static_cast<float>(screenWidth / 2 - cursorX);
    verticalAngle += mouseSpeed * deltaTime * static_cast<float>(screenHeight / 2 - cursorY);

    if (catPosition.z < finishLineZ) gameOver = true;

    catSpeed = walkSpeed;
    if (isKeyDown(GLFW_KEY_SPACE)) catSpeed += sprintBonus;

    if (isKeyDown(GLFW_KEY_W) && !gameOver) {
        theCat->move(cameraDirection, catSpeed, deltaTime);
        newBestScore = false;
    }

    if (gameOver && isKeyDown(GLFW_KEY_ENTER)) {
        resetGame();
        gameOver = false;
    }

    // Every test below uses the position copied before this frame's move, so
    // a cat fast enough to cross a slab within one frame is not stopped.
    bool hit = outsideStreet(catPosition);
    coinField->collect(catPosition.x, catPosition.y, catPosition.z);
    hit = hit || insideObstacle(catPosition);
    if (hit) resetGame();
}

void resetGame() {
    glm::mat4& catMatrix = theCat->modelMatrix;
    catMatrix[3] = glm::vec4(startPosition, catMatrix[3][3]);

    verticalAngle = 0.0f;
    horizontalAngle = startYaw;
    updateCameraBasis();

    coinField->clear();
    coinField->build(sceneShader);

    recenterCursor = true;
    gameStartTime = clockNow();
}
