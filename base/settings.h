// The player's settings, kept from one start to the next in a file a person
// can read and edit:
//
//   {
//     "version": 1,
//     "quality": "auto",
//     "ghost": true,
//     "ghostRun": "record",
//     "mouseSensitivity": 1.0,
//     "invertY": false,
//     "musicVolume": 100,
//     "effectsVolume": 100
//   }
//
// A key left out keeps its default. Keys this game does not know (a later
// game's, or a typo) are kept as they are when the file is written again,
// and named once on stderr. A file that breaks the format is set aside and
// the defaults hold; one of a later format version is left alone
// (base/storage.h).
#pragma once

#include <optional>
#include <string>

#include "base/quality.h"
#include "base/storage.h"

// Whose way the ghost follows: the all-time best run's, or the last run
// finished (base/records.h keeps both).
enum class GhostRun { record, last };
const char* ghostRunName(GhostRun run);  // "record", "last": as the file keeps it
std::optional<GhostRun> parseGhostRun(const std::string& name);

struct Settings {
    QualitySetting quality = QualitySetting::automatic;
    bool ghost = true;              // a ghost races along (G)
    GhostRun ghostRun = GhostRun::record;
    float mouseSensitivity = 1.0f;  // a factor on the mouse look's turn per pixel, 0.1 to 10
    bool invertY = false;           // moving the mouse up looks down
    int musicVolume = 100;          // percent
    int effectsVolume = 100;        // percent
    UnknownKeys unknown;            // keys this game does not know
};

constexpr int settingsVersion = 1;
constexpr float minMouseSensitivity = 0.1f, maxMouseSensitivity = 10.0f;

// `factor` as the file keeps it, to the hundredth, when that lies from 0.1
// to 10; none otherwise. The file and the command line both take it so.
std::optional<float> keptSensitivity(double factor);

// A volume, in whole percent from 0 (silent) to maxVolume; none otherwise.
// The file, the command line and the settings screen all keep to it.
constexpr int maxVolume = 100;
std::optional<int> keptVolume(double percent);

// Reads `text` into `settings` (the defaults where it leaves a key out);
// `problem` says what breaks the format (not JSON, a wrong type, a value out
// of range) or which later version it is.
Verdict parseSettings(const std::string& text, Settings& settings, std::string& problem);

// The file's text for `settings`, unknown keys included.
std::string settingsText(const Settings& settings);

// The saved settings, or the defaults when there are none or they cannot be
// read (which is said on stderr).
Settings loadSettings();

// Saves `settings`; a failure is said once on stderr and the game plays on.
void saveSettings(const Settings& settings);
