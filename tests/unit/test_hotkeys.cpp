// Render-setting hotkeys: the settings each key changes, the messages it
// posts, and the events it must ignore.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "app/hotkeys.h"
#include "play/settings_screen.h"
#include "base/globals.h"
#include "gpu/texture.h"

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
    EXPECT_EQ(press(GLFW_KEY_F2), 0u);
    EXPECT_EQ(posted(GLFW_KEY_F8), "View Frustrum Culling: ON");
    EXPECT_EQ(posted(GLFW_KEY_F8), "View Frustrum Culling: OFF");
    EXPECT_FALSE(frustumCullingEnabled);
    EXPECT_EQ(posted(GLFW_KEY_F1), "Lab Overlay: ON");
    EXPECT_TRUE(labOverlayShown);
    EXPECT_EQ(posted(GLFW_KEY_F1), "Lab Overlay: OFF");
    EXPECT_FALSE(labOverlayShown);
    EXPECT_EQ(mipmapMessageTime, 42.0) << "the mipmap slot is left alone";
}

// The minifying filters by sampling family (linear, nearest) and mip-mapping
// level as the player sees it: from the linear mip-maps, from the nearest one, off.
const GLint minFilters[2][3] = {{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
                                {GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST}};
const char* const minFilterNames[2][3] = {{"GL_LINEAR_MIPMAP_LINEAR", "GL_LINEAR_MIPMAP_NEAREST", "GL_LINEAR"},
                                          {"GL_NEAREST_MIPMAP_LINEAR", "GL_NEAREST_MIPMAP_NEAREST", "GL_NEAREST"}};

// From every setting: F5 moves to the next level of the same family (linear,
// nearest, off, round again) and names the level; F4 moves to the other
// family at the same level and names the family and the new filter.
TEST_F(Hotkeys, F5CyclesTheMipmapLevelAndF4SwitchesTheFamilyKeepingIt) {
    const char* const familyNames[2] = {"LINEAR", "NEAREST"};
    const char* const levelNames[3] = {"LINEAR", "NEAREST", "Off"};
    for (int family = 0; family < 2; ++family)
        for (int level = 0; level < 3; ++level) {
            SCOPED_TRACE(testing::Message() << "from " << minFilterNames[family][level]);
            auto from = [&] {
                textureFilter = family == 0 ? GL_LINEAR : GL_NEAREST;
                mipmapFilter = minFilters[family][level];
            };
            from();
            const int next = (level + 1) % 3;
            EXPECT_EQ(posted(GLFW_KEY_F5), "(nothing posted)");
            EXPECT_EQ(std::make_tuple(textureFilter, mipmapFilter, mipmapMessage, mipmapMessageTime),
                      std::make_tuple(family == 0 ? GL_LINEAR : GL_NEAREST, minFilters[family][next],
                                      std::string("Mip Mapping-Quality: ") + levelNames[next], 0.0));
            from();
            const int other = 1 - family;
            EXPECT_EQ(posted(GLFW_KEY_F4), std::string("Textur-Sampling-Quality: ") + familyNames[other]);
            EXPECT_EQ(std::make_tuple(textureFilter, mipmapFilter, mipmapMessage, mipmapMessageTime),
                      std::make_tuple(other == 0 ? GL_LINEAR : GL_NEAREST, minFilters[other][level],
                                      std::string("Mip Mapping-Quality: ") + minFilterNames[other][level], 0.0));
        }
}

TEST_F(Hotkeys, F6CyclesTheQualityAndAutoStartsAgainAtFull) {
    chooseQuality(QualitySetting::automatic);
    autoQuality.observe(2.0);  // one slow second: auto steps down
    qualityLevel = autoQuality.level();
    ASSERT_EQ(qualityLevel, QualityLevel::balanced);
    const std::pair<const char*, QualityLevel> cycle[] = {
        {"Quality: full", QualityLevel::full}, {"Quality: balanced", QualityLevel::balanced},
        {"Quality: low", QualityLevel::low}, {"Quality: auto", QualityLevel::full}};
    for (const auto& [message, level] : cycle) {
        EXPECT_EQ(posted(GLFW_KEY_F6), message);
        EXPECT_EQ(qualityLevel, level) << message;
    }
    EXPECT_EQ(qualitySetting, QualitySetting::automatic);
}

// Quality and the ghost are settings the game keeps: their keys save them,
// with the other settings as they were.
TEST_F(Hotkeys, F6AndGSaveTheirSettings) {
    savedSettings = Settings{};
    savedSettings.musicVolume = 30;
    chooseQuality(QualitySetting::automatic);
    ghostEnabled = true;
    EXPECT_EQ(posted(GLFW_KEY_G), "Ghost: OFF");
    EXPECT_FALSE(ghostEnabled);
    press(GLFW_KEY_F6);
    Settings saved = loadSettings();
    EXPECT_EQ(std::make_tuple(saved.quality, saved.ghost, saved.musicVolume),
              std::make_tuple(QualitySetting::full, false, 30));
    EXPECT_EQ(posted(GLFW_KEY_G), "Ghost: ON");
    EXPECT_TRUE(loadSettings().ghost);
    chooseQuality(QualitySetting::full);
}

}  // namespace
