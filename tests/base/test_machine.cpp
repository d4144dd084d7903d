// The player's machine, as the game meets it without a window: the window
// fitted to the desktop and the picture to the window, the asset folders
// found, and the quality that follows the frame time.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/assets.h"
#include "base/quality.h"
#include "base/screen_fit.h"
#include "tests/support/temp_dir.h"

namespace {

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

// Of the candidates (the working directory, then share/kivo and
// share/games/kivo beside the binary's folder), the first that holds all
// four folders; one that lacks a folder does not count.
TEST(AssetFolders, TheFirstFolderHoldingAllFourIsChosen) {
    TempDir dir;
    for (const char* tree : {"whole", "other"})
        for (const char* folder : assetFolders)
            std::filesystem::create_directories(dir.root() / tree / folder);
    std::filesystem::create_directories(dir.root() / "partial" / "Shader");
    const std::string whole = dir.path("whole"), other = dir.path("other"), partial = dir.path("partial");
    EXPECT_EQ(chooseAssetFolder({whole, other}), whole);
    EXPECT_EQ(chooseAssetFolder({partial, other, whole}), other);
    EXPECT_EQ(chooseAssetFolder({partial, dir.path("none")}), partial) << "none: the first, as if it held them";
    EXPECT_EQ(assetPath("Shader/x.vert"), "Shader/x.vert") << "before any choice: the working directory";
}

}  // namespace
