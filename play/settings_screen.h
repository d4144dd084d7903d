// The settings the player changes while playing: on a screen in the pause,
// one line a setting, Up and Down to choose a line and Left and Right to
// change it, and the hotkeys F6 (quality) and G (ghost). A change applies
// at once and is saved with the other settings (base/settings.h).
#pragma once

#include <string>
#include <vector>

#include "base/quality.h"
#include "base/settings.h"

// The player changes a setting: it applies at once and is saved.
void changeQuality(QualitySetting setting);
void changeGhost(bool enabled);           // G: shown or hidden
void changeGhostRun(GhostRun run);        // whose way it follows
// The ghost line's step through its three choices: the record's run, the
// last run finished, none.
void stepGhost(int step);
void changeMouseSensitivity(float factor);  // clamped to the settings' range
void changeInvertY(bool inverted);
void changeMusicVolume(int percent);        // clamped to 0 .. 100
void changeEffectsVolume(int percent);

// The screen's lines, top to bottom.
enum class SettingLine { quality, mouseSensitivity, invertY, musicVolume, effectsVolume, ghost };
constexpr int settingLineCount = 6;

struct SettingRow {
    std::string name, value;
    bool chosen;  // the line Left and Right change
};
std::vector<SettingRow> settingRows();

// Up (-1) and Down (+1): the line above or below selectedSetting, round the ends.
void chooseSettingLine(int step);
// Left (-1) and Right (+1): the chosen setting's previous or next value
// (on and off swap either way; the ghost goes round its three).
void changeSettingValue(int step);
