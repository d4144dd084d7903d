// The gamepad in the frame loop: every press counts, even one made while a
// paused frame waits; without the focus it does nothing; another pad taking
// the place of an unplugged one presses nothing it holds; and the player's
// own mappings are read, a file that holds none said in one line. And the
// frame loop's own focus: a window that opens without it keeps its run still.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <filesystem>

#include "app/frame.h"
#include "app/platform_glfw.h"
#include "play/input.h"
#include "play/settings_screen.h"
#include "tests/gl/world.h"
#include "base/scripted_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/support/temp_home.h"

namespace {

class Pad : public GameWorldTest {
protected:
    ScriptedPlatform platform;
    GamepadState pad;
    double lastFrameTime = 0.0;

    void SetUp() override {
        QuietConsole quiet;
        platform.pad = pad;
        paused = false;
        frames(2);
    }
    void TearDown() override {
        paused = false;
        effectsVolume = savedSettings.effectsVolume = 100;
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            platform.clock += 1.0 / 60.0;
            ::testing::internal::CaptureStderr();
            runFrame(lastFrameTime);
            ::testing::internal::GetCapturedStderr();
        }
    }
    // Start pressed and let go again between two samples of the pad.
    void tap(int button) {
        pad.buttons[button] = true;
        platform.pad = pad;
        samplePad();
        pad.buttons[button] = false;
        platform.pad = pad;
        samplePad();
    }
};

// A tap shorter than the pause's wait comes in the wait, not at a frame.
TEST_F(Pad, ATapWhileAPausedFrameWaitsCounts) {
    pauseRun();
    frames(1);
    platform.duringWait = [this] { tap(GLFW_GAMEPAD_BUTTON_START); };
    frames(1);
    platform.duringWait = nullptr;
    frames(1);
    EXPECT_FALSE(paused) << "Start, tapped during the wait, goes on in the next frame";
}

// A paused frame is slow: every key press within it counts, those before the
// frame and those in its wait alike, left and right as their balance.
TEST_F(Pad, EveryKeyPressWithinOnePausedFrameIsAStep) {
    pauseRun();
    frames(1);
    selectedSetting = int(SettingLine::quality);
    for (int i = 0; i < 5; ++i) platform.tap(GLFW_KEY_DOWN);
    platform.tap(GLFW_KEY_UP);
    platform.duringWait = [this] {
        for (int i = 0; i < 3; ++i) platform.tap(GLFW_KEY_LEFT);
        platform.tap(GLFW_KEY_RIGHT);
    };
    frames(1);
    platform.duringWait = nullptr;
    frames(1);
    EXPECT_EQ(selectedSetting, int(SettingLine::effectsVolume));
    EXPECT_EQ(effectsVolume, 80) << "three left and one right, in the same wait";
}

// Playing something else with the game paused behind it: the D-pad must not
// change (and save) the game's settings, nor Start end the pause.
TEST_F(Pad, WithoutTheFocusThePadDoesNothing) {
    pauseRun();
    platform.hasFocus = false;
    selectedSetting = int(SettingLine::effectsVolume);
    for (const int button : {GLFW_GAMEPAD_BUTTON_DPAD_LEFT, GLFW_GAMEPAD_BUTTON_START}) {
        platform.duringWait = [this, button] { tap(button); };
        frames(2);
    }
    platform.duringWait = nullptr;
    EXPECT_EQ(effectsVolume, 100);
    EXPECT_TRUE(paused);
    platform.hasFocus = true;
    platform.duringWait = [this] { tap(GLFW_GAMEPAD_BUTTON_DPAD_LEFT); };
    frames(1);
    platform.duringWait = nullptr;
    frames(1);
    EXPECT_EQ(effectsVolume, 90) << "in focus again, it works the settings";
}

// Of two pads, the one in use is unplugged and the other, Start held, takes
// its place: that is no press of Start.
TEST_F(Pad, AnotherPadTakingThePlaceOfAnUnpluggedOnePressesNothingItHolds) {
    pad.buttons[GLFW_GAMEPAD_BUTTON_START] = true;
    platform.padId = 1;
    platform.pad = pad;
    frames(2);
    EXPECT_FALSE(paused);
    pad.buttons[GLFW_GAMEPAD_BUTTON_START] = false;
    platform.pad = pad;
    frames(1);
    pad.buttons[GLFW_GAMEPAD_BUTTON_START] = true;
    platform.pad = pad;
    frames(1);
    EXPECT_TRUE(paused) << "pressed on the pad in use, it pauses";
}

// The frame loop of a window that opens behind another one: nobody can play
// the run yet, so its clock waits for the first focus, and starts there.
using FrameLoop = Pad;
TEST_F(FrameLoop, AWindowOpenedWithoutTheFocusStartsTheRunsClockAtTheFirstFocus) {
    platform.hasFocus = false;
    startFirstRun();
    frames(30);
    EXPECT_EQ(playTime, 0.0);
    EXPECT_FALSE(paused) << "a focus never had is no focus lost";
    platform.hasFocus = true;
    frames(6);
    EXPECT_NEAR(playTime, 6.0 / 60.0, 1e-9);
}

TEST(GamepadMappings, AreReadFromTheEnvironmentAndTheFileAndNoneIsSaidOnce) {
    TempDir home;
    setenv("XDG_CONFIG_HOME", home.path("config").c_str(), 1);
    const std::string mapping =
        "030000005e0400008e02000010010000,Some Pad,a:b0,b:b1,x:b2,y:b3,start:b7,leftx:a0,lefty:a1,platform:Linux,";
    struct Case {
        const char *environment, *file, *said;
    };
    const Case cases[] = {
        {"", nullptr, ""},
        {mapping.c_str(), mapping.c_str(), ""},
        {"not a mapping", nullptr, "kivo: SDL_GAMECONTROLLERCONFIG holds no gamepad mapping in SDL's format"},
        {"", "# a comment\ngarbage", "gamecontrollerdb.txt holds no gamepad mapping in SDL's format"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        setenv("SDL_GAMECONTROLLERCONFIG", c.environment, 1);
        std::filesystem::remove(home.path("config/kivo/gamecontrollerdb.txt"));
        if (c.file) home.write("config/kivo/gamecontrollerdb.txt", c.file);
        ::testing::internal::CaptureStderr();
        loadGamepadMappings();
        const std::string said = ::testing::internal::GetCapturedStderr();
        if (*c.said == '\0') EXPECT_EQ(said, "");
        else EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
    unsetenv("SDL_GAMECONTROLLERCONFIG");
    setenv("XDG_CONFIG_HOME", (useTemporaryHome() + "/config").c_str(), 1);
}

}  // namespace
