// The game rules and the frame update driven frame by frame through a
// scripted platform, on the real world that start-up builds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/globals.h"
#include "play/frame_update.h"
#include "play/input.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "tests/gl/game_world.h"
#include "tests/scripted_platform.h"

using vesk::scene::GameRaster;

namespace {

constexpr double frameTime = 1.0 / 60.0;
const glm::vec3 startPosition(0.0f, 5.0f, -200.0f);

glm::vec3 catTranslation() { return glm::vec3(theCat->modelMatrix[3]); }
void placeCat(glm::vec3 p) { theCat->modelMatrix[3] = glm::vec4(p, 1.0f); }

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class PlayRun : public GameWorldTest {
protected:
    ScriptedPlatform platform;

    // As at program start: the cat's copied position is still the origin,
    // the cursor stands wherever the window opened under it.
    void SetUp() override {
        placeCat(startPosition);
        catPosition = glm::vec3(0.0f);
        horizontalAngle = 3.14159f;
        verticalAngle = 0.0f;
        gameOver = false;
        recenterCursor = false;
        platform.clock = 100.0;
        gameStartTime = platform.clock;
        platform.cursorAtX = 300.0;
        platform.cursorAtY = 90.0;
    }

    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

    // One frame of the game logic as the main loop runs it.
    void frame(double step = frameTime) {
        platform.clock += step;
        deltaTime = static_cast<float>(step);
        processInput();
        updateScene(deltaTime);
    }

    // Runs the first frame, which always restarts (the cat is not yet on the street).
    void startPlaying() {
        frame();
        ASSERT_EQ(gameStartTime, platform.clock);
        ASSERT_EQ(catPosition, startPosition);
    }

    // Sets this frame's mouse movement so that the cat, moved by this frame
    // with the direction it already has, heads straight for `target` in the
    // next frame (a turn shows one frame late).
    void steerTowards(glm::vec3 target, double step) {
        updateCameraBasis();
        glm::vec3 next = catTranslation();
        if (platform.keyDown(GLFW_KEY_W) && !gameOver) {
            const float speed = platform.keyDown(GLFW_KEY_SPACE) ? 30.0f : 10.0f;
            next += cameraDirection * speed * static_cast<float>(step);
        }
        const glm::vec3 way = target - next;
        double yaw = std::atan2(way.x, way.z);
        while (yaw - horizontalAngle > M_PI) yaw -= 2 * M_PI;
        while (horizontalAngle - yaw > M_PI) yaw += 2 * M_PI;
        const double pitch = std::asin(way.y / glm::length(way));
        const double pixelsPerRadian = 1.0 / (0.04 * step);
        platform.cursorAtX = screenWidth / 2 - (yaw - horizontalAngle) * pixelsPerRadian;
        platform.cursorAtY = screenHeight / 2 - (pitch - verticalAngle) * pixelsPerRadian;
    }

    // Flies through `waypoints` in order (each counts as passed once the cat
    // is beyond its z) until the run ends or `frames` have passed. Returns
    // the cat position copies seen at the start of each frame.
    std::vector<glm::vec3> fly(const std::vector<glm::vec3>& waypoints, int frames) {
        std::vector<glm::vec3> seen;
        size_t next = 0;
        for (int i = 0; i < frames && !gameOver; ++i) {
            while (next + 1 < waypoints.size() && catTranslation().z <= waypoints[next].z) ++next;
            steerTowards(waypoints[next], frameTime);
            seen.push_back(catPosition);
            frame();
        }
        return seen;
    }

    // Flies towards `target` until the run restarts; returns the copied cat
    // position that the restarting frame tested.
    glm::vec3 flyUntilRestart(glm::vec3 target) {
        const double runStart = gameStartTime;
        glm::vec3 tested = catPosition;
        for (int i = 0; i < 2000 && gameStartTime == runStart; ++i) {
            steerTowards(target, frameTime);
            tested = catPosition;
            frame();
        }
        EXPECT_NE(gameStartTime, runStart) << "the run never restarted";
        return tested;
    }
};

TEST_F(PlayRun, FirstFrameRestartsTheRunAndUndoesTheStartCursorTurn) {
    ::testing::internal::CaptureStdout();
    frame();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(countOf(out, "COIN "), 22) << "a new coin layout";
    EXPECT_EQ(gameStartTime, platform.clock);
    EXPECT_EQ(horizontalAngle, 3.14159f);
    EXPECT_EQ(verticalAngle, 0.0f);
    EXPECT_TRUE(recenterCursor);

    // From the second frame on the cursor starts in the window's centre.
    frame();
    EXPECT_FALSE(recenterCursor);
    EXPECT_EQ(platform.cursorAtX, screenWidth / 2);
    EXPECT_EQ(platform.cursorAtY, screenHeight / 2);
    EXPECT_EQ(horizontalAngle, 3.14159f);
}

TEST_F(PlayRun, MouseTurnShowsInTheDirectionFromTheNextFrameOn) {
    startPlaying();
    frame();
    const glm::vec3 before = cameraDirection;
    platform.moveMouse(-50.0, 0.0);  // to the left: yaw grows
    frame(0.02);
    EXPECT_FLOAT_EQ(horizontalAngle, 3.14159f + 0.04f * 0.02f * 50.0f);
    EXPECT_EQ(cameraDirection, before);
    frame();
    EXPECT_LT(cameraDirection.x, before.x - 0.01f);
}

TEST_F(PlayRun, WalkingStraightHitsTheFirstSlabAndRestartsWithNewCoinsAndClock) {
    startPlaying();
    platform.hold(GLFW_KEY_W);
    const double runStart = gameStartTime;
    ::testing::internal::CaptureStdout();
    glm::vec3 tested;
    int frames = 0;
    while (gameStartTime == runStart && frames < 600) {
        tested = catPosition;
        frame();
        ++frames;
    }
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_NE(gameStartTime, runStart);
    EXPECT_EQ(gameStartTime, platform.clock) << "the clock restarts in the frame of the hit";
    EXPECT_LT(tested.z, -219.0f);
    EXPECT_GT(tested.z, -221.0f);
    EXPECT_NEAR(frames * frameTime * 10.0, 19.0, 0.5) << "walked at 10 units per second";
    EXPECT_EQ(catTranslation(), startPosition);
    EXPECT_EQ(countOf(out, "COIN "), 22);
    EXPECT_EQ(GameRaster::coins.size(), 22u);
    EXPECT_EQ(coinField->collectedCount, 0);
    EXPECT_FALSE(gameOver);
}

TEST_F(PlayRun, SteersUnderOverAndAroundEverySlabToTheFinishCollectingCoins) {
    startPlaying();
    // Three coins on the route, the rest out of reach below the street.
    const std::vector<glm::vec3> coinSpots = {{6, 5, -280}, {0, 6.5f, -390}, {0, 5, -540}};
    for (size_t i = 0; i < GameRaster::coins.size(); ++i) {
        const glm::vec3 spot = i < coinSpots.size() ? coinSpots[i] : glm::vec3(0, -20, -300 - float(i));
        GameRaster::coins[i]->modelMatrix[3] = glm::vec4(spot, 1.0f);
    }

    // Each slab is passed 2 to 3 units before and after it in the way the
    // comment names; between slabs the cat changes lane or height.
    const std::vector<glm::vec3> route = {
        {6, 5, -217},    {6, 5, -223},     // around the standing slab at -220
        {-6, 5, -247},   {-6, 5, -253},    // around -250
        {6, 5, -277},    {6, 5, -283},     // beside both slabs at -280
        {0, 4, -307},    {0, 4, -313},     // under the hanging slab at -310
        {-6, 4, -367},   {-6, 4, -373},    // under one, beside the other at -370
        {0, 6.5f, -387}, {0, 6.5f, -393},  // over the low slab at -390
        {0, 10, -407},   {0, 10, -412},    // over -410
        {5, 10, -417},   {5, 10, -423},    // over the low one, beside the hanging one at -420
        {0, 9, -437},    {0, 9, -443},     // over -440
        {-6, 5, -457},   {-6, 5, -462},    // around -460
        {-6, 6, -467},   {-6, 6, -473},    // over the low slab at -470
        {0, 6.5f, -487}, {0, 6.5f, -493},  // between the two at -490
        {6, 5, -507},    {6, 5, -513},     // around -510
        {0, 5, -527},    {0, 5, -533},     // under -530
        {0, 5, -560},                      // over the finish line
    };
    platform.hold(GLFW_KEY_W);
    platform.hold(GLFW_KEY_SPACE);
    const double runStart = gameStartTime;
    ::testing::internal::CaptureStdout();
    const std::vector<glm::vec3> seen = fly(route, 2000);
    const std::string out = ::testing::internal::GetCapturedStdout();

    EXPECT_EQ(gameStartTime, runStart) << "the run was restarted on the way";
    ASSERT_TRUE(gameOver);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_LT(seen.back().z, -550.0f) << "the last frame tested a position beyond the line";
    EXPECT_GE(seen[seen.size() - 2].z, -550.0f) << "and finished the run in that first frame";
    for (const glm::vec3& p : seen) {
        EXPECT_FALSE(insideObstacle(p));
        EXPECT_FALSE(outsideStreet(p));
    }
    EXPECT_EQ(coinField->collectedCount, 3);
    EXPECT_EQ(GameRaster::coins.size(), 19u);
    EXPECT_EQ(countOf(out, "Goodies Collected: "), 3);

    // At the end the cat no longer moves, however long W is held.
    const glm::vec3 stopped = catTranslation();
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(catTranslation(), stopped);
    EXPECT_TRUE(gameOver);

    // Enter held on the end screen restarts exactly once.
    platform.releaseAll();
    platform.hold(GLFW_KEY_ENTER);
    ::testing::internal::CaptureStdout();
    frame();
    const double restartedAt = platform.clock;
    for (int i = 0; i < 10; ++i) frame();
    const std::string restartOut = ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(gameStartTime, restartedAt);
    EXPECT_EQ(countOf(restartOut, "COIN 0 "), 1);
    EXPECT_EQ(catTranslation(), startPosition);
    EXPECT_EQ(coinField->collectedCount, 0);
}

TEST_F(PlayRun, EnterDuringARunDoesNothing) {
    startPlaying();
    const double runStart = gameStartTime;
    platform.hold(GLFW_KEY_ENTER);
    for (int i = 0; i < 5; ++i) frame();
    EXPECT_EQ(gameStartTime, runStart);
    EXPECT_FALSE(gameOver);
}

TEST_F(PlayRun, LeavingTheStreetOnAnySideRestarts) {
    struct Side {
        const char* name;
        glm::vec3 target;
        bool (*beyond)(glm::vec3);
    };
    const Side sides[] = {
        {"up", {0, 200, -205}, [](glm::vec3 p) { return p.y > 15.5f; }},
        {"down", {0, -200, -205}, [](glm::vec3 p) { return p.y < -2.5f; }},
        {"right", {200, 5, -205}, [](glm::vec3 p) { return p.x > 9.5f; }},
        {"left", {-200, 5, -205}, [](glm::vec3 p) { return p.x < -9.5f; }},
        {"back", {0, 5, 0}, [](glm::vec3 p) { return p.z > -198.0f; }},
    };
    startPlaying();
    platform.hold(GLFW_KEY_W);
    for (const Side& side : sides) {
        SCOPED_TRACE(side.name);
        const glm::vec3 tested = flyUntilRestart(side.target);
        EXPECT_TRUE(side.beyond(tested));
        EXPECT_FALSE(insideObstacle(tested));
        EXPECT_EQ(catTranslation(), startPosition);
        EXPECT_EQ(catPosition, startPosition) << "the copy catches up in the same frame";
    }
}

TEST_F(PlayRun, AHitInTheFrameOfTheFinishRestartsButKeepsTheEndScreen) {
    startPlaying();
    placeCat({9.8f, 5.0f, -551.0f});
    frame();  // the frame update copies the new position
    frame();  // and this frame tests it: finished and off the street at once
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(gameStartTime, platform.clock);
    EXPECT_EQ(catTranslation(), startPosition);

    platform.hold(GLFW_KEY_ENTER);
    frame();
    EXPECT_FALSE(gameOver);
}

TEST_F(PlayRun, FinishesOnlyBeyondTheLine) {
    startPlaying();
    placeCat({0.0f, 5.0f, -550.0f});
    frame();
    frame();
    EXPECT_FALSE(gameOver) << "z exactly -550 is not across";
    placeCat({0.0f, 5.0f, -550.01f});
    frame();
    frame();
    EXPECT_TRUE(gameOver);
}

TEST_F(PlayRun, FastFramesCanCarryTheCatThroughASlab) {
    startPlaying();
    placeCat({0.0f, 5.0f, -218.9f});
    frame();
    const double runStart = gameStartTime;
    platform.hold(GLFW_KEY_W);
    platform.hold(GLFW_KEY_SPACE);
    frame(0.1);  // 3 units: the tested copies are -218.9 and -221.9, both outside the slab
    frame(0.1);
    EXPECT_EQ(gameStartTime, runStart);
    EXPECT_LT(catTranslation().z, -224.0f);
}

TEST_F(PlayRun, LightTrailsTheCatByAFrameAndTheCameraSitsTenUnitsBehind) {
    frame();
    EXPECT_EQ(lightPosition, glm::vec3(0.0f, 30.0f, 3.0f)) << "the first frame's copy is the origin";
    platform.hold(GLFW_KEY_W);
    const glm::vec3 before = catTranslation();
    frame();
    EXPECT_EQ(lightPosition, before + glm::vec3(0.0f, 30.0f, 3.0f));
    EXPECT_EQ(catPosition, catTranslation());
    EXPECT_NEAR(glm::distance(cameraPosition, catTranslation()), 10.0f, 1e-4f);

    // Looking straight down puts the camera right above the cat.
    verticalAngle = -1.5707963f;
    platform.releaseAll();
    frame();
    frame();
    EXPECT_NEAR(cameraPosition.y - catTranslation().y, 10.0f, 1e-4f);
    EXPECT_NEAR(cameraPosition.x, catTranslation().x, 1e-4f);
}

TEST_F(PlayRun, BeadsFollowTheCatAfterItsTurn) {
    startPlaying();
    platform.hold(GLFW_KEY_W);
    for (int i = 0; i < 5; ++i) frame();
    const glm::vec3 cat = catTranslation();
    const glm::vec3 a(catChildA->modelMatrix[3]);
    const glm::vec3 b(catChildB->modelMatrix[3]);
    EXPECT_NEAR(glm::distance(a, b), 4.0f, 1e-3f);
    const glm::vec3 centre = (a + b) * 0.5f;
    EXPECT_NEAR(glm::distance(centre, cat + glm::vec3(0.0f, 1.2f, 0.0f)), 0.0f, 1e-3f);
}

}  // namespace
