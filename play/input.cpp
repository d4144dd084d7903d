#include "play/input.h"

#include <cmath>

#include "base/course.h"
#include "base/globals.h"
#include "base/platform.h"
#include "play/ghost.h"
#include "play/score.h"
#include "scene/cat.h"
#include "scene/coins.h"

namespace {

constexpr double rightAngleOffset = 1.570795;

// Puts the cursor back in the middle of the window; the centre is the
// integer half of the window size, as the mouse look measures from it.
void centreCursor() { setCursor(screenWidth / 2, screenHeight / 2); }

}  // namespace

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
    const bool wasOver = gameOver;

    // The mouse look reads motion only while the window has focus: without it
    // the cursor cannot be put back in the centre, and the same offset would
    // turn the view again every frame. Back in focus, it starts from the
    // centre without a turn, as after a restart.
    const bool focused = windowFocused();
    if (!focused) recenterCursor = true;
    if (focused && recenterCursor) {
        getCursor(cursorX, cursorY);
        centreCursor();
        recenterCursor = false;
    }

    // The basis is built before this frame's mouse movement is read, so a
    // turn shows in the view from the next frame on.
    updateCameraBasis();

    if (focused) {
        getCursor(cursorX, cursorY);
        centreCursor();
        horizontalAngle += mouseTurnPerPixel * static_cast<float>(screenWidth / 2 - cursorX);
        verticalAngle += mouseTurnPerPixel * static_cast<float>(screenHeight / 2 - cursorY);
    }

    if (catPosition.z < finishLineZ) gameOver = true;

    catSpeed = walkSpeed;
    if (isKeyDown(GLFW_KEY_SPACE)) catSpeed += sprintBonus;

    if (isKeyDown(GLFW_KEY_W) && !gameOver) {
        theCat->move(cameraDirection, catSpeed, deltaTime);
        newBestScore = false;
    }

    const bool restart = gameOver && isKeyDown(GLFW_KEY_ENTER);
    if (restart) {
        resetGame();
        gameOver = false;
    }

    // Every test below judges the position copied before this frame's move.
    // The street is a box and the finish a plane the cat crosses once, so the
    // point tells all there is to tell about them; a slab or a coin can lie
    // between two frames' points, so those rules follow the way the cat went
    // since the previous test. A run's first test has no way yet.
    const glm::vec3 from = testedCatPosition.value_or(catPosition);
    const bool offStreet = outsideStreet(catPosition);
    const double slab = obstacleEntryAlong(from, catPosition);
    // Coins beyond the slab the cat hits were never reached.
    coinField->collect(from, catPosition, slab < 0.0 ? 1.0 : slab);
    // After a restart this frame's copy is stale; the next frame's copy, at
    // the start, begins the new run's way.
    if (offStreet || slab >= 0.0) resetGame();
    else if (!restart) testedCatPosition = catPosition;

    // The run's clock runs while it is played and stops at the finish, which
    // judges the run with the coins it took: those on the way to the line
    // count, and after a hit in the same frame, none. The run's way is
    // recorded up to there, and the best run's ghost keeps step.
    if (!gameOver) {
        playTime = clockNow() - gameStartTime;
        recordWay(playTime, glm::vec3(theCat->modelMatrix[3]));
    } else if (!wasOver) {
        judgeRun(coinField->collectedCount);
    }
    followGhost(playTime);

    // Out of transparency mode the scene is opaque, whatever 3 and 4 did; on
    // the end screen it stays as it was.
    if (!gameOver && !transparencyEnabled) transparency = 1.0f;
}

void resetGame() {
    glm::mat4& catMatrix = theCat->modelMatrix;
    catMatrix[3] = glm::vec4(courseStart, catMatrix[3][3]);

    verticalAngle = 0.0f;
    horizontalAngle = courseStartYaw;
    updateCameraBasis();

    coinField->clear();
    coinField->build(sceneShader);

    recenterCursor = true;
    gameStartTime = clockNow();
    testedCatPosition.reset();  // the way back to the start is no way the cat went
    startWay(courseStart);
}
