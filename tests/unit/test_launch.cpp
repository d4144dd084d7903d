// Meeting the player's machine: the command line, the window fitted to the
// desktop and the picture to the window, and where the assets are found.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>

#include "app/command_line.h"
#include "base/settings.h"
#include "tests/support/helpers.h"

namespace {

using Action = LaunchOptions::Action;

TEST(CommandLine, ReadsTheDisplayOptionsAndRejectsAnythingElseByName) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        PixelSize window, mode;  // 0 x 0: none
        bool fullscreen;
        const char* named;       // for a failure: what its line must name
    };
    const Case cases[] = {
        {{}, Action::play, {0, 0}, {0, 0}, false, ""},
        {{"--window=1280x720"}, Action::play, {1280, 720}, {0, 0}, false, ""},
        {{"--fullscreen=1920x1080"}, Action::play, {0, 0}, {1920, 1080}, true, ""},
        {{"--window=640x480", "--version"}, Action::version, {640, 480}, {0, 0}, false, ""},
        {{"--help", "--version"}, Action::help, {0, 0}, {0, 0}, false, ""},
        {{"--help=me"}, Action::fail, {0, 0}, {0, 0}, false, "'--help=me'"},
        {{"--window=99999x1"}, Action::fail, {0, 0}, {0, 0}, false, "'--window=99999x1'"},
        {{"--window"}, Action::fail, {0, 0}, {0, 0}, false, "'--window'"},
        {{"--quality=fast"}, Action::fail, {0, 0}, {0, 0}, false, "'--quality=fast'"},
        {{"--quality=low", "--quality=full"}, Action::fail, {0, 0}, {0, 0}, false, "'--quality=full'"},
        {{"--sensitivity=0"}, Action::fail, {0, 0}, {0, 0}, false, "'--sensitivity=0'"},
        {{"--sensitivity=11"}, Action::fail, {0, 0}, {0, 0}, false, "'--sensitivity=11'"},
        {{"--sensitivity=1e1"}, Action::fail, {0, 0}, {0, 0}, false, "'--sensitivity=1e1'"},
        {{"--music=101"}, Action::fail, {0, 0}, {0, 0}, false, "'--music=101'"},
        {{"--effects=loud"}, Action::fail, {0, 0}, {0, 0}, false, "'--effects=loud'"},
        {{"--invert-y=yes"}, Action::fail, {0, 0}, {0, 0}, false, "'--invert-y=yes'"},
        {{"--invert-y", "--invert-y"}, Action::fail, {0, 0}, {0, 0}, false, "'--invert-y'"},
        {{"--benchmark="}, Action::fail, {0, 0}, {0, 0}, false, "'--benchmark='"},
        {{"--benchmark", "--benchmark=a"}, Action::fail, {0, 0}, {0, 0}, false, "'--benchmark=a'"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments) shown += a + " ";
        SCOPED_TRACE(shown);
        const LaunchOptions options = parseCommandLine(c.arguments);
        EXPECT_EQ(options.action, c.action);
        if (c.action == Action::fail) {
            EXPECT_NE(options.error.find(c.named), std::string::npos) << options.error;
            EXPECT_EQ(options.error.find('\n'), std::string::npos) << "one line";
            continue;
        }
        EXPECT_EQ(options.window.has_value(), c.window.width != 0);
        if (options.window) {
            EXPECT_EQ(std::make_pair(options.window->width, options.window->height),
                      std::make_pair(c.window.width, c.window.height));
        }
        EXPECT_EQ(options.fullscreen, c.fullscreen);
        EXPECT_EQ(options.fullscreenMode.has_value(), c.mode.width != 0);
        if (options.fullscreenMode) {
            EXPECT_EQ(std::make_pair(options.fullscreenMode->width, options.fullscreenMode->height),
                      std::make_pair(c.mode.width, c.mode.height));
        }
    }
    const LaunchOptions settings =
        parseCommandLine({"--sensitivity", "0.5", "--invert-y", "--music=0", "--effects", "100", "--quality=low"});
    ASSERT_EQ(settings.action, Action::play) << settings.error;
    EXPECT_EQ(std::make_tuple(*settings.sensitivity, *settings.invertY, *settings.musicVolume, *settings.effectsVolume),
              std::make_tuple(0.5f, true, 0, 100));
    EXPECT_FALSE(parseCommandLine({}).sensitivity) << "no option: the saved setting holds";
    EXPECT_EQ(parseCommandLine({"--benchmark"}).benchmark, std::optional<std::string>(""));
    EXPECT_EQ(parseCommandLine({"--benchmark=r.json"}).benchmark, std::optional<std::string>("r.json"));
    EXPECT_FALSE(parseCommandLine({}).benchmark);
    for (const char* level : {"auto", "full", "balanced", "low"}) {
        const LaunchOptions options = parseCommandLine({std::string("--quality=") + level});
        ASSERT_TRUE(options.quality.has_value()) << level;
        EXPECT_STREQ(qualityName(*options.quality), level);
    }
}

// --help tells of every option the game takes, in the form it takes it, and
// of nothing else; --version is the one line the manual page and the package
// are made from.
TEST(CommandLine, TheUsageListsEveryOptionInTheFormItIsTaken) {
    const std::string usage = usageText();
    struct Option {
        const char* written;                  // as the usage writes it
        std::vector<std::string> arguments;   // a command line using it
    };
    const Option options[] = {
        {"--window=WxH", {"--window=640x480"}},   {"--fullscreen ", {"--fullscreen"}},
        {"--fullscreen=WxH", {"--fullscreen=640x480"}}, {"--quality=LEVEL", {"--quality=low"}},
        {"--help", {"--help"}},                   {"--version", {"--version"}},
        {"--sensitivity=X", {"--sensitivity=2"}}, {"--invert-y", {"--invert-y"}},
        {"--music=PERCENT", {"--music=40"}},      {"--effects=PERCENT", {"--effects=0"}},
        {"--benchmark[=FILE]", {"--benchmark=r.json"}},
    };
    for (const Option& option : options) {
        EXPECT_NE(usage.find(std::string("\n  ") + option.written), std::string::npos) << option.written;
        EXPECT_NE(parseCommandLine(option.arguments).action, Action::fail) << option.written;
    }
    EXPECT_EQ(size_t(countOf(usage, "\n  --")), std::size(options)) << "and nothing else";
    EXPECT_EQ(usage.rfind("Usage: kivo [OPTION]...\n", 0), 0u);
    int major = -1, minor = -1, patch = -1, end = 0;
    const std::string version = versionText();
    ASSERT_EQ(std::sscanf(version.c_str(), "KIVO %d.%d.%d%n", &major, &minor, &patch, &end), 3) << version;
    EXPECT_EQ(version.substr(end), "\n") << "one line: KIVO and the version";
}

// The file and the command line take the same factors, to the hundredth the
// file keeps: the documented ends included.
TEST(MouseSensitivity, IsTakenAlikeFromTheFileAndTheCommandLine) {
    const std::pair<const char*, float> cases[] = {
        {"0.1", 0.1f}, {"10", 10.0f}, {"0.104", 0.1f}, {"2.5", 2.5f}, {"0.09", 0.0f}, {"10.01", 0.0f}};
    for (const auto& [text, factor] : cases) {
        SCOPED_TRACE(text);
        Settings settings;
        std::string problem;
        const Verdict verdict =
            parseSettings(std::string("{\"version\": 1, \"mouseSensitivity\": ") + text + "}", settings, problem);
        const LaunchOptions options = parseCommandLine({std::string("--sensitivity=") + text});
        EXPECT_EQ(verdict == Verdict::taken, factor > 0.0f) << problem;
        EXPECT_EQ(options.sensitivity.has_value(), factor > 0.0f) << options.error;
        if (factor > 0.0f) {
            EXPECT_EQ(std::make_pair(settings.mouseSensitivity, *options.sensitivity), std::make_pair(factor, factor));
        }
    }
}

}  // namespace
