// The settings screen of the pause: each line changes its setting for this
// start at once and saves it with the others.
#include <gtest/gtest.h>

#include "base/globals.h"
#include "base/sound.h"
#include "play/settings_screen.h"

namespace {

// The volumes the mixer is given.
struct HeardVolumes final : SoundOutput {
    int music = -1, effects = -1;
    void play(Sound) override {}
    void setVolumes(int musicPercent, int effectsPercent) override { music = musicPercent, effects = effectsPercent; }
};

class SettingsScreen : public ::testing::Test {
protected:
    HeardVolumes mixer;
    void SetUp() override {
        savedSettings = Settings{};
        savedSettings.unknown = {{"later", "7"}};  // what the screen does not show is kept
        chooseQuality(QualitySetting::automatic);
        ghostEnabled = true;
        ghostRun = GhostRun::record;
        mouseSensitivity = 1.0f;
        invertY = false;
        musicVolume = effectsVolume = 100;
        selectedSetting = 0;
        setSoundOutput(&mixer);
    }
    void TearDown() override { setSoundOutput(nullptr); }

    static std::string shown(SettingLine line) { return settingRows()[int(line)].value; }
    static void change(SettingLine line, int step) {
        chooseSettingLine(int(line) - selectedSetting);
        changeSettingValue(step);
    }
};

TEST_F(SettingsScreen, UpAndDownChooseALineRoundTheEnds) {
    EXPECT_TRUE(settingRows()[0].chosen);
    chooseSettingLine(-1);
    EXPECT_EQ(selectedSetting, settingLineCount - 1) << "up from the top: the last line";
    chooseSettingLine(2);
    EXPECT_EQ(selectedSetting, 1);
    EXPECT_TRUE(settingRows()[1].chosen && !settingRows()[0].chosen);
}

TEST_F(SettingsScreen, EachLineChangesItsSettingAtOnceAndSavesIt) {
    struct Case {
        SettingLine line;
        int step;
        std::string value;  // shown afterwards
    };
    const Case cases[] = {
        {SettingLine::quality, -1, "low"},  {SettingLine::quality, 1, "auto"},  {SettingLine::quality, 1, "full"},
        {SettingLine::mouseSensitivity, 1, "1.4"}, {SettingLine::mouseSensitivity, -1, "1.0"},
        {SettingLine::mouseSensitivity, -1, "0.7"}, {SettingLine::mouseSensitivity, -1, "0.5"},
        {SettingLine::mouseSensitivity, -1, "0.35"}, {SettingLine::invertY, 1, "on"}, {SettingLine::invertY, -1, "off"},
        {SettingLine::musicVolume, -1, "90%"}, {SettingLine::musicVolume, 1, "100%"}, {SettingLine::musicVolume, 1, "100%"},
        {SettingLine::effectsVolume, -1, "90%"}, {SettingLine::ghost, 1, "last run"},
        {SettingLine::ghost, 1, "off"}, {SettingLine::ghost, 1, "record"}, {SettingLine::ghost, -1, "off"},
    };
    for (const Case& c : cases) {
        change(c.line, c.step);
        EXPECT_EQ(shown(c.line), c.value) << int(c.line) << " by " << c.step;
    }
    EXPECT_EQ(qualityLevel, QualityLevel::full) << "applied at once";
    EXPECT_EQ(std::make_tuple(mouseSensitivity, invertY, ghostEnabled), std::make_tuple(0.35f, false, false));
    EXPECT_EQ(std::make_pair(mixer.music, mixer.effects), std::make_pair(100, 90)) << "the mixer's volumes";
    change(SettingLine::ghost, -1);
    EXPECT_EQ(std::make_pair(loadSettings().ghost, loadSettings().ghostRun), std::make_pair(true, GhostRun::last))
        << "off, then back round to the last run's ghost";
}

// One line changed from the defaults: its setting alone differs, in the
// game and the mixer at once and in the file, whatever the others' lines do.
TEST_F(SettingsScreen, EachLineAppliesAndSavesItsOwnSettingAndNoOther) {
    auto live = [] {
        Settings now;
        now.quality = qualitySetting;
        now.ghost = ghostEnabled;
        now.ghostRun = ghostRun;
        now.mouseSensitivity = mouseSensitivity;
        now.invertY = invertY;
        now.musicVolume = musicVolume;
        now.effectsVolume = effectsVolume;
        now.unknown = savedSettings.unknown;
        return now;
    };
    const struct Case {
        SettingLine line;
        void (*changed)(Settings&);
    } cases[] = {
        {SettingLine::quality, [](Settings& s) { s.quality = QualitySetting::full; }},
        {SettingLine::mouseSensitivity, [](Settings& s) { s.mouseSensitivity = 1.4f; }},
        {SettingLine::invertY, [](Settings& s) { s.invertY = true; }},
        {SettingLine::musicVolume, [](Settings& s) { s.musicVolume = 90; }},
        {SettingLine::effectsVolume, [](Settings& s) { s.effectsVolume = 90; }},
        {SettingLine::ghost, [](Settings& s) { s.ghostRun = GhostRun::last; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(settingRows()[int(c.line)].name);
        SetUp();
        saveSettings(savedSettings);
        mixer = HeardVolumes{};
        Settings expected;
        expected.unknown = savedSettings.unknown;
        c.changed(expected);
        change(c.line, c.line == SettingLine::musicVolume || c.line == SettingLine::effectsVolume ? -1 : 1);
        EXPECT_EQ(settingsText(live()), settingsText(expected)) << "in the game";
        EXPECT_EQ(settingsText(loadSettings()), settingsText(expected)) << "in the file";
        if (mixer.music >= 0) EXPECT_EQ(std::make_pair(mixer.music, mixer.effects), std::make_pair(expected.musicVolume, expected.effectsVolume));
        else EXPECT_EQ(expected.musicVolume + expected.effectsVolume, 2 * maxVolume) << "the mixer was not told";
    }
}

TEST_F(SettingsScreen, SensitivityStepsStayWithinTheirRangeAndVolumesWithinPercent) {
    for (int i = 0; i < 20; ++i) change(SettingLine::mouseSensitivity, 1);
    EXPECT_EQ(mouseSensitivity, 4.0f);
    for (int i = 0; i < 20; ++i) change(SettingLine::mouseSensitivity, -1);
    EXPECT_EQ(mouseSensitivity, 0.25f);
    changeMouseSensitivity(50.0f);
    EXPECT_EQ(mouseSensitivity, maxMouseSensitivity);
    for (int i = 0; i < 12; ++i) change(SettingLine::effectsVolume, -1);
    EXPECT_EQ(effectsVolume, 0);
    changeMusicVolume(250);
    EXPECT_EQ(musicVolume, 100);
}

}  // namespace
