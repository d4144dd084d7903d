// Render-setting hotkeys: the settings each key changes, the messages it
// posts, and the events it must ignore.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/hotkeys.h"

namespace {

class Hotkeys : public ::testing::Test {
protected:
    void SetUp() override {
        lightPower = 1500.0f;
        transparency = 1.0f;
        transparencyEnabled = false;
        wireframeEnabled = false;
        frustumCullingEnabled = false;
        showFrameRate = false;
        textureFilter = GL_LINEAR;
        mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
        settingMessage.clear();
        mipmapMessage.clear();
        settingMessageTime = -1.0;
        mipmapMessageTime = -1.0;
    }

    static GLenum press(int key) { return applyHotkey(key, GLFW_PRESS); }

    // A message counts as posted when its start time was reset to 0 for the HUD.
    static void markMessagesShown() {
        settingMessageTime = 42.0;
        mipmapMessageTime = 42.0;
    }
};

TEST_F(Hotkeys, LightPowerStepsByHundredWithoutLimitOrMessage) {
    press(GLFW_KEY_1);
    EXPECT_FLOAT_EQ(lightPower, 1600.0f);
    for (int i = 0; i < 17; ++i) press(GLFW_KEY_2);
    EXPECT_FLOAT_EQ(lightPower, -100.0f);
    EXPECT_TRUE(settingMessage.empty());
    EXPECT_EQ(settingMessageTime, -1.0);
}

TEST_F(Hotkeys, TransparencyStepsUpToJustAboveOneThenDownToAlmostZero) {
    press(GLFW_KEY_F9);
    ASSERT_TRUE(transparencyEnabled);
    ASSERT_FLOAT_EQ(transparency, 0.3f);

    const std::vector<std::string> upTexts = {"0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0"};
    for (const std::string& text : upTexts) {
        markMessagesShown();
        press(GLFW_KEY_3);
        EXPECT_EQ(settingMessage, "Transparency: " + text);
        EXPECT_EQ(settingMessageTime, 0.0);
    }
    // Float rounding leaves the seventh step just above 1, where 3 stops.
    EXPECT_GT(transparency, 1.0f);
    EXPECT_NEAR(transparency, 1.0000001f, 1e-7f);
    markMessagesShown();
    press(GLFW_KEY_3);
    EXPECT_NEAR(transparency, 1.0000001f, 1e-7f);
    EXPECT_EQ(settingMessageTime, 42.0);

    const std::vector<std::string> downTexts = {"0.9", "0.8", "0.7", "0.6", "0.5",
                                                "0.4", "0.3", "0.2", "0.1", "0.0"};
    for (const std::string& text : downTexts) {
        markMessagesShown();
        press(GLFW_KEY_4);
        EXPECT_EQ(settingMessage, "Transparency: " + text);
        EXPECT_EQ(settingMessageTime, 0.0);
    }
    // The stored 0.1 lies just above 0.1, so one more step went below it.
    EXPECT_GT(transparency, 0.0f);
    EXPECT_LT(transparency, 1e-7f);
    markMessagesShown();
    press(GLFW_KEY_4);
    EXPECT_LT(transparency, 1e-7f);
    EXPECT_EQ(settingMessageTime, 42.0);
}

TEST_F(Hotkeys, TransparencyKeysDoNothingWhileTheModeIsOff) {
    transparency = 0.5f;
    press(GLFW_KEY_3);
    press(GLFW_KEY_4);
    EXPECT_FLOAT_EQ(transparency, 0.5f);
    EXPECT_TRUE(settingMessage.empty());
    EXPECT_EQ(settingMessageTime, -1.0);
}

TEST_F(Hotkeys, TransparencyModeAlwaysRestartsAtPointThree) {
    press(GLFW_KEY_F9);
    press(GLFW_KEY_3);
    press(GLFW_KEY_3);
    press(GLFW_KEY_F9);
    EXPECT_FALSE(transparencyEnabled);
    press(GLFW_KEY_F9);
    EXPECT_TRUE(transparencyEnabled);
    EXPECT_FLOAT_EQ(transparency, 0.3f);
}

TEST_F(Hotkeys, TransparencyTextKeepsOneDecimal) {
    EXPECT_EQ(transparencyText(0.4f), "Transparency: 0.4");
    EXPECT_EQ(transparencyText(0.99f), "Transparency: 0.9");  // cut, not rounded
    EXPECT_EQ(transparencyText(1.0000001f), "Transparency: 1.0");
}

TEST_F(Hotkeys, FrameRateAndCullingToggle) {
    press(GLFW_KEY_F2);
    EXPECT_TRUE(showFrameRate);
    press(GLFW_KEY_F2);
    EXPECT_FALSE(showFrameRate);

    press(GLFW_KEY_F8);
    EXPECT_TRUE(frustumCullingEnabled);
    EXPECT_EQ(settingMessage, "View Frustrum Culling: ON");
    EXPECT_EQ(settingMessageTime, 0.0);
    markMessagesShown();
    press(GLFW_KEY_F8);
    EXPECT_FALSE(frustumCullingEnabled);
    EXPECT_EQ(settingMessage, "View Frustrum Culling: OFF");
    EXPECT_EQ(settingMessageTime, 0.0);
    EXPECT_TRUE(mipmapMessage.empty());
}

TEST_F(Hotkeys, WireframeReportsThePolygonModeToSet) {
    EXPECT_EQ(press(GLFW_KEY_F3), static_cast<GLenum>(GL_LINE));
    EXPECT_TRUE(wireframeEnabled);
    EXPECT_EQ(press(GLFW_KEY_F3), static_cast<GLenum>(GL_FILL));
    EXPECT_FALSE(wireframeEnabled);
    EXPECT_EQ(press(GLFW_KEY_F2), 0u);
}

TEST_F(Hotkeys, MipmapKeyCyclesLinearNearestOffWithinEachFamily) {
    struct Step {
        GLint mipmap;
        const char* message;
    };
    const Step linearCycle[] = {{GL_LINEAR_MIPMAP_NEAREST, "Mip Mapping-Quality: NEAREST"},
                                {GL_LINEAR, "Mip Mapping-Quality: Off"},
                                {GL_LINEAR_MIPMAP_LINEAR, "Mip Mapping-Quality: LINEAR"}};
    for (const Step& step : linearCycle) {
        markMessagesShown();
        press(GLFW_KEY_F5);
        EXPECT_EQ(textureFilter, GL_LINEAR);
        EXPECT_EQ(mipmapFilter, step.mipmap);
        EXPECT_EQ(mipmapMessage, step.message);
        EXPECT_EQ(mipmapMessageTime, 0.0);
        EXPECT_EQ(settingMessageTime, 42.0);
    }

    textureFilter = GL_NEAREST;
    mipmapFilter = GL_NEAREST_MIPMAP_LINEAR;
    const Step nearestCycle[] = {{GL_NEAREST_MIPMAP_NEAREST, "Mip Mapping-Quality: NEAREST"},
                                 {GL_NEAREST, "Mip Mapping-Quality: Off"},
                                 {GL_NEAREST_MIPMAP_LINEAR, "Mip Mapping-Quality: LINEAR"}};
    for (const Step& step : nearestCycle) {
        press(GLFW_KEY_F5);
        EXPECT_EQ(textureFilter, GL_NEAREST);
        EXPECT_EQ(mipmapFilter, step.mipmap);
        EXPECT_EQ(mipmapMessage, step.message);
    }

    // A mode of the other family (left by hand) restarts the cycle at linear mip-mapping.
    mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
    press(GLFW_KEY_F5);
    EXPECT_EQ(mipmapFilter, GL_NEAREST_MIPMAP_LINEAR);
}

TEST_F(Hotkeys, SamplingKeySwitchesFamilyAndKeepsTheMipmapLevel) {
    struct Row {
        GLint before, after;
        const char* mipmapText;
    };
    const Row toNearest[] = {
        {GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST_MIPMAP_LINEAR, "Mip Mapping-Quality: GL_NEAREST_MIPMAP_LINEAR"},
        {GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_NEAREST, "Mip Mapping-Quality: GL_NEAREST_MIPMAP_NEAREST"},
        {GL_LINEAR, GL_NEAREST, "Mip Mapping-Quality: GL_NEAREST"},
    };
    const Row toLinear[] = {
        {GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR, "Mip Mapping-Quality: GL_LINEAR_MIPMAP_LINEAR"},
        {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST, "Mip Mapping-Quality: GL_LINEAR_MIPMAP_NEAREST"},
        {GL_NEAREST, GL_LINEAR, "Mip Mapping-Quality: GL_LINEAR"},
    };
    for (const Row& row : toNearest) {
        textureFilter = GL_LINEAR;
        mipmapFilter = row.before;
        markMessagesShown();
        press(GLFW_KEY_F4);
        EXPECT_EQ(textureFilter, GL_NEAREST);
        EXPECT_EQ(mipmapFilter, row.after);
        EXPECT_EQ(settingMessage, "Textur-Sampling-Quality: NEAREST");
        EXPECT_EQ(mipmapMessage, row.mipmapText);
        EXPECT_EQ(settingMessageTime, 0.0);
        EXPECT_EQ(mipmapMessageTime, 0.0);
    }
    for (const Row& row : toLinear) {
        textureFilter = GL_NEAREST;
        mipmapFilter = row.before;
        press(GLFW_KEY_F4);
        EXPECT_EQ(textureFilter, GL_LINEAR);
        EXPECT_EQ(mipmapFilter, row.after);
        EXPECT_EQ(settingMessage, "Textur-Sampling-Quality: LINEAR");
        EXPECT_EQ(mipmapMessage, row.mipmapText);
    }
}

TEST_F(Hotkeys, SamplingThenMipmapKeysVisitEverySixModes) {
    std::vector<std::pair<GLint, GLint>> seen;
    for (int family = 0; family < 2; ++family) {
        for (int level = 0; level < 3; ++level) {
            seen.emplace_back(textureFilter, mipmapFilter);
            press(GLFW_KEY_F5);
        }
        press(GLFW_KEY_F4);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen.size(), 6u);
}

TEST_F(Hotkeys, RepeatReleaseAndOtherKeysChangeNothing) {
    transparencyEnabled = true;
    transparency = 0.5f;
    const int keys[] = {GLFW_KEY_1, GLFW_KEY_2, GLFW_KEY_3, GLFW_KEY_4, GLFW_KEY_F2,
                        GLFW_KEY_F3, GLFW_KEY_F4, GLFW_KEY_F5, GLFW_KEY_F8, GLFW_KEY_F9};
    for (int key : keys) {
        for (int action : {GLFW_REPEAT, GLFW_RELEASE}) {
            EXPECT_EQ(applyHotkey(key, action), 0u);
        }
    }
    for (int key : {GLFW_KEY_W, GLFW_KEY_SPACE, GLFW_KEY_ENTER, GLFW_KEY_5, GLFW_KEY_F1, GLFW_KEY_F10}) {
        press(key);
    }
    EXPECT_FLOAT_EQ(lightPower, 1500.0f);
    EXPECT_FLOAT_EQ(transparency, 0.5f);
    EXPECT_TRUE(transparencyEnabled);
    EXPECT_FALSE(wireframeEnabled);
    EXPECT_FALSE(frustumCullingEnabled);
    EXPECT_FALSE(showFrameRate);
    EXPECT_EQ(textureFilter, GL_LINEAR);
    EXPECT_EQ(mipmapFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_TRUE(settingMessage.empty());
    EXPECT_TRUE(mipmapMessage.empty());
    EXPECT_EQ(settingMessageTime, -1.0);
    EXPECT_EQ(mipmapMessageTime, -1.0);
}

}  // namespace
