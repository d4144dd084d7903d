// The game's own frames driven one by one through a scripted platform, on
// the real world that start-up builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <glm/gtc/constants.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame.h"
#include "base/course.h"
#include "base/globals.h"
#include "base/sound.h"
#include "play/frame_update.h"
#include "play/ghost.h"
#include "play/hud.h"
#include "play/input.h"
#include "play/splits.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "tests/gl/world.h"
#include "play/autopilot.h"
#include "tests/support/helpers.h"
#include "base/scripted_platform.h"

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
    double lastFrameTime = 0.0;

    // As at program start: the cat's copied position is still the origin,
    // the cursor stands wherever the window opened under it.
    void SetUp() override {
        placeCat(courseStart);
        catPosition = glm::vec3(0.0f);
        horizontalAngle = courseStartYaw;
        verticalAngle = 0.0f;
        gameOver = recenterCursor = paused = false;
        platform.clock = gameStartTime = lastFrameTime = 100.0;
        platform.wallClock = 0.0;  // frames that take no time: the automatic quality stays at full
        platform.cursorAtX = 300.0;
        platform.cursorAtY = 90.0;
    }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

    // One frame of the game as the main loop runs it, `step` seconds after
    // the last: the keys pressed until now count in it.
    void frame(double step = frameTime) {
        platform.clock += step;
        runFrame(lastFrameTime);
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
    verticalAngle = 0.4f;  // as a player could have turned the view before the first test
    ::testing::internal::CaptureStdout();
    frame();
    EXPECT_EQ(countOf(::testing::internal::GetCapturedStdout(), "COIN "), coinsPerLayout) << "a new coin layout";
    EXPECT_EQ(gameStartTime, platform.clock);
    EXPECT_EQ(std::make_pair(horizontalAngle, verticalAngle), std::make_pair(courseStartYaw, 0.0f));
    platform.cursorAtY -= 30;  // a mouse moved in the frame of the restart does not count
    frame();  // from now on the cursor starts each frame in the window's centre
    EXPECT_EQ(platform.cursorAtX, screenWidth / 2);
    EXPECT_EQ(platform.cursorAtY, screenHeight / 2);
    EXPECT_EQ(horizontalAngle, courseStartYaw);

    const glm::vec3 before = cameraDirection;
    platform.cursorAtX -= 50.0;  // the mouse to the left: yaw grows
    frame(0.02);
    EXPECT_FLOAT_EQ(horizontalAngle, courseStartYaw + 50 * mouseTurnPerPixel);
    EXPECT_EQ(cameraDirection, before) << "a turn shows from the next frame on";
    frame();
    EXPECT_LT(cameraDirection.x, before.x - 0.01f);
    platform.cursorAtY -= 50.0;  // and up, in a frame 25 times as long: the same turn
    frame(0.5);
    EXPECT_FLOAT_EQ(verticalAngle, 50 * mouseTurnPerPixel);
}

// A run never moves without the player: losing the focus pauses it, as P
// does, and only P goes on. Meanwhile the view, the cat and the run's clock
// stand still, however long the frames and wherever the pointer goes; back,
// the mouse turns from the centre without a jump, and the run's time counts
// only what was played.
TEST_F(Play, LosingTheFocusOrPPausesTheRunUntilPAndThePauseCountsNoTime) {
    QuietConsole quiet;
    frame();
    frame();
    platform.hold(GLFW_KEY_W);
    frame();
    glm::vec3 at;
    double played = 0.0;
    auto stoodStill = [&](const char* what) {
        EXPECT_EQ(std::make_pair(horizontalAngle, verticalAngle), std::make_pair(courseStartYaw, 0.0f)) << what;
        EXPECT_EQ(catTranslation(), at) << what << ": W is held, but the cat stands";
        EXPECT_EQ(playTime, played) << what;
    };
    for (const bool byFocus : {true, false}) {
        SCOPED_TRACE(byFocus ? "the focus lost" : "P");
        at = catTranslation();
        played = playTime;
        if (byFocus) platform.hasFocus = false;
        else platform.tap(GLFW_KEY_P);
        platform.cursorAtX = 10.0;  // the player works elsewhere
        platform.cursorAtY = 20.0;
        frame();
        for (int i = 0; i < 5; ++i) frame(1.0);
        EXPECT_TRUE(paused);
        stoodStill("paused");
        platform.hasFocus = true;
        frame();
        EXPECT_TRUE(paused) << "back in focus, the run waits for P";
        platform.releaseAll();
        platform.tap(GLFW_KEY_P);
        frame();
        EXPECT_FALSE(paused);
        stoodStill("the frame that goes on");
        frame();
        EXPECT_EQ(std::make_pair(horizontalAngle, verticalAngle), std::make_pair(courseStartYaw, 0.0f))
            << "where the pointer went meanwhile turns nothing";
        EXPECT_EQ(std::make_pair(platform.cursorAtX, platform.cursorAtY),
                  std::make_pair(double(screenWidth / 2), double(screenHeight / 2)));
        platform.hold(GLFW_KEY_W);
    }
    frame();
    EXPECT_NEAR(playTime, played + 3 * frameTime, 1e-9) << "the frames around the pause; its five seconds count nothing";
    platform.releaseAll();
    platform.cursorAtX -= 30.0;
    frame();
    EXPECT_GT(horizontalAngle, courseStartYaw) << "and then the mouse turns the view again";
}

// The course flown sprinting at a steady 12 frames a second and walking at
// 4 a second: each frame carries the cat 2.5 units, nearly a slab's depth.
TEST_F(Play, SteersUnderOverAndAroundEverySlabToTheFinishCollectingCoinsAtAnyFrameRate) {
    for (const double step : {1.0 / 12.0, 0.25}) {
        SCOPED_TRACE(testing::Message() << "frames of " << step << " s");
        SetUp();
        frame();
        // Three coins on the route, the rest out of reach below the street.
        const std::vector<glm::vec3> route = planCourseRoute();
        for (size_t i = 0; i < coinField->coins.size(); ++i)
            coinField->coins[i]->modelMatrix[3] = glm::vec4(i < 3 ? route[6 * i + 3] : glm::vec3(0, -20, -300 - float(i)), 1);
        platform.releaseAll();
        platform.hold(GLFW_KEY_W);
        if (step < 0.25) platform.hold(GLFW_KEY_SPACE);
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
        // The clock ran until the frame before the finish; the score takes a second off for each coin.
        EXPECT_DOUBLE_EQ(playTime, platform.clock - step - runStart);
        EXPECT_DOUBLE_EQ(runScore, playTime - 3);
        // Every checkpoint timed on the way, however long the frames, the finish at the run's time.
        ASSERT_EQ(runSplits.size(), size_t(checkpointCount));
        for (size_t i = 1; i < runSplits.size(); ++i) EXPECT_LT(runSplits[i - 1], runSplits[i]) << i;
        EXPECT_EQ(runSplits.back(), playTime);
        const std::vector<glm::vec3> way = currentWay().samples;
        for (size_t i = 0; i + 1 < runSplits.size(); ++i) {
            const double along = runSplits[i] * currentWay().sampleRate;
            const size_t before = size_t(along);
            EXPECT_GE(way[before].z, checkpointZ(int(i))) << "checkpoint " << i << " timed where the way crossed it";
            EXPECT_LT(way[before + 1].z, checkpointZ(int(i))) << "checkpoint " << i;
        }
    }
    const glm::vec3 stopped = catTranslation();
    const double finalTime = playTime;
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(catTranslation(), stopped) << "at the end the cat no longer moves, however long W is held";
    EXPECT_EQ(playTime, finalTime) << "and its clock stands still";

    platform.releaseAll();
    platform.hold(GLFW_KEY_ENTER);
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(countOf(::testing::internal::GetCapturedStdout(), "COIN 0 "), 1) << "Enter held restarts exactly once";
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(catTranslation(), courseStart);
    EXPECT_EQ(coinField->collectedCount, 0);
}

// Against a record: each checkpoint shows the run's time there with how far
// ahead or behind it is, for three seconds. A record of the same way at two
// thirds of the pace is behind at every checkpoint; the same way at once
// and a half the pace ahead.
TEST_F(Play, EachCheckpointSaysHowFarAheadOrBehindTheRecordTheRunIs) {
    QuietConsole quiet;
    for (const double pace : {1.5, 2.0 / 3.0}) {
        SCOPED_TRACE(pace);
        SetUp();
        frame();
        platform.releaseAll();
        platform.hold(GLFW_KEY_W);
        flyUntilTheRunEnds(Autopilot(), 0.25);
        ASSERT_TRUE(gameOver);
        const Splits run = runSplits;
        Record record;
        record.time = playTime * pace;
        record.score = 1.0;
        for (double t = 0.0; t <= record.time; t += 1.0 / 30.0) record.way.samples.push_back(currentWay().at(t / pace));
        allTimeBest = record;
        platform.releaseAll();
        platform.tap(GLFW_KEY_R);
        frame();
        ASSERT_FALSE(gameOver);
        ASSERT_EQ(recordSplits.size(), size_t(checkpointCount));
        platform.hold(GLFW_KEY_W);
        Autopilot pilot;
        while (runSplits.empty()) {
            pilot.steer(platform, 0.25);
            frame(0.25);
        }
        const double passed = platform.clock;
        const std::optional<double> difference = splitDifference(0);
        ASSERT_TRUE(difference);
        EXPECT_NEAR(*difference, run[0] * (1.0 - pace), 0.06);
        EXPECT_EQ(shownCheckpoint, 0);
        const std::vector<HudLine> lines = hudFrame(passed + 2.9, 0);
        const auto shown = std::find_if(lines.begin(), lines.end(), [](const HudLine& l) { return l.text.rfind("Checkpoint 1: ", 0) == 0; });
        ASSERT_NE(shown, lines.end());
        ASSERT_NE(shown + 1, lines.end());
        EXPECT_EQ(shown[1].text[0], pace > 1.0 ? '-' : '+');
        EXPECT_EQ(shown[1].ink, pace > 1.0 ? aheadInk : behindInk);
        const std::vector<HudLine> later = hudFrame(passed + 3.0, 0);
        EXPECT_TRUE(std::none_of(later.begin(), later.end(), [](const HudLine& l) { return l.text.rfind("Checkpoint", 0) == 0; }))
            << "gone after three seconds";
        allTimeBest.reset();
    }
}

// Half a second of sprinting in one frame carries the cat 15 units, far more
// than a slab is deep: the rules follow the way, not its two ends. Leaving the
// street is judged by where the way ends.
TEST_F(Play, OneLongFrameThroughASlabOrOutOfTheStreetRestartsTheRunAndOneBesideItDoesNot) {
    struct Way {
        glm::vec3 from;     // the cat flies 15 units from here...
        float yaw, pitch;   // ...this way
        bool restarts;
    };
    const float ahead = courseStartYaw;
    const Way ways[] = {
        {{0.0f, 6.0f, -212.0f}, ahead, 0, true},               // through the standing slab at -220
        {{0.0f, 9.0f, -302.0f}, ahead, 0, true},               // through the hanging one at -310
        {{3.6f, 6.0f, -212.0f}, ahead, 0, false},              // just beside the standing one
        {{0.0f, 7.1f, -212.0f}, ahead, 0, false},              // just above it
        {{0.0f, 1.0f, -230.0f}, ahead, glm::half_pi<float>(), true},      // up out of the street
        {{0.0f, 5.0f, -212.0f}, 0, 0, true},                   // back past the start
    };
    frame();
    QuietConsole quiet;
    for (const Way& way : ways) {
        SCOPED_TRACE(testing::Message() << "from " << ::testing::PrintToString(way.from) << " at yaw " << way.yaw);
        placeCat(way.from);
        horizontalAngle = way.yaw;
        verticalAngle = way.pitch;
        frame();
        const double runStart = gameStartTime;
        platform.hold(GLFW_KEY_W);
        platform.hold(GLFW_KEY_SPACE);
        platform.hold(GLFW_KEY_ENTER);  // does nothing during a run
        frame(0.5);
        platform.releaseAll();
        ASSERT_NEAR(glm::distance(catTranslation(), way.from), 15.0f, 0.01f) << "sprinting at 30 units a second";
        frame();  // tests the way of the long frame
        EXPECT_EQ(gameStartTime != runStart, way.restarts);
        EXPECT_EQ(catPosition == courseStart, way.restarts) << "the copy catches up in the frame of a restart";
    }
}

// Out of transparency mode the scene is opaque during a run, whatever was
// left see-through; on the end screen it stays as it was.
TEST_F(Play, TheSceneTurnsOpaqueInTheFrameAfterTransparencyModeEnds) {
    QuietConsole quiet;
    frame();
    transparencyEnabled = true;
    transparency = 0.4f;
    frame();
    EXPECT_EQ(transparency, 0.4f);
    transparencyEnabled = false;
    gameOver = true;
    frame();
    EXPECT_EQ(transparency, 0.4f);
    gameOver = false;
    frame();
    EXPECT_EQ(transparency, 1.0f);
}

// The gamepad alone plays: the right stick turns the view at its rate, past
// a dead zone, either way and with up turned round or not; the right trigger
// or A runs, the left trigger or B sprints with it. A pad that has just come
// presses nothing it holds; A then starts the next run from the end screen,
// Start pauses and goes on; the pad coming and going is said on the console.
TEST_F(Play, AGamepadAlonePlaysARunAndTheNext) {
    platform.pad = GamepadState{};
    ::testing::internal::CaptureStderr();
    frame();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kivo: gamepad connected: Scripted Pad\n");
    QuietConsole quiet;
    frame();
    struct Case {
        const char* what;
        std::vector<std::pair<int, float>> axes;
        std::vector<int> buttons;
        bool inverted;
        float yaw, pitch;  // the stick's share of its full rate, after the dead zone
        float speed;
    };
    const float part = (0.6f - stickDeadZone) / (1 - stickDeadZone);
    using A = std::vector<std::pair<int, float>>;
    const int rx = GLFW_GAMEPAD_AXIS_RIGHT_X, ry = GLFW_GAMEPAD_AXIS_RIGHT_Y;
    const int rt = GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER, lt = GLFW_GAMEPAD_AXIS_LEFT_TRIGGER;
    const Case cases[] = {
        {"inside the dead zone", A{{rx, stickDeadZone * 0.9f}, {ry, -stickDeadZone * 0.9f}}, {}, false, 0, 0, 0},
        {"right and down", A{{rx, 0.6f}, {ry, 0.6f}}, {}, false, -part, -part, 0},
        {"left and up", A{{rx, -0.6f}, {ry, -0.6f}}, {}, false, part, part, 0},
        {"down, inverted", A{{ry, 0.6f}}, {}, true, 0, part, 0},
        {"all the way over", A{{rx, 1.0f}, {ry, -1.0f}}, {}, false, -1, 1, 0},
        {"the right trigger", A{{rt, 1.0f}}, {}, false, 0, 0, walkSpeed},
        {"both triggers", A{{rt, 1.0f}, {lt, 1.0f}}, {}, false, 0, 0, walkSpeed + sprintBonus},
        {"A", A{}, {GLFW_GAMEPAD_BUTTON_A}, false, 0, 0, walkSpeed},
        {"A and B", A{}, {GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_B}, false, 0, 0, walkSpeed + sprintBonus},
        {"B alone", A{}, {GLFW_GAMEPAD_BUTTON_B}, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GamepadState pad;
        for (const auto& [axis, value] : c.axes) pad.axes[axis] = value;
        for (const int button : c.buttons) pad.buttons[button] = true;
        platform.pad = pad;
        invertY = c.inverted;
        verticalAngle = 0.0f;
        const float h = horizontalAngle;
        const glm::vec3 before = catTranslation();
        frame();
        const float fullTurn = float(stickTurnRate * frameTime);
        EXPECT_NEAR(horizontalAngle - h, c.yaw * fullTurn, 1e-6);
        EXPECT_NEAR(verticalAngle, c.pitch * fullTurn, 1e-6);
        EXPECT_NEAR(glm::distance(catTranslation(), before), c.speed * frameTime, 1e-3);
    }
    invertY = false;

    GamepadState pad;
    gameOver = true;
    platform.pad.reset();
    frame();
    pad.buttons[GLFW_GAMEPAD_BUTTON_A] = true;
    platform.pad = pad;
    frame();
    EXPECT_TRUE(gameOver) << "A held as the pad comes is no press";
    platform.pad = GamepadState{};
    frame();
    platform.pad = pad;
    frame();
    EXPECT_FALSE(gameOver) << "A on the end screen: the next run";

    pad = GamepadState{};
    for (const bool expected : {true, false}) {
        pad.buttons[GLFW_GAMEPAD_BUTTON_START] = true;
        platform.pad = pad;
        frame();
        EXPECT_EQ(paused, expected) << "Start";
        pad.buttons[GLFW_GAMEPAD_BUTTON_START] = false;
        platform.pad = pad;
        frame();
    }
    platform.pad.reset();
    ::testing::internal::CaptureStderr();
    frame();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kivo: gamepad disconnected: Scripted Pad\n");
}

// What the mixer is asked to play, instead of playing it.
struct HeardSounds final : SoundOutput {
    std::vector<Sound> heard;
    void play(Sound sound) override { heard.push_back(sound); }
    void setVolumes(int, int) override {}
};

// Each event sounds once, in the frame it happens: a coin, a slab that sends
// the cat back, the finish and a new best. Putting the cat at the start for
// the first run, or Enter's next run, is no hit.
TEST_F(Play, ACoinASlabTheFinishAndANewBestEachSoundOnce) {
    HeardSounds sounds;
    setSoundOutput(&sounds);
    QuietConsole quiet;
    frame();
    EXPECT_TRUE(sounds.heard.empty()) << "the first run's start";
    placeCat({-6, 5, -274});  // a coin on the way to the standing slab at -280, one beyond it
    coinField->coins[0]->modelMatrix[3] = glm::vec4(-6, 5, -277, 1);
    coinField->coins[1]->modelMatrix[3] = glm::vec4(-6, 5, -285, 1);
    platform.hold(GLFW_KEY_W);
    platform.hold(GLFW_KEY_SPACE);
    frame(0.5);
    platform.releaseAll();
    frame();
    EXPECT_EQ(sounds.heard, (std::vector<Sound>{Sound::coin, Sound::hit}));
    sounds.heard.clear();
    bestScore = 10000.0;
    for (const bool best : {true, false}) {
        placeCat({0.0f, 5.0f, finishLineZ - 1});
        frame();
        const std::vector<Sound> expected = best ? std::vector<Sound>{Sound::finish, Sound::newBest}
                                                 : std::vector<Sound>{Sound::finish};
        EXPECT_EQ(sounds.heard, expected);
        sounds.heard.clear();
        platform.hold(GLFW_KEY_ENTER);
        frame();
        platform.releaseAll();
        frame(5.0);  // a slower run
        EXPECT_TRUE(sounds.heard.empty()) << "Enter's next run";
    }
    setSoundOutput(nullptr);
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
    EXPECT_EQ(lightPosition, lightOffset) << "the first frame's copy is the origin";
    platform.hold(GLFW_KEY_W);
    for (int i = 0; i < 5; ++i) frame();
    const glm::vec3 before = catTranslation();
    frame();
    EXPECT_EQ(lightPosition, before + lightOffset);
    EXPECT_NEAR(glm::distance(cameraPosition, catTranslation()), cameraDistance, 1e-4f);
    const glm::vec3 beads = 0.5f * glm::vec3(catChildA->modelMatrix[3] + catChildB->modelMatrix[3]);
    EXPECT_TRUE(closeTo(beads, catTranslation() + glm::vec3(0.0f, 1.2f, 0.0f), 1e-3f)) << "beads after the cat's move";

    verticalAngle = -glm::half_pi<float>();  // looking straight down puts the camera right above the cat
    platform.releaseAll();
    frame();
    frame();
    EXPECT_TRUE(closeTo(cameraPosition, catTranslation() + glm::vec3(0, cameraDistance, 0)));
}

// R, or the pad's Back, starts a new run at any moment: the cat at the
// start, a new clock and coins, and no hit's sound.
TEST_F(Play, ROrBackRestartsTheRunAtOnceWithoutTheHitsSound) {
    HeardSounds sounds;
    setSoundOutput(&sounds);
    frame();
    for (const bool usePad : {false, true}) {
        SCOPED_TRACE(usePad ? "Back" : "R");
        platform.hold(GLFW_KEY_W);
        for (int i = 0; i < 20; ++i) frame();
        platform.releaseAll();
        ASSERT_LT(catTranslation().z, courseStart.z - 1);
        const double before = gameStartTime;
        GamepadState pad{};
        if (usePad) {
            platform.pad = pad;  // connected, Back free
            frame();
            pad.buttons[GLFW_GAMEPAD_BUTTON_BACK] = true;
            platform.pad = pad;
        } else {
            platform.tap(GLFW_KEY_R);
        }
        ::testing::internal::CaptureStdout();
        frame();
        EXPECT_EQ(countOf(::testing::internal::GetCapturedStdout(), "COIN 0 "), 1) << "a new coin layout";
        platform.pad.reset();
        EXPECT_EQ(gameStartTime, platform.clock) << "a new clock";
        EXPECT_GT(gameStartTime, before);
        EXPECT_EQ(catTranslation(), courseStart);
        EXPECT_TRUE(runSplits.empty());
        frame();
    }
    EXPECT_TRUE(sounds.heard.empty());
    setSoundOutput(nullptr);
}

// The way a run went is recorded frame by frame as the game plays it, and
// in the next run the ghost goes that way in step with the clock, here
// looked at once a second.
TEST_F(Play, ARunsGhostGoesItsWayInTheNextRun) {
    QuietConsole quiet;
    frame();
    platform.releaseAll();
    platform.hold(GLFW_KEY_W);
    Autopilot pilot;
    std::vector<double> times{0.0};  // the run's time at each frame, and where the cat was then
    std::vector<glm::vec3> places{courseStart};
    while (!gameOver && times.size() < 1000) {
        pilot.steer(platform, 0.25);
        frame(0.25);
        if (!gameOver) times.push_back(playTime), places.push_back(catTranslation());
    }
    ASSERT_TRUE(gameOver);
    ghostEnabled = true;
    ghostRun = GhostRun::last;
    platform.releaseAll();
    platform.tap(GLFW_KEY_R);
    frame(1.0);
    while (playTime < times.back()) {
        ASSERT_TRUE(ghostPosition);
        const size_t after = size_t(std::upper_bound(times.begin(), times.end(), playTime) - times.begin());
        const float along = float((playTime - times[after - 1]) / (times[after] - times[after - 1]));
        EXPECT_TRUE(closeTo(*ghostPosition, glm::mix(places[after - 1], places[after], along), 0.05f)) << playTime << " s";
        frame(1.0);  // the cat stands at the start; only its ghost goes
    }
    EXPECT_EQ(catTranslation(), courseStart);
    ghostRun = GhostRun::record;
}

}  // namespace
