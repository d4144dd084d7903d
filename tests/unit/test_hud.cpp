// The HUD's rules: number formats, status lines and their timing, the end
// screen and the best score.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "base/globals.h"
#include "play/hud.h"

namespace {

using Row = std::tuple<std::string, int, int, int>;  // text, x, y, size
using Rows = std::vector<Row>;

class Hud : public ::testing::Test {
protected:
    void SetUp() override {
        gameOver = showFrameRate = transparencyEnabled = newBestScore = false;
        gameStartTime = 100.0;
        deltaTime = 0.02f;
        transparency = 1.0f;
        drawnObjectCount = 0;
        playTime = 0.0;
        bestScore = 10000.0;
        for (std::string* m : {&settingMessage, &mipmapMessage, &transparencyMessage, &objectCountMessage}) m->clear();
        settingMessageTime = mipmapMessageTime = -1.0;
        qualitySetting = QualitySetting::automatic;
        qualityLevel = QualityLevel::full;
    }

    static Rows frame(double now, int coins = 0) {
        Rows rows;
        for (const HudLine& l : hudFrame(now, coins)) rows.emplace_back(l.text, l.x, l.y, l.size);
        return rows;
    }
    static bool shows(double now, const std::string& text) {
        const Rows rows = frame(now);
        return std::any_of(rows.begin(), rows.end(), [&](const Row& r) { return std::get<0>(r) == text; });
    }
};

TEST_F(Hud, PlayingFrameShowsEverySlotInOrderAndTheClockCutNotRounded) {
    showFrameRate = true;
    drawnObjectCount = 17;
    settingMessage = "setting";
    mipmapMessage = "mipmap";
    settingMessageTime = mipmapMessageTime = 0.0;
    const Rows expected = {
        {"Framerate: 50.000000", 10, 70, 20}, {"setting", 10, 160, 15},     {"mipmap", 10, 190, 15},
        {"Transparency: Off", 10, 100, 15},   {"Objects: 17", 10, 130, 15}, {"Time: 12.34", 10, 40, 20},
        {"Coins: 10", 10, 10, 20},
    };
    EXPECT_EQ(frame(112.3456789, 10), expected);
    EXPECT_DOUBLE_EQ(playTime, 12.3456789);
    EXPECT_TRUE(shows(107.999, "Time: 7.99"));
    EXPECT_TRUE(shows(223.456, "Time: 123.4"));
    // The quality is named only below full, and whether the player or auto chose it.
    qualityLevel = QualityLevel::low;
    EXPECT_EQ(frame(112.3456789, 10)[1], Row("Quality: low (auto)", 10, 220, 15));
    qualitySetting = QualitySetting::balanced;
    qualityLevel = QualityLevel::balanced;
    EXPECT_TRUE(shows(112.0, "Quality: balanced"));
}

TEST_F(Hud, TransparencyOffForcesOpaqueAndStatusLinesGoTenSecondsIntoTheEndScreen) {
    transparency = 0.4f;
    EXPECT_TRUE(shows(101.0, "Transparency: Off"));
    EXPECT_EQ(transparency, 1.0f);
    transparencyEnabled = true;
    transparency = 0.4f;
    EXPECT_TRUE(shows(102.0, "Transparency: On"));
    EXPECT_EQ(transparency, 0.4f);

    gameStartTime = 0.0;
    gameOver = true;
    EXPECT_TRUE(shows(9.9, "Transparency: On"));
    EXPECT_FALSE(shows(10.0, "Transparency: On"));
    EXPECT_TRUE(transparencyMessage.empty() && objectCountMessage.empty());
}

TEST_F(Hud, EndScreenFreezesTheClockBlinksAndKeepsTheBestScore) {
    frame(142.5, 10);
    gameOver = true;
    const Rows expected = {
        {"PRESS ENTER TO PLAY", 200, 10, 20}, {"1 coin = -1 second", 10, 90, 20}, {"Time: 42.50", 10, 40, 20},
        {"Coins:10", 10, 10, 20},             {"NEW BEST SCORE: 32.50", 10, 300, 30},
    };
    EXPECT_EQ(frame(160.0, 10), expected) << "the first score is a best";
    EXPECT_EQ(std::get<0>(frame(161.0, 10).back()), "NEW BEST SCORE: 32.50") << "for its whole end screen";

    // The score lines (size 30) of an end screen of a run of `seconds` with `coins` collected.
    auto scoreLines = [](double seconds, int coins) {
        newBestScore = false;  // the player moved on to the next run
        playTime = seconds;
        Rows score;
        for (const Row& r : frame(1000.0, coins))
            if (std::get<3>(r) == 30) score.push_back(r);
        return score;
    };
    EXPECT_EQ(scoreLines(45.0, 5), (Rows{{"YOUR SCORE: 40.00", 10, 300, 30}, {"BEST SCORE: 32.50", 10, 250, 30}}));
    EXPECT_EQ(std::get<0>(scoreLines(42.5, 10).front()), "YOUR SCORE: 32.50") << "an equal score is no best";
    EXPECT_EQ(std::get<0>(scoreLines(6.5, 10).front()), "NEW BEST SCORE: -3.50") << "more coins than seconds";
    bestScore = 10000.0;
    scoreLines(12.3456789, 0);
    EXPECT_DOUBLE_EQ(bestScore, 12.34) << "the best keeps the cut value shown";
    EXPECT_FALSE(shows(gameStartTime + 1001.5, "PRESS ENTER TO PLAY")) << "off in odd seconds";
}

}  // namespace
