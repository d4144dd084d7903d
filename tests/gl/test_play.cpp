// The game rules and the frame update driven frame by frame through a
// scripted platform, on the real world that start-up builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/globals.h"
#include "play/course.h"
#include "play/frame_update.h"
#include "play/input.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "tests/gl/world.h"
#include "tests/support/autopilot.h"
#include "tests/support/helpers.h"
#include "tests/support/scripted_platform.h"

using vesk::scene::GameRaster;

namespace {

constexpr double frameTime = 1.0 / 60.0;

glm::vec3 catTranslation() { return translationOf(theCat->modelMatrix); }
// Puts the cat at `p` by hand, its copy too; no way the cat went leads there.
void placeCat(glm::vec3 p) {
    theCat->modelMatrix[3] = glm::vec4(p, 1.0f);
    catPosition = p;
    testedCatPosition.reset();
}

class Play : public GameWorldTest {
protected:
    ScriptedPlatform platform;

    // As at program start: the cat's copied position is still the origin,
    // the cursor stands wherever the window opened under it.
    void SetUp() override {
        placeCat(courseStart);
        catPosition = glm::vec3(0.0f);
        horizontalAngle = courseStartYaw;
        verticalAngle = 0.0f;
        gameOver = recenterCursor = false;
        platform.clock = gameStartTime = 100.0;
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

    // Flies with `pilot` until the run restarts or ends; returns the copied
    // cat positions the frames tested.
    std::vector<glm::vec3> flyUntilTheRunEnds(Autopilot pilot, double step = frameTime) {
        const double runStart = gameStartTime;
        std::vector<glm::vec3> tested;
        for (int i = 0; i < 2000 && gameStartTime == runStart && !gameOver; ++i) {
            pilot.steer(platform, step);
            tested.push_back(catPosition);
            frame(step);
        }
        return tested;
    }
};

TEST_F(Play, FirstFrameRestartsTheRunAndUndoesTheStartCursorTurn) {
    ::testing::internal::CaptureStdout();
    frame();
    EXPECT_EQ(countOf(::testing::internal::GetCapturedStdout(), "COIN "), 22) << "a new coin layout";
    EXPECT_EQ(gameStartTime, platform.clock);
    EXPECT_EQ(horizontalAngle, courseStartYaw);
    frame();  // from now on the cursor starts each frame in the window's centre
    EXPECT_EQ(platform.cursorAtX, screenWidth / 2);
    EXPECT_EQ(platform.cursorAtY, screenHeight / 2);
    EXPECT_EQ(horizontalAngle, courseStartYaw);

    const glm::vec3 before = cameraDirection;
    platform.moveMouse(-50.0, 0.0);  // to the left: yaw grows
    frame(0.02);
    EXPECT_FLOAT_EQ(horizontalAngle, courseStartYaw + 0.04f * 0.02f * 50.0f);
    EXPECT_EQ(cameraDirection, before) << "a turn shows from the next frame on";
    frame();
    EXPECT_LT(cameraDirection.x, before.x - 0.01f);
}

TEST_F(Play, WalkingStraightHitsTheFirstSlabAndRestartsWithNewCoinsAndClock) {
    frame();
    platform.hold(GLFW_KEY_W);
    platform.hold(GLFW_KEY_ENTER);  // does nothing during a run
    ::testing::internal::CaptureStdout();
    const std::vector<glm::vec3> tested = flyUntilTheRunEnds(Autopilot({{0, 5, -1000}}));
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(gameStartTime, platform.clock) << "the clock restarts in the frame of the hit";
    EXPECT_NEAR(tested.back().z, -220.0f, 1.0f);
    EXPECT_NEAR(tested.size() * frameTime * 10.0, 19.0, 0.5) << "walked at 10 units per second";
    EXPECT_EQ(catTranslation(), courseStart);
    EXPECT_EQ(countOf(out, "COIN "), 22);
    EXPECT_EQ(coinField->collectedCount, 0);
    EXPECT_FALSE(gameOver);
}

// The course flown at a steady 60 frames a second sprinting, and at 4 a
// second walking, where each frame carries the cat 2.5 units.
TEST_F(Play, SteersUnderOverAndAroundEverySlabToTheFinishCollectingCoinsAtAnyFrameRate) {
    for (const double step : {frameTime, 0.25}) {
        SCOPED_TRACE(testing::Message() << "frames of " << step << " s");
        SetUp();
        frame();
        // Three coins on the route, the rest out of reach below the street.
        const std::vector<glm::vec3> route = planCourseRoute();
        for (size_t i = 0; i < GameRaster::coins.size(); ++i)
            GameRaster::coins[i]->modelMatrix[3] = glm::vec4(i < 3 ? route[6 * i + 3] : glm::vec3(0, -20, -300 - float(i)), 1);
        platform.releaseAll();
        platform.hold(GLFW_KEY_W);
        if (step == frameTime) platform.hold(GLFW_KEY_SPACE);
        const double runStart = gameStartTime;
        ::testing::internal::CaptureStdout();
        const std::vector<glm::vec3> tested = flyUntilTheRunEnds(Autopilot(route), step);
        const std::string out = ::testing::internal::GetCapturedStdout();

        EXPECT_EQ(gameStartTime, runStart) << "the run was restarted on the way";
        ASSERT_TRUE(gameOver);
        EXPECT_LT(tested.back().z, finishLineZ) << "the last frame tested a position beyond the line";
        EXPECT_GE(tested[tested.size() - 2].z, finishLineZ) << "and finished the run in that first frame";
        EXPECT_EQ(countOf(out, "Goodies Collected: "), 3);
        EXPECT_EQ(coinField->collectedCount, 3);
    }
    const glm::vec3 stopped = catTranslation();
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(catTranslation(), stopped) << "at the end the cat no longer moves, however long W is held";

    platform.releaseAll();
    platform.hold(GLFW_KEY_ENTER);
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(countOf(::testing::internal::GetCapturedStdout(), "COIN 0 "), 1) << "Enter held restarts exactly once";
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(catTranslation(), courseStart);
    EXPECT_EQ(coinField->collectedCount, 0);
}

// Half a second of sprinting in one frame carries the cat 15 units, far more
// than a slab is deep: the rules follow the way, not the two points.
TEST_F(Play, OneLongFrameThroughAnySlabRestartsTheRunAndOneBesideItDoesNot) {
    struct Way {
        glm::vec3 from;  // the cat flies 15 units straight down the street from here
        bool restarts;
    };
    std::vector<Way> ways;
    for (const Slab& slab : courseSlabs) {
        const ObstacleBox& box = slab.box;
        const float x = std::clamp(0.5f * (box.xMin + box.xMax), streetLimitX[0] + 1, streetLimitX[1] - 1);
        ways.push_back({{x, box.blocksAbove ? box.yLimit + 1 : box.yLimit - 1, box.zMax + 7}, true});
    }
    ways.push_back({{3.6f, 6.0f, -212.0f}, false});  // just beside the standing slab at -220
    ways.push_back({{0.0f, 7.1f, -212.0f}, false});  // just above it
    ways.push_back({{0.0f, 7.9f, -302.0f}, false});  // just below the hanging one at -310
    ways.push_back({{0.0f, 6.5f, -482.0f}, false});  // between the two at -490
    frame();
    QuietConsole quiet;
    for (const Way& way : ways) {
        SCOPED_TRACE(testing::Message() << "from " << ::testing::PrintToString(way.from));
        placeCat(way.from);
        horizontalAngle = courseStartYaw;
        verticalAngle = 0.0f;
        frame();
        const double runStart = gameStartTime;
        platform.hold(GLFW_KEY_W);
        platform.hold(GLFW_KEY_SPACE);
        frame(0.5);
        platform.releaseAll();
        ASSERT_TRUE(closeTo(catTranslation(), way.from - glm::vec3(0, 0, 15), 0.01f));
        frame();  // tests the way of the long frame
        EXPECT_EQ(gameStartTime != runStart, way.restarts);
    }
}

TEST_F(Play, OneLongFrameTakesEveryCoinOnItsWay) {
    frame();
    placeCat({-6, 5, -224});
    for (size_t i = 0; i < GameRaster::coins.size(); ++i)  // two on the way, the rest beside it
        GameRaster::coins[i]->modelMatrix[3] = glm::vec4(i < 2 ? -6.0f : 6.0f, 5.0f, i < 2 ? -230.0f - 8 * i : -235.0f, 1);
    platform.hold(GLFW_KEY_W);
    platform.hold(GLFW_KEY_SPACE);
    frame(0.5);
    platform.releaseAll();
    ::testing::internal::CaptureStdout();
    frame();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Goodies Collected: 1\nGoodies Collected: 2\n");
    EXPECT_EQ(coinField->collectedCount, 2);
}

TEST_F(Play, LeavingTheStreetOnAnySideRestarts) {
    const glm::vec3 targets[] = {{0, 200, -205}, {0, -200, -205}, {200, 5, -205}, {-200, 5, -205}, {0, 5, 0}};
    frame();
    platform.hold(GLFW_KEY_W);
    QuietConsole quiet;
    for (const glm::vec3& target : targets) {
        SCOPED_TRACE(testing::Message() << "heading for " << ::testing::PrintToString(target));
        const double runStart = gameStartTime;
        const glm::vec3 tested = flyUntilTheRunEnds(Autopilot({target})).back();
        EXPECT_NE(gameStartTime, runStart) << "the run never restarted";
        EXPECT_TRUE(outsideStreet(tested));
        EXPECT_EQ(catTranslation(), courseStart);
        EXPECT_EQ(catPosition, courseStart) << "the copy catches up in the same frame";
    }
}

TEST_F(Play, TheRunEndsJustBeyondTheLineEvenInTheFrameOfAHit) {
    QuietConsole quiet;
    frame();
    placeCat({0.0f, 5.0f, finishLineZ});
    frame();
    EXPECT_FALSE(gameOver) << "z exactly at the line is not across";
    placeCat({9.8f, 5.0f, finishLineZ - 1});
    frame();  // finished and off the street at once
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(catTranslation(), courseStart);
    platform.hold(GLFW_KEY_ENTER);
    frame();
    EXPECT_FALSE(gameOver);
}

TEST_F(Play, LightTrailsTheCatByAFrameCameraSitsTenBehindAndBeadsFollow) {
    QuietConsole quiet;
    frame();
    EXPECT_EQ(lightPosition, glm::vec3(0.0f, 30.0f, 3.0f)) << "the first frame's copy is the origin";
    platform.hold(GLFW_KEY_W);
    for (int i = 0; i < 5; ++i) frame();
    const glm::vec3 before = catTranslation();
    frame();
    EXPECT_EQ(lightPosition, before + glm::vec3(0.0f, 30.0f, 3.0f));
    EXPECT_NEAR(glm::distance(cameraPosition, catTranslation()), 10.0f, 1e-4f);
    const glm::vec3 a(catChildA->modelMatrix[3]), b(catChildB->modelMatrix[3]);
    EXPECT_NEAR(glm::distance(a, b), 4.0f, 1e-3f);
    EXPECT_TRUE(closeTo((a + b) * 0.5f, catTranslation() + glm::vec3(0.0f, 1.2f, 0.0f), 1e-3f)) << "beads after the cat's turn";

    verticalAngle = -1.5707963f;  // looking straight down puts the camera right above the cat
    platform.releaseAll();
    frame();
    frame();
    EXPECT_TRUE(closeTo(cameraPosition, catTranslation() + glm::vec3(0, 10, 0)));
}

}  // namespace
