#include "play/settings_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/globals.h"
#include "scene/world.h"
#include "base/sound.h"

namespace {

// The factors Left and Right step through; the command line may set any
// other within the settings' range.
constexpr float sensitivitySteps[] = {0.25f, 0.35f, 0.5f, 0.7f, 1.0f, 1.4f, 2.0f, 2.8f, 4.0f};
constexpr int volumeStep = 10;  // percent

std::string onOff(bool on) { return on ? "on" : "off"; }

// 1.0, 1.4, 0.35: one decimal unless the factor needs two.
std::string factorText(float factor) {
    char text[16];
    const bool tenths = std::fabs(factor * 10.0f - std::round(factor * 10.0f)) < 1e-3f;
    std::snprintf(text, sizeof text, tenths ? "%.1f" : "%.2f", double(factor));
    return text;
}

float steppedSensitivity(float factor, int step) {
    if (step > 0) {
        for (float s : sensitivitySteps)
            if (s > factor * 1.001f) return s;
        return factor;
    }
    for (auto s = std::rbegin(sensitivitySteps); s != std::rend(sensitivitySteps); ++s)
        if (*s < factor * 0.999f) return *s;
    return factor;
}

QualitySetting steppedQuality(QualitySetting setting, int step) {
    if (step > 0) return nextQualitySetting(setting);
    QualitySetting previous = setting;
    while (nextQualitySetting(previous) != setting) previous = nextQualitySetting(previous);
    return previous;
}

}  // namespace

void changeQuality(QualitySetting setting) {
    chooseQuality(setting);
    savedSettings.quality = setting;
    saveSettings(savedSettings);
}

void changeGhost(bool enabled) {
    ghostEnabled = savedSettings.ghost = enabled;
    saveSettings(savedSettings);
}

void changeGhostRun(GhostRun run) {
    ghostRun = savedSettings.ghostRun = run;
    saveSettings(savedSettings);
}

void stepGhost(int step) {
    // Round the three choices: the record's run, the last run, none.
    const int now = !ghostEnabled ? 2 : ghostRun == GhostRun::last ? 1 : 0;
    const int next = ((now + step) % 3 + 3) % 3;
    ghostEnabled = savedSettings.ghost = next != 2;
    if (next != 2) savedSettings.ghostRun = next == 1 ? GhostRun::last : GhostRun::record;
    ghostRun = savedSettings.ghostRun;
    saveSettings(savedSettings);
}

void changeMouseSensitivity(float factor) {
    mouseSensitivity = savedSettings.mouseSensitivity = std::clamp(factor, minMouseSensitivity, maxMouseSensitivity);
    saveSettings(savedSettings);
}

void changeInvertY(bool inverted) {
    invertY = savedSettings.invertY = inverted;
    saveSettings(savedSettings);
}

void changeMusicVolume(int percent) {
    musicVolume = savedSettings.musicVolume = std::clamp(percent, 0, maxVolume);
    setSoundVolumes(musicVolume, effectsVolume);
    saveSettings(savedSettings);
}

void changeEffectsVolume(int percent) {
    effectsVolume = savedSettings.effectsVolume = std::clamp(percent, 0, maxVolume);
    setSoundVolumes(musicVolume, effectsVolume);
    saveSettings(savedSettings);
}

std::vector<SettingRow> settingRows() {
    const std::pair<const char*, std::string> rows[settingLineCount] = {
        {"Quality", qualityName(qualitySetting)},
        {"Mouse sensitivity", factorText(mouseSensitivity)},
        {"Invert Y", onOff(invertY)},
        {"Music volume", std::to_string(musicVolume) + "%"},
        {"Effects volume", std::to_string(effectsVolume) + "%"},
        {"Ghost", !ghostEnabled ? "off" : ghostRun == GhostRun::last ? "last run" : "record"},
    };
    std::vector<SettingRow> lines;
    for (int i = 0; i < settingLineCount; ++i) lines.push_back({rows[i].first, rows[i].second, i == selectedSetting});
    return lines;
}

void chooseSettingLine(int step) {
    selectedSetting = ((selectedSetting + step) % settingLineCount + settingLineCount) % settingLineCount;
}

void changeSettingValue(int step) {
    switch (static_cast<SettingLine>(selectedSetting)) {
        case SettingLine::quality: changeQuality(steppedQuality(qualitySetting, step)); break;
        case SettingLine::mouseSensitivity: changeMouseSensitivity(steppedSensitivity(mouseSensitivity, step)); break;
        case SettingLine::invertY: changeInvertY(!invertY); break;
        case SettingLine::musicVolume: changeMusicVolume(musicVolume + step * volumeStep); break;
        case SettingLine::effectsVolume: changeEffectsVolume(effectsVolume + step * volumeStep); break;
        case SettingLine::ghost: stepGhost(step); break;
    }
}
