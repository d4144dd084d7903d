// The command line: a player may skip the console dialogue by naming the
// window or the full-screen mode, set the quality, the mouse sensitivity,
// invert-Y and the volumes for this start (the saved settings stay as they
// are), run the benchmark instead of a game, or ask for help or the version. Options combine; each may be given
// once. Parsed without GLFW, so it is tested on its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/quality.h"
#include "base/screen_fit.h"
#include "base/settings.h"

struct LaunchOptions {
    enum class Action { play, help, version, fail };
    Action action = Action::play;
    std::optional<PixelSize> window;      // --window=WxH: a window of this size, no dialogue
    bool fullscreen = false;              // --fullscreen[=WxH]: full screen, no dialogue
    std::optional<PixelSize> fullscreenMode;  // the mode asked for; none: the monitor's largest
    std::optional<QualitySetting> quality;    // --quality=LEVEL
    std::optional<float> sensitivity;         // --sensitivity=X
    std::optional<bool> invertY;              // --invert-y
    std::optional<int> musicVolume;           // --music=PERCENT
    std::optional<int> effectsVolume;         // --effects=PERCENT
    std::optional<std::string> benchmark;     // --benchmark[=FILE]: the report's file; empty: stdout
    std::string error;                    // for Action::fail: one line naming the option
};

// Reads the arguments after the program's name. Every option may be given
// once; an unknown option or a bad value gives Action::fail with `error`.
LaunchOptions parseCommandLine(const std::vector<std::string>& arguments);

// The text --help prints, and the one --version prints, each ending in a newline.
std::string usageText();
std::string versionText();
