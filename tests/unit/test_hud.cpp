// The HUD's rules: number formats, status lines and their timing, the end
// screen and the best score.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/globals.h"
#include "play/hud.h"

namespace {

TEST(FormatSeconds, CutsWithoutRounding) {
    EXPECT_EQ("7.12", formatSeconds(7.123456));
    EXPECT_EQ("12.34", formatSeconds(12.345678));
    EXPECT_EQ("123.4", formatSeconds(123.456));
    EXPECT_EQ("-3.50", formatSeconds(-3.5));
    EXPECT_EQ("0.99", formatSeconds(0.999999));
    EXPECT_EQ("50.000000", fixedText(50.0));
}

using Row = std::tuple<std::string, int, int, int>;  // text, x, y, size

class Hud : public ::testing::Test {
protected:
    void SetUp() override {
        gameOver = false;
        gameStartTime = 100.0;
        deltaTime = 0.02f;
        showFrameRate = transparencyEnabled = newBestScore = false;
        transparency = 1.0f;
        drawnObjectCount = 0;
        playTime = 0.0;
        bestScore = 10000.0;
        for (std::string* m : {&settingMessage, &mipmapMessage, &transparencyMessage, &objectCountMessage})
            m->clear();
        settingMessageTime = mipmapMessageTime = -1.0;
        transparencyMessageTime = objectCountMessageTime = 0.0;
    }

    static std::vector<Row> frame(double now, int coins = 0) {
        std::vector<Row> rows;
        for (const HudLine& l : hudFrame(now, coins)) rows.emplace_back(l.text, l.x, l.y, l.size);
        return rows;
    }
    static bool shows(double now, const std::string& text) {
        const std::vector<Row> rows = frame(now);
        return std::any_of(rows.begin(), rows.end(), [&](const Row& r) { return std::get<0>(r) == text; });
    }
};

TEST_F(Hud, PlayingFrameShowsEverySlotInOrderAndTheClock) {
    showFrameRate = true;
    drawnObjectCount = 17;
    settingMessage = "setting";
    mipmapMessage = "mipmap";
    settingMessageTime = mipmapMessageTime = 0.0;
    const std::vector<Row> expected = {
        {"Framerate: 50.000000", 10, 70, 20}, {"setting", 10, 160, 15},     {"mipmap", 10, 190, 15},
        {"Transparency: Off", 10, 100, 15},   {"Objects: 17", 10, 130, 15}, {"Time: 12.34", 10, 40, 20},
        {"Coins: 10", 10, 10, 20},
    };
    EXPECT_EQ(frame(112.3456789, 10), expected);
    EXPECT_DOUBLE_EQ(playTime, 12.3456789);
    showFrameRate = false;
    EXPECT_FALSE(shows(112.5, "Framerate: 50.000000"));
    EXPECT_TRUE(shows(223.456, "Time: 123.4"));
}

TEST_F(Hud, TransparencyOffForcesOpaqueEveryPlayingFrame) {
    transparency = 0.4f;
    frame(101.0);
    EXPECT_EQ(transparency, 1.0f);
    transparencyEnabled = true;
    transparency = 0.4f;
    EXPECT_TRUE(shows(102.0, "Transparency: On"));
    EXPECT_EQ(transparency, 0.4f);
}

TEST_F(Hud, StatusLinesStayWhilePlayingAndGoTenSecondsIntoTheEndScreen) {
    EXPECT_TRUE(shows(101.0, "Transparency: Off"));
    EXPECT_TRUE(shows(900.0, "Objects: 0"));
    gameStartTime = 0.0;
    gameOver = true;
    EXPECT_TRUE(shows(9.9, "Transparency: Off"));
    EXPECT_FALSE(shows(10.0, "Transparency: Off"));
    EXPECT_TRUE(transparencyMessage.empty());
    EXPECT_TRUE(objectCountMessage.empty());
}

TEST_F(Hud, HotkeyMessageShowsFiveSecondsFromItsFirstFrameAndARepostRestartsThem) {
    settingMessage = "View Frustrum Culling: ON";
    settingMessageTime = 0.0;
    EXPECT_TRUE(shows(200.0, "View Frustrum Culling: ON"));
    EXPECT_EQ(settingMessageTime, 200.0);
    EXPECT_TRUE(shows(204.99, "View Frustrum Culling: ON"));
    EXPECT_FALSE(shows(205.0, "View Frustrum Culling: ON"));
    EXPECT_TRUE(settingMessage.empty());

    mipmapMessage = "Mip Mapping-Quality: NEAREST";
    mipmapMessageTime = 0.0;
    frame(300.0);
    mipmapMessage = "Mip Mapping-Quality: Off";
    mipmapMessageTime = 0.0;
    frame(303.5);
    EXPECT_TRUE(shows(308.4, "Mip Mapping-Quality: Off"));
    EXPECT_FALSE(shows(308.5, "Mip Mapping-Quality: Off"));
}

TEST_F(Hud, EndScreenFreezesTheClockBlinksAndDropsTheBlankAfterCoins) {
    frame(142.5, 10);
    gameOver = true;
    const std::vector<Row> expected = {
        {"PRESS ENTER TO PLAY", 200, 10, 20}, {"1 coin = -1 second", 10, 90, 20},
        {"Time: 42.50", 10, 40, 20},          {"Coins:10", 10, 10, 20},
        {"NEW BEST SCORE: 32.50", 10, 300, 30},
    };
    EXPECT_EQ(frame(160.0, 10), expected);
    for (double seconds : {0.0, 4.3, 1000.2}) EXPECT_TRUE(shows(gameStartTime + seconds, "PRESS ENTER TO PLAY"));
    for (double seconds : {5.7, 1001.5}) EXPECT_FALSE(shows(gameStartTime + seconds, "PRESS ENTER TO PLAY"));
}

TEST_F(Hud, BestScoreRules) {
    gameOver = true;
    // The score lines (size 30) of an end-screen frame of a run of `seconds` with `coins` collected.
    auto scoreLines = [](double seconds, int coins) {
        playTime = seconds;
        std::vector<Row> score;
        for (const Row& r : frame(gameStartTime + 1000.0, coins))
            if (std::get<3>(r) == 30) score.push_back(r);
        return score;
    };
    using Rows = std::vector<Row>;
    EXPECT_EQ(scoreLines(42.5, 10), (Rows{{"NEW BEST SCORE: 32.50", 10, 300, 30}})) << "the first score is a best";
    EXPECT_EQ(scoreLines(42.5, 10), (Rows{{"NEW BEST SCORE: 32.50", 10, 300, 30}})) << "for its whole end screen";

    newBestScore = false;  // the player moved on to the next run
    EXPECT_EQ(scoreLines(45.0, 5), (Rows{{"YOUR SCORE: 40.00", 10, 300, 30}, {"BEST SCORE: 32.50", 10, 250, 30}}));
    EXPECT_EQ(std::get<0>(scoreLines(42.5, 10).front()), "YOUR SCORE: 32.50") << "an equal score is no best";
    EXPECT_FALSE(newBestScore);

    bestScore = 5.0;
    EXPECT_EQ(std::get<0>(scoreLines(6.5, 10).front()), "NEW BEST SCORE: -3.50") << "more coins than seconds";
    EXPECT_DOUBLE_EQ(bestScore, -3.5);
    bestScore = 10000.0;
    newBestScore = false;
    scoreLines(12.3456789, 0);
    EXPECT_DOUBLE_EQ(bestScore, 12.34) << "the best keeps the cut value shown";
}

}  // namespace
