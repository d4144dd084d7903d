// The HUD and the score: number formats, status lines and their timing, the
// end screen, and the score rule with the best score behind it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "base/course.h"
#include "base/globals.h"
#include "play/ghost.h"
#include "play/hud.h"
#include "play/score.h"
#include "render/text2d.h"
#include "tests/support/helpers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/temp_home.h"

namespace {

using Row = std::tuple<std::string, int, int, int>;  // text, x, y, size
using Rows = std::vector<Row>;

class Hud : public ::testing::Test {
protected:
    void SetUp() override {
        gameOver = showFrameRate = transparencyEnabled = newBestScore = false;
        gameStartTime = 100.0;
        deltaTime = frameSeconds = 0.02f;
        drawnObjectCount = 0;
        playTime = runScore = 0.0;
        bestScore = 10000.0;
        newAllTimeRecord = false;
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
    // The score lines (size 30) of an end screen.
    static Rows scoreLines(int coins = 0) {
        Rows score;
        for (const Row& r : frame(1000.0, coins))
            if (std::get<3>(r) == 30) score.push_back(r);
        return score;
    }
};

TEST_F(Hud, PlayingFrameShowsEverySlotInOrderAndTheClockCutNotRounded) {
    showFrameRate = true;
    drawnObjectCount = 17;
    settingMessage = "setting";
    mipmapMessage = "mipmap";
    settingMessageTime = mipmapMessageTime = 0.0;
    playTime = 12.3456789;
    const Rows expected = {
        {"Framerate: 50.000000", 10, 70, 20}, {"setting", 10, 160, 15},     {"mipmap", 10, 190, 15},
        {"Transparency: Off", 10, 100, 15},   {"Objects: 17", 10, 130, 15}, {"Time: 12.34", 10, 40, 20},
        {"Coins: 10", 10, 10, 20},
    };
    EXPECT_EQ(frame(112.3456789, 10), expected);
    // A paused frame takes no step, yet frames still come.
    deltaTime = 0.0f;
    frameSeconds = 0.25f;
    EXPECT_TRUE(shows(112.0, "Framerate: 4.000000"));
    for (const auto& [seconds, shown] : {std::pair{7.999, "Time: 7.99"}, {123.456, "Time: 123.4"}, {0.999999, "Time: 0.99"}}) {
        playTime = seconds;
        EXPECT_TRUE(shows(150.0, shown)) << shown;
    }
    // The quality is named only below full, and whether the player or auto chose it.
    qualityLevel = QualityLevel::low;
    EXPECT_EQ(frame(112.3456789, 10)[1], Row("Quality: low (auto)", 10, 220, 15));
    qualitySetting = QualitySetting::balanced;
    qualityLevel = QualityLevel::balanced;
    EXPECT_TRUE(shows(112.0, "Quality: balanced"));
}

TEST_F(Hud, HotkeyMessagesShowFiveSecondsFromTheirFirstFrameAndANewOneStartsAfresh) {
    settingMessage = "first";
    settingMessageTime = 0.0;
    EXPECT_TRUE(shows(200.0, "first"));
    EXPECT_TRUE(shows(204.9, "first"));
    settingMessage = "second";  // a new message while the first is up
    settingMessageTime = 0.0;
    EXPECT_TRUE(shows(204.95, "second"));
    EXPECT_TRUE(shows(209.9, "second"));
    EXPECT_FALSE(shows(210.0, "second"));
    EXPECT_TRUE(settingMessage.empty());
}

TEST_F(Hud, StatusLinesNameTheTransparencyModeAndGoTenSecondsIntoTheEndScreen) {
    EXPECT_TRUE(shows(101.0, "Transparency: Off"));
    transparencyEnabled = true;
    EXPECT_TRUE(shows(102.0, "Transparency: On"));
    gameStartTime = 0.0;
    gameOver = true;
    EXPECT_TRUE(shows(9.9, "Transparency: On"));
    EXPECT_FALSE(shows(10.0, "Transparency: On"));
    EXPECT_TRUE(transparencyMessage.empty() && objectCountMessage.empty());
}

TEST_F(Hud, EndScreenShowsTheFrozenTimeTheScoreAndABlinkingPrompt) {
    gameOver = true;
    playTime = 42.5;
    runScore = 32.5;
    newBestScore = true;
    const Rows expected = {
        {"PRESS ENTER TO PLAY", 200, 10, 20}, {"1 coin = -1 second", 10, 90, 20}, {"Time: 42.50", 10, 40, 20},
        {"Coins:10", 10, 10, 20},             {"NEW BEST SCORE: 32.50", 10, 300, 30},
    };
    EXPECT_EQ(frame(160.0, 10), expected);
    EXPECT_FALSE(shows(101.5, "PRESS ENTER TO PLAY")) << "off in odd seconds of the run";
    EXPECT_TRUE(shows(1100.2, "PRESS ENTER TO PLAY"));
    EXPECT_FALSE(shows(1101.5, "PRESS ENTER TO PLAY"));
    newBestScore = false;
    bestScore = 30.25;
    EXPECT_EQ(scoreLines(), (Rows{{"YOUR SCORE: 32.50", 10, 300, 30}, {"BEST SCORE: 30.25", 10, 250, 30}}));
}

// The rule behind the end screen: each run is judged once, as it ends.
TEST_F(Hud, ARunBeatingTheBestIsANewBestKeptAsShownAndAnEqualOneIsNot) {
    struct Run {
        double seconds;
        int coins;
        const char* shown;  // the end screen's first score line
        double best;        // bestScore after the run
    };
    const Run runs[] = {
        {42.5, 10, "NEW BEST SCORE: 32.50", 32.5},   // the first run beats 10000
        {45.0, 5, "YOUR SCORE: 40.00", 32.5},
        {42.5, 10, "YOUR SCORE: 32.50", 32.5},       // equal is no best
        {12.3456789, 0, "NEW BEST SCORE: 12.34", 12.34},  // kept as shown, cut
        {6.5, 10, "NEW BEST SCORE: -3.50", -3.5},    // more coins than seconds
    };
    gameOver = true;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.shown);
        playTime = run.seconds;
        judgeRun(run.coins);
        EXPECT_EQ(std::get<0>(scoreLines(run.coins).front()), run.shown);
        EXPECT_DOUBLE_EQ(bestScore, run.best);
    }
}

// The best of every start is kept with its way: a run that beats it says so
// on its end screen, and every end screen shows it.
TEST_F(Hud, ARunBeatingTheAllTimeBestIsKeptWithItsWayAndShown) {
    TempDir home;
    setenv("XDG_DATA_HOME", home.path("data").c_str(), 1);
    allTimeBest.reset();
    gameOver = true;
    startWay({0, 5, -200});
    recordWay(1.0, {0, 5, -210});
    playTime = 21.0;
    judgeRun(1);
    EXPECT_TRUE(newAllTimeRecord) << "the first run ever";
    ASSERT_TRUE(allTimeBest);
    EXPECT_EQ(allTimeBest->way.samples.size(), 31u) << "its way";
    EXPECT_EQ(loadRecords()->score, 20.0) << "kept on disk";
    const std::string allTime = "ALL-TIME BEST: 20.00 on " + todaysDate();
    EXPECT_TRUE(shows(1000.0, "NEW ALL-TIME RECORD!") && shows(1000.0, allTime));
    gameOver = false;
    EXPECT_EQ(frame(1000.0).back(), Row("Record: 20.00", 530, 40, 20)) << "while playing, the time to beat";
    gameOver = true;

    bestScore = 10000.0;  // a new start: its first run is its best, not the all-time one
    playTime = 25.0;
    judgeRun(1);
    EXPECT_TRUE(newBestScore);
    EXPECT_FALSE(newAllTimeRecord);
    EXPECT_EQ(std::get<0>(scoreLines(1).front()), "NEW BEST SCORE: 24.00");
    EXPECT_TRUE(!shows(1000.0, "NEW ALL-TIME RECORD!") && shows(1000.0, allTime));
    EXPECT_EQ(loadRecords()->score, 20.0);
    allTimeBest.reset();
    setenv("XDG_DATA_HOME", (useTemporaryHome() + "/data").c_str(), 1);
}

// The end screen at its fullest: seven splits against a record, the best
// possible time and a table of ten slow runs, every line within the picture.
TEST_F(Hud, TheFullestEndScreenFitsItsPicture) {
    gameOver = true;
    runSplits = recordSplits = Splits(size_t(checkpointCount), 599.99);
    bestSegments.assign(size_t(checkpointCount), 99.99);
    bestRuns.assign(10, Record{});
    for (Record& run : bestRuns) run.score = run.time = 999.99, run.coins = 999, run.date = "2026-12-09";
    finishedRunRow = 9;
    for (const HudLine& line : hudFrame(1000.0, 0))
        EXPECT_LE(line.x + line.size * int(line.text.size()), int(hudUnits.x)) << line.text;
    runSplits.clear();
    recordSplits.clear();
    bestSegments.clear();
    bestRuns.clear();
    finishedRunRow = -1;
}

// The way is recorded at its own rate whatever the frames are: a frame of a
// quarter of a second adds the samples that fall within it, on the straight
// line the cat went.
TEST(GhostWay, IsRecordedAtItsRateAtAnyFrameRate) {
    for (const double frame : {1.0 / 60.0, 0.25}) {
        SCOPED_TRACE(frame);
        startWay({0, 5, -200});
        for (int i = 1; i <= int(std::lround(2.0 / frame)); ++i) {
            const double t = i == int(std::lround(2.0 / frame)) ? 2.0 : i * frame;
            recordWay(t, {0, 5, float(-200.0 - 10.0 * t)});
        }
        const GhostWay& way = currentWay();
        ASSERT_EQ(way.samples.size(), 61u) << "30 a second for 2 s, and the start";
        for (size_t i = 0; i < way.samples.size(); ++i)
            ASSERT_TRUE(closeTo(way.samples[i], {0, 5, float(-200.0 - 10.0 * double(i) / 30.0)}, 1e-3f)) << i;
    }
    // A run left standing for hours keeps its first hour, which the file can hold.
    const double hour = double(maxGhostSamples) / 30.0;
    startWay({0, 5, -200});
    recordWay(hour - 1.0, {0, 5, -300});
    recordWay(3.0 * hour, {0, 5, -400});
    ASSERT_EQ(currentWay().samples.size(), maxGhostSamples);
    EXPECT_TRUE(closeTo(currentWay().samples.back(), {0, 5, -300}, 0.1f)) << "the way to the end of the hour";
}

// The ghost follows the run the settings choose, or none.
TEST(GhostWay, FollowsTheChosenRun) {
    Record best;
    best.way.samples = {{0, 5, -200}, {0, 5, -210}};
    lastRunWay.samples = {{1, 5, -200}, {1, 5, -220}};
    const struct Case {
        bool enabled, kept;
        GhostRun run;
        std::optional<glm::vec3> at;  // after half a sample
    } cases[] = {
        {true, true, GhostRun::record, glm::vec3(0, 5, -205)}, {true, true, GhostRun::last, glm::vec3(1, 5, -210)},
        {true, false, GhostRun::last, glm::vec3(1, 5, -210)},  {true, false, GhostRun::record, std::nullopt},
        {false, true, GhostRun::last, std::nullopt},
    };
    for (const Case& c : cases) {
        ghostEnabled = c.enabled;
        ghostRun = c.run;
        allTimeBest = c.kept ? std::optional<Record>(best) : std::nullopt;
        followGhost(0.5 / 30.0);
        EXPECT_EQ(ghostPosition.has_value(), c.at.has_value()) << int(c.run) << c.enabled << c.kept;
        if (ghostPosition && c.at) {
            EXPECT_TRUE(closeTo(*ghostPosition, *c.at)) << int(c.run);
        }
    }
    allTimeBest.reset();
    lastRunWay = GhostWay{};
    ghostPosition.reset();
    ghostEnabled = true;
    ghostRun = GhostRun::record;
}

}  // namespace
