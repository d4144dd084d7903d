// Meeting the player's machine: the command line, the window fitted to the
// desktop and the picture to the window, and where the assets are found.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdio>
#include <iterator>

#include "app/command_line.h"
#include "base/assets.h"
#include "base/screen_fit.h"
#include "tests/support/helpers.h"
#include "tests/support/temp_dir.h"

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

// Frame times in seconds, fed one by one; the levels after each second of them.
TEST(AutoQuality, StepsDownWhileSlowBackUpWithRoomToSpareAndNeverSwings) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, double>> runs;  // (frames, seconds each)
        QualityLevel level;
    };
    const Case cases[] = {
        {"60 a second holds full", {{600, 1.0 / 60.0}}, QualityLevel::full},
        {"a second at 45 ms steps down once", {{23, 0.045}}, QualityLevel::balanced},
        {"one long frame in a second does not count", {{20, 0.015}, {1, 0.8}}, QualityLevel::full},
        {"two slow seconds: down to low", {{23, 0.045}, {23, 0.045}}, QualityLevel::low},
        {"never below low", {{100, 0.3}}, QualityLevel::low},
        {"30 ms is between: stays", {{23, 0.045}, {100, 0.03}}, QualityLevel::balanced},
        {"under 20 ms: back up", {{23, 0.045}, {60, 0.018}}, QualityLevel::full},
        // Up to full at 18 ms, and full is too slow again at once: back down,
        // and no new try for 30 s.
        {"a swing holds", {{23, 0.045}, {60, 0.018}, {23, 0.045}, {500, 0.018}}, QualityLevel::balanced},
        {"and tries again after it", {{23, 0.045}, {60, 0.018}, {23, 0.045}, {2000, 0.018}}, QualityLevel::full},
    };
    for (const Case& c : cases) {
        AutoQuality quality;
        for (const auto& [frames, seconds] : c.runs)
            for (int i = 0; i < frames; ++i) quality.observe(seconds);
        EXPECT_EQ(quality.level(), c.level) << c.what;
    }
    AutoQuality waited;
    waited.observe(0.6);
    waited.forgetFrames();  // half a second, then a wait: the next second decides alone
    for (int i = 0; i < 60; ++i) waited.observe(0.017);
    EXPECT_EQ(waited.level(), QualityLevel::full);
}

TEST(ScreenFit, TheDefaultWindowShrinksInItsOwnShapeOnlyWhereItDoesNotFit) {
    struct Case {
        PixelSize room, fitted;
    };
    const Case cases[] = {
        {{2560, 1440}, {1600, 1400}},  // fits: unchanged
        {{1600, 1400}, {1600, 1400}},
        {{1920, 1080}, {1232, 1078}},  // the commonest desktop: whole multiples of 8 x 7
        {{1920, 1055}, {1200, 1050}},  // the same below a title bar
        {{1366, 768}, {872, 763}},
        {{1599, 2000}, {1592, 1393}},  // too narrow, not too low
        {{5, 5}, {5, 4}},              // no room even for 8 x 7: scaled and rounded
    };
    for (const Case& c : cases) {
        const PixelSize got = fitWindowSize({1600, 1400}, c.room);
        EXPECT_EQ(std::make_pair(got.width, got.height), std::make_pair(c.fitted.width, c.fitted.height))
            << "in " << c.room.width << "x" << c.room.height;
    }
}

TEST(ScreenFit, ThePictureFillsTheLargestCentredViewportOfItsShape) {
    struct Case {
        PixelSize framebuffer;
        Viewport expected;
    };
    const Case cases[] = {
        {{1600, 1400}, {0, 0, 1600, 1400}},    // the shape itself: every pixel
        {{1600, 1055}, {197, 0, 1206, 1055}},  // cut lower by a window manager: bars at the sides
        {{800, 1400}, {0, 350, 800, 700}},     // narrower: bars above and below
        {{3200, 2800}, {0, 0, 3200, 2800}},    // larger, same shape
        {{1601, 1400}, {0, 0, 1600, 1400}},    // a pixel too wide: the odd pixel is bar
        {{0, 700}, {0, 0, 0, 0}},              // minimised
    };
    for (const Case& c : cases) {
        const Viewport v = centredViewport(c.framebuffer, {1600, 1400});
        EXPECT_EQ(std::make_tuple(v.x, v.y, v.width, v.height),
                  std::make_tuple(c.expected.x, c.expected.y, c.expected.width, c.expected.height))
            << "in " << c.framebuffer.width << "x" << c.framebuffer.height;
    }
}

// The working directory first, then an installed tree beside the binary,
// then the source tree; one that lacks a folder does not count.
TEST(AssetFolders, TheFirstFolderHoldingAllFourIsChosen) {
    TempDir dir;
    for (const char* tree : {"whole", "other"})
        for (const char* folder : {"Objekte", "Textur", "Shader", "Audio"})
            std::filesystem::create_directories(dir.root() / tree / folder);
    std::filesystem::create_directories(dir.root() / "partial" / "Shader");
    const std::string whole = dir.path("whole"), other = dir.path("other"), partial = dir.path("partial");
    EXPECT_EQ(chooseAssetFolder({whole, other}), whole);
    EXPECT_EQ(chooseAssetFolder({partial, other, whole}), other);
    EXPECT_EQ(chooseAssetFolder({partial, dir.path("none")}), partial) << "none: the first, as if it held them";
    EXPECT_EQ(assetPath("Shader/x.vert"), "Shader/x.vert") << "before any choice: the working directory";
}

}  // namespace
