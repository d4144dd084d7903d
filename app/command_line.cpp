#include "app/command_line.h"

#include <cctype>

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
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        std::string value = hasValue ? argument.substr(equals + 1) : "";

        if ((name == "--help" || name == "--version") && !hasValue) {
            bool& seen = name == "--help" ? help : version;
            if (seen) return failure("'" + name + "' is given twice");
            seen = true;
        } else if (name == "--window") {
            if (!hasValue && i + 1 < arguments.size()) value = arguments[++i];
            const std::string given = hasValue || value.empty() ? argument : argument + " " + value;
            if (options.window || options.fullscreen) return failure("'" + given + "' comes after another display choice");
            options.window = parseSize(value);
            if (!options.window) return failure("'" + given + "' needs a size such as --window=1280x720");
        } else if (name == "--quality") {
            if (!hasValue && i + 1 < arguments.size()) value = arguments[++i];
            const std::string given = hasValue || value.empty() ? argument : argument + " " + value;
            if (options.quality) return failure("'" + given + "' comes after another quality");
            options.quality = parseQualitySetting(value);
            if (!options.quality) return failure("'" + given + "' needs one of auto, full, balanced, low");
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
           "  --help             print this help and exit\n"
           "  --version          print the version and exit\n"
           "\n"
           "Mouse: look around. W: run where you look. Space with W: sprint.\n"
           "Enter: next run, on the score screen. Escape: quit.\n"
           "Hotkeys: 1/2 light, F9 transparency (3/4 more/less), F2 frame rate,\n"
           "F3 wireframe, F4 texture sampling, F5 mip-mapping, F6 quality, F8 frustum culling.\n";
}

std::string versionText() { return std::string("KIVO ") + KIVO_VERSION + "\n"; }
