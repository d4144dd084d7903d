// The HUD's rules: number formats, status lines, the end screen and the best score.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/globals.h"
#include "play/hud.h"

namespace {

class Hud : public ::testing::Test {
protected:
    void SetUp() override {
        gameOver = false;
        gameStartTime = 100.0;
        deltaTime = 0.016f;
        showFrameRate = false;
        transparencyEnabled = false;
        transparency = 1.0f;
        drawnObjectCount = 0;
        newBestScore = false;
        playTime = 0.0;
        bestScore = 10000.0;
        settingMessage.clear();
        mipmapMessage.clear();
        transparencyMessage.clear();
        objectCountMessage.clear();
        settingMessageTime = -1.0;
        mipmapMessageTime = -1.0;
        transparencyMessageTime = 0.0;
        objectCountMessageTime = 0.0;
    }

    // A copy of the first line with exactly this text, if there is one.
    static std::optional<HudLine> find(const std::vector<HudLine>& lines, const std::string& text) {
        auto it = std::find_if(lines.begin(), lines.end(), [&](const HudLine& l) { return l.text == text; });
        if (it == lines.end()) return std::nullopt;
        return *it;
    }

    static bool shows(const std::vector<HudLine>& lines, const std::string& text) {
        return find(lines, text).has_value();
    }

    // One end-screen frame for a run of `seconds` with `coins` collected.
    static std::vector<HudLine> endScreen(double seconds, int coins) {
        playTime = seconds;
        gameOver = true;
        return hudFrame(gameStartTime + 1000.0, coins);
    }
};

TEST(FormatSeconds, CutsWithoutRounding) {
    EXPECT_EQ("7.12", formatSeconds(7.123456));
    EXPECT_EQ("12.34", formatSeconds(12.345678));
    EXPECT_EQ("123.4", formatSeconds(123.456));
    EXPECT_EQ("-3.50", formatSeconds(-3.5));
    EXPECT_EQ("0.99", formatSeconds(0.999999));
    EXPECT_EQ("50.000000", fixedText(50.0));
}

TEST_F(Hud, PlayingShowsClockAndCoinsWithABlank) {
    const auto lines = hudFrame(112.3456789, 10);
    const auto time = find(lines, "Time: 12.34");
    ASSERT_TRUE(time);
    EXPECT_EQ(10, time->x);
    EXPECT_EQ(40, time->y);
    EXPECT_EQ(20, time->size);
    const auto coins = find(lines, "Coins: 10");
    ASSERT_TRUE(coins);
    EXPECT_EQ(10, coins->y);
    EXPECT_DOUBLE_EQ(12.3456789, playTime);
    EXPECT_TRUE(shows(hudFrame(223.456, 0), "Time: 123.4"));
}

TEST_F(Hud, FrameRateOnlyOnDemand) {
    deltaTime = 0.02f;
    EXPECT_FALSE(shows(hudFrame(101.0, 0), "Framerate: 50.000000"));
    showFrameRate = true;
    const auto rate = find(hudFrame(101.0, 0), "Framerate: 50.000000");
    ASSERT_TRUE(rate);
    EXPECT_EQ(70, rate->y);
    EXPECT_EQ(20, rate->size);
}

TEST_F(Hud, TransparencyOffForcesOpaqueEveryPlayingFrame) {
    transparency = 0.4f;
    auto lines = hudFrame(101.0, 0);
    EXPECT_EQ(1.0f, transparency);
    EXPECT_TRUE(shows(lines, "Transparency: Off"));

    transparencyEnabled = true;
    transparency = 0.4f;
    drawnObjectCount = 17;
    lines = hudFrame(102.0, 0);
    EXPECT_EQ(0.4f, transparency);
    const auto mode = find(lines, "Transparency: On");
    ASSERT_TRUE(mode);
    EXPECT_EQ(100, mode->y);
    EXPECT_EQ(15, mode->size);
    const auto objects = find(lines, "Objects: 17");
    ASSERT_TRUE(objects);
    EXPECT_EQ(130, objects->y);
}

TEST_F(Hud, PlayingStatusLinesNeverExpire) {
    hudFrame(101.0, 0);
    EXPECT_TRUE(shows(hudFrame(200.0, 0), "Transparency: Off"));
    EXPECT_TRUE(shows(hudFrame(900.0, 0), "Objects: 0"));
}

TEST_F(Hud, EndScreenKeepsStatusLinesOnlyBeforeTenSeconds) {
    gameStartTime = 0.0;
    hudFrame(1.0, 0);
    gameOver = true;
    EXPECT_TRUE(shows(hudFrame(9.9, 0), "Transparency: Off"));
    EXPECT_FALSE(shows(hudFrame(10.0, 0), "Transparency: Off"));
    EXPECT_TRUE(transparencyMessage.empty());
    EXPECT_TRUE(objectCountMessage.empty());
}

TEST_F(Hud, HotkeyMessageShowsFiveSecondsFromItsFirstFrame) {
    settingMessage = "View Frustrum Culling: ON";
    settingMessageTime = 0.0;
    const auto line = find(hudFrame(200.0, 0), "View Frustrum Culling: ON");
    ASSERT_TRUE(line);
    EXPECT_EQ(160, line->y);
    EXPECT_EQ(15, line->size);
    EXPECT_EQ(200.0, settingMessageTime);
    EXPECT_TRUE(shows(hudFrame(204.99, 0), "View Frustrum Culling: ON"));
    EXPECT_FALSE(shows(hudFrame(205.0, 0), "View Frustrum Culling: ON"));
    EXPECT_TRUE(settingMessage.empty());
    EXPECT_EQ(0.0, settingMessageTime);
}

TEST_F(Hud, ReplacedMessageRestartsItsFiveSeconds) {
    mipmapMessage = "Mip Mapping-Quality: NEAREST";
    mipmapMessageTime = 0.0;
    hudFrame(300.0, 0);
    hudFrame(303.0, 0);
    mipmapMessage = "Mip Mapping-Quality: Off";
    mipmapMessageTime = 0.0;
    const auto line = find(hudFrame(303.5, 0), "Mip Mapping-Quality: Off");
    ASSERT_TRUE(line);
    EXPECT_EQ(190, line->y);
    EXPECT_TRUE(shows(hudFrame(308.4, 0), "Mip Mapping-Quality: Off"));
    EXPECT_FALSE(shows(hudFrame(308.5, 0), "Mip Mapping-Quality: Off"));
}

TEST_F(Hud, StatusLinesComeInSlotOrder) {
    settingMessage = "setting";
    settingMessageTime = 0.0;
    mipmapMessage = "mipmap";
    mipmapMessageTime = 0.0;
    const auto lines = hudFrame(101.0, 0);
    std::vector<std::string> texts;
    for (const HudLine& l : lines) texts.push_back(l.text);
    const std::vector<std::string> expected{"setting", "mipmap", "Transparency: Off", "Objects: 0",
                                            "Time: 1.00", "Coins: 0"};
    EXPECT_EQ(expected, texts);
}

TEST_F(Hud, PressEnterBlinksEverySecond) {
    gameOver = true;
    const struct {
        double seconds;
        bool shown;
    } cases[] = {{4.3, true}, {5.7, false}, {1000.2, true}, {1001.5, false}, {0.0, true}};
    for (const auto& c : cases) {
        const auto line = find(hudFrame(gameStartTime + c.seconds, 0), "PRESS ENTER TO PLAY");
        EXPECT_EQ(c.shown, line.has_value()) << c.seconds << " s";
        if (line) {
            EXPECT_EQ(200, line->x);
            EXPECT_EQ(10, line->y);
        }
    }
}

TEST_F(Hud, EndScreenFreezesTheClockAndDropsTheBlankAfterCoins) {
    hudFrame(142.5, 10);
    gameOver = true;
    const auto lines = hudFrame(160.0, 10);
    EXPECT_DOUBLE_EQ(42.5, playTime);
    EXPECT_TRUE(shows(lines, "Time: 42.50"));
    EXPECT_TRUE(shows(lines, "Coins:10"));
    EXPECT_FALSE(shows(lines, "Coins: 10"));
    const auto rule = find(lines, "1 coin = -1 second");
    ASSERT_TRUE(rule);
    EXPECT_EQ(90, rule->y);
}

TEST_F(Hud, FirstScoreIsANewBestThenAWorseOneShowsBoth) {
    const auto best = find(endScreen(42.5, 10), "NEW BEST SCORE: 32.50");
    ASSERT_TRUE(best);
    EXPECT_EQ(300, best->y);
    EXPECT_EQ(30, best->size);
    EXPECT_DOUBLE_EQ(32.5, bestScore);
    EXPECT_TRUE(newBestScore);
    // It stays up for the rest of that end screen.
    EXPECT_TRUE(shows(hudFrame(gameStartTime + 1001.0, 10), "NEW BEST SCORE: 32.50"));

    newBestScore = false;  // the player moved on to the next run
    const auto lines = endScreen(45.0, 5);
    EXPECT_TRUE(shows(lines, "YOUR SCORE: 40.00"));
    const auto kept = find(lines, "BEST SCORE: 32.50");
    ASSERT_TRUE(kept);
    EXPECT_EQ(250, kept->y);
    EXPECT_DOUBLE_EQ(32.5, bestScore);
    EXPECT_FALSE(newBestScore);
}

TEST_F(Hud, EqualScoreIsNotANewBest) {
    bestScore = 32.5;
    const auto lines = endScreen(42.5, 10);
    EXPECT_TRUE(shows(lines, "YOUR SCORE: 32.50"));
    EXPECT_FALSE(newBestScore);
}

TEST_F(Hud, BestScoreKeepsTheCutValueShown) {
    endScreen(12.3456789, 0);
    EXPECT_DOUBLE_EQ(12.34, bestScore);
}

TEST_F(Hud, MoreCoinsThanSecondsGiveANegativeBest) {
    bestScore = 5.0;
    EXPECT_TRUE(shows(endScreen(6.5, 10), "NEW BEST SCORE: -3.50"));
    EXPECT_DOUBLE_EQ(-3.5, bestScore);
}

}  // namespace
