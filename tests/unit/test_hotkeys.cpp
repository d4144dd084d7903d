// Render-setting hotkeys: the settings each key changes, the messages it
// posts, and the events it must ignore.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "app/hotkeys.h"
#include "base/globals.h"

namespace {

class Hotkeys : public ::testing::Test {
protected:
    void SetUp() override {
        lightPower = 1500.0f;
        transparency = 1.0f;
        transparencyEnabled = wireframeEnabled = frustumCullingEnabled = showFrameRate = false;
        std::tie(textureFilter, mipmapFilter) = std::make_pair(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
        settingMessage = mipmapMessage = "";
        settingMessageTime = mipmapMessageTime = -1.0;
    }

    static GLenum press(int key) { return applyHotkey(key, GLFW_PRESS); }

    // The setting message a press posts (its start time reset to 0 for the HUD), if any.
    static std::string posted(int key) {
        settingMessageTime = mipmapMessageTime = 42.0;
        press(key);
        return settingMessageTime == 0.0 ? settingMessage : "(nothing posted)";
    }
};

TEST_F(Hotkeys, TransparencyStepsUpToJustAboveOneThenDownToAlmostZero) {
    transparency = 0.5f;
    EXPECT_EQ(posted(GLFW_KEY_3), "(nothing posted)") << "the keys do nothing while the mode is off";
    EXPECT_EQ(posted(GLFW_KEY_4), "(nothing posted)");
    EXPECT_EQ(transparency, 0.5f);
    press(GLFW_KEY_F9);
    ASSERT_FLOAT_EQ(transparency, 0.3f);
    for (const char* text : {"0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0"})
        EXPECT_EQ(posted(GLFW_KEY_3), std::string("Transparency: ") + text);
    // Float rounding leaves the seventh step just above 1, where 3 stops.
    EXPECT_EQ(posted(GLFW_KEY_3), "(nothing posted)");
    for (const char* text : {"0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0.0"})
        EXPECT_EQ(posted(GLFW_KEY_4), std::string("Transparency: ") + text);
    // The stored 0.1 lies just above 0.1, so one more step went below it, not to 0.
    EXPECT_TRUE(transparency > 0.0f && transparency < 1e-7f);
    EXPECT_EQ(posted(GLFW_KEY_4), "(nothing posted)");
    EXPECT_EQ(transparencyText(0.99f), "Transparency: 0.9") << "cut, not rounded";

    press(GLFW_KEY_F9);
    EXPECT_FALSE(transparencyEnabled);
    press(GLFW_KEY_F9);
    EXPECT_FLOAT_EQ(transparency, 0.3f) << "the mode always restarts at 0.3";
}

TEST_F(Hotkeys, TogglesAndLightPowerWithTheirMessages) {
    EXPECT_EQ(posted(GLFW_KEY_1), "(nothing posted)");
    for (int i = 0; i < 17; ++i) press(GLFW_KEY_2);
    EXPECT_FLOAT_EQ(lightPower, -100.0f) << "steps of 100 without a limit";
    EXPECT_EQ(posted(GLFW_KEY_F2), "(nothing posted)");
    EXPECT_TRUE(showFrameRate);
    EXPECT_EQ(press(GLFW_KEY_F3), GLenum(GL_LINE)) << "the polygon mode to set";
    EXPECT_EQ(press(GLFW_KEY_F3), GLenum(GL_FILL));
    EXPECT_EQ(press(GLFW_KEY_F2), 0u);
    EXPECT_EQ(posted(GLFW_KEY_F8), "View Frustrum Culling: ON");
    EXPECT_EQ(posted(GLFW_KEY_F8), "View Frustrum Culling: OFF");
    EXPECT_FALSE(frustumCullingEnabled);
    EXPECT_EQ(mipmapMessageTime, 42.0) << "the mipmap slot is left alone";
}

TEST_F(Hotkeys, F5CyclesTheMipmapLevelAndF4SwitchesTheFamilyKeepingIt) {
    struct Step {
        int key;
        GLint texture, mipmap;
        const char* mipmapMessage;
    };
    // Every F5 and every F4 transition once, from the start setting.
    const Step steps[] = {
        {GLFW_KEY_F5, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, "NEAREST"},
        {GLFW_KEY_F4, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, "GL_NEAREST_MIPMAP_NEAREST"},
        {GLFW_KEY_F5, GL_NEAREST, GL_NEAREST, "Off"},
        {GLFW_KEY_F4, GL_LINEAR, GL_LINEAR, "GL_LINEAR"},
        {GLFW_KEY_F5, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, "LINEAR"},
        {GLFW_KEY_F4, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR, "GL_NEAREST_MIPMAP_LINEAR"},
        {GLFW_KEY_F5, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, "NEAREST"},
        {GLFW_KEY_F4, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, "GL_LINEAR_MIPMAP_NEAREST"},
        {GLFW_KEY_F5, GL_LINEAR, GL_LINEAR, "Off"},
        {GLFW_KEY_F4, GL_NEAREST, GL_NEAREST, "GL_NEAREST"},
        {GLFW_KEY_F5, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR, "LINEAR"},
        {GLFW_KEY_F4, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, "GL_LINEAR_MIPMAP_LINEAR"},
    };
    for (const Step& step : steps) {
        const bool f4 = step.key == GLFW_KEY_F4;
        SCOPED_TRACE(testing::Message() << (f4 ? "F4" : "F5") << " to " << step.mipmapMessage);
        EXPECT_EQ(posted(step.key), !f4 ? "(nothing posted)"
                                        : std::string("Textur-Sampling-Quality: ") +
                                              (step.texture == GL_LINEAR ? "LINEAR" : "NEAREST"));
        EXPECT_EQ(std::make_tuple(textureFilter, mipmapFilter, mipmapMessage, mipmapMessageTime),
                  std::make_tuple(step.texture, step.mipmap, std::string("Mip Mapping-Quality: ") + step.mipmapMessage, 0.0));
    }
}

TEST_F(Hotkeys, RepeatReleaseAndOtherKeysChangeNothing) {
    transparencyEnabled = true;
    transparency = 0.5f;
    for (int key : {GLFW_KEY_1, GLFW_KEY_2, GLFW_KEY_3, GLFW_KEY_4, GLFW_KEY_F2, GLFW_KEY_F3, GLFW_KEY_F4,
                    GLFW_KEY_F5, GLFW_KEY_F8, GLFW_KEY_F9})
        for (int action : {GLFW_REPEAT, GLFW_RELEASE}) EXPECT_EQ(applyHotkey(key, action), 0u);
    for (int key : {GLFW_KEY_W, GLFW_KEY_SPACE, GLFW_KEY_ENTER, GLFW_KEY_5, GLFW_KEY_F1, GLFW_KEY_F10}) press(key);
    EXPECT_EQ(lightPower, 1500.0f);
    EXPECT_EQ(transparency, 0.5f);
    EXPECT_TRUE(transparencyEnabled && !wireframeEnabled && !frustumCullingEnabled && !showFrameRate);
    EXPECT_EQ(std::make_pair(textureFilter, mipmapFilter), std::make_pair(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR));
    EXPECT_EQ(std::make_pair(settingMessageTime, mipmapMessageTime), std::make_pair(-1.0, -1.0));
}

}  // namespace
