#include "app/command_line.h"

#include <cctype>
#include <cstdlib>
#include <set>

#ifndef KIVO_VERSION
#define KIVO_VERSION "unknown"
#endif

namespace {

// "WxH" with both sides whole numbers from 1 to 16384.
std::optional<PixelSize> parseSize(const std::string& text) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    auto number = [](const std::string& digits) -> int {
        if (digits.empty() || digits.size() > 5) return 0;
        for (char c : digits)
            if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        const int value = std::stoi(digits);
        return value <= 16384 ? value : 0;
    };
    const int width = number(text.substr(0, x)), height = number(text.substr(x + 1));
    if (width == 0 || height == 0) return std::nullopt;
    return PixelSize{width, height};
}

// A volume's whole percentage, digits only.
std::optional<int> parsePercent(const std::string& text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return keptVolume(std::stoi(text));
}

// A decimal number within the settings' range of mouse sensitivity.
std::optional<float> parseSensitivity(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return *end == '\0' ? keptSensitivity(value) : std::nullopt;
}

LaunchOptions failure(std::string error) {
    LaunchOptions options;
    options.action = LaunchOptions::Action::fail;
    options.error = "kivo: " + std::move(error) + " (kivo --help lists the options)";
    return options;
}

}  // namespace

LaunchOptions parseCommandLine(const std::vector<std::string>& arguments) {
    LaunchOptions options;
    bool help = false, version = false;
    std::set<std::string> seen;  // the settings' options, each allowed once
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        std::string value = hasValue ? argument.substr(equals + 1) : "";
        // The option as the player gave it, its value after '=' or as the next argument.
        auto takeValue = [&] {
            if (!hasValue && i + 1 < arguments.size()) value = arguments[++i];
            return hasValue || value.empty() ? argument : argument + " " + value;
        };
        const bool setting = name == "--quality" || name == "--sensitivity" || name == "--invert-y" ||
                             name == "--music" || name == "--effects" || name == "--benchmark";
        if (setting && !seen.insert(name).second) return failure("'" + argument + "' is given twice");

        if ((name == "--help" || name == "--version") && !hasValue) {
            bool& given = name == "--help" ? help : version;
            if (given) return failure("'" + name + "' is given twice");
            given = true;
        } else if (name == "--window") {
            const std::string given = takeValue();
            if (options.window || options.fullscreen) return failure("'" + given + "' comes after another display choice");
            options.window = parseSize(value);
            if (!options.window) return failure("'" + given + "' needs a size such as --window=1280x720");
        } else if (name == "--quality") {
            const std::string given = takeValue();
            options.quality = parseQualitySetting(value);
            if (!options.quality) return failure("'" + given + "' needs one of auto, full, balanced, low");
        } else if (name == "--sensitivity") {
            const std::string given = takeValue();
            options.sensitivity = parseSensitivity(value);
            if (!options.sensitivity) return failure("'" + given + "' needs a number from 0.1 to 10, such as --sensitivity=1.5");
        } else if (name == "--music" || name == "--effects") {
            const std::string given = takeValue();
            std::optional<int>& volume = name == "--music" ? options.musicVolume : options.effectsVolume;
            volume = parsePercent(value);
            if (!volume) return failure("'" + given + "' needs a whole percentage from 0 to 100, such as " + name + "=50");
        } else if (name == "--invert-y" && !hasValue) {
            options.invertY = true;
        } else if (name == "--benchmark") {
            if (hasValue && value.empty()) return failure("'" + argument + "' needs a file name, or no '='");
            options.benchmark = value;
        } else if (name == "--fullscreen") {
            if (options.window || options.fullscreen) return failure("'" + argument + "' comes after another display choice");
            options.fullscreen = true;
            if (hasValue) {
                options.fullscreenMode = parseSize(value);
                if (!options.fullscreenMode) return failure("'" + argument + "' needs a mode such as --fullscreen=1920x1080");
            }
        } else {
            return failure("unknown option '" + argument + "'");
        }
    }
    if (help) options.action = LaunchOptions::Action::help;
    else if (version) options.action = LaunchOptions::Action::version;
    return options;
}

std::string usageText() {
    const std::string window = std::to_string(defaultWindowSize.width) + "x" + std::to_string(defaultWindowSize.height);
    return "Usage: kivo [OPTION]...\n"
           "Steer a cat down a night street, under and over the slabs, collecting coins\n"
           "against the clock.\n"
           "\n"
           "Without a display option the console first asks whether to play full screen\n"
           "and at which video mode; any other answer than y or n opens a " + window + "\n"
           "window (a smaller one of the same shape where the desktop has no room for it).\n"
           "\n"
           "  --window=WxH       play in a window of W x H pixels\n"
           "  --fullscreen       play full screen at the monitor's largest mode\n"
           "  --fullscreen=WxH   play full screen at the mode W x H, if the monitor has it\n"
           "  --quality=LEVEL    auto (the default: full, stepping down while frames are\n"
           "                     slow), full, balanced or low; F6 cycles them in the game\n"
           "  --sensitivity=X    turn the view X times as fast with the mouse or the\n"
           "                     stick, 0.1 to 10 (default 1)\n"
           "  --invert-y         moving the mouse or the stick up looks down\n"
           "  --music=PERCENT    the music's volume, 0 to 100\n"
           "  --effects=PERCENT  the sound effects' volume, 0 to 100\n"
           "  --benchmark[=FILE] fly the course on the autopilot for a fixed number of\n"
           "                     frames at --quality (default full) and --window, then\n"
           "                     print a summary and write a JSON report of the frame\n"
           "                     times and each pass's cost to FILE (default: standard\n"
           "                     output, the summary then on standard error); keeps no\n"
           "                     settings or records and plays no sound\n"
           "  --help             print this help and exit\n"
           "  --version          print the version and exit\n"
           "\n"
           "The settings options hold for this start; the settings screen of the pause\n"
           "changes them for good.\n"
           "\n"
           "Mouse: look around. W: run where you look. Space with W: sprint.\n"
           "Enter: next run, on the score screen. R: a new run at once. P: pause and\n"
           "settings. Escape: quit.\n"
           "Gamepad: right stick looks, right trigger or A runs, left trigger or B\n"
           "sprints, Start pauses, A starts the next run, Back a new run at once, the\n"
           "D-pad sets the settings.\n"
           "Hotkeys: 1/2 light, F9 transparency (3/4 more/less), F2 frame rate,\n"
           "F3 wireframe, F4 texture sampling, F5 mip-mapping, F6 quality, F8 frustum\n"
           "culling, G ghost on or off (the settings screen: the record's run or the\n"
           "last one), F1 lab overlay, F7 debug views, F12 screenshot.\n"
           "\n"
           "Files: settings in $XDG_CONFIG_HOME/kivo/settings.json; records (the best\n"
           "run and its ghost, the ten best runs, the best times between checkpoints,\n"
           "the last run's ghost) in $XDG_DATA_HOME/kivo/records.json.\n";
}

std::string versionText() { return std::string("KIVO ") + KIVO_VERSION + "\n"; }
