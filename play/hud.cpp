#include "play/hud.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "base/debug_view.h"
#include "base/globals.h"
#include "base/platform.h"
#include "play/score.h"
#include "play/settings_screen.h"
#include "play/splits.h"
#include "render/text2d.h"
#include "scene/coins.h"
#include "scene/world.h"

namespace {

constexpr double kMessageSeconds = 5.0;  // how long a status line stays up

struct MessageSlot {
    std::string& text;
    double& startTime;  // clock seconds of the first frame that drew it; 0.0 = not yet drawn
    int y;
};

// Stamps a newly written slot, then shows it or, after its 5 seconds, empties it.
void runSlot(const MessageSlot& slot, double now, std::vector<HudLine>& lines) {
    if (slot.text.empty()) return;
    if (slot.startTime == 0.0) slot.startTime = now;
    if (now - slot.startTime < kMessageSeconds) {
        lines.push_back({slot.text, 10, slot.y, 15});
    } else {
        slot.text.clear();
        slot.startTime = 0.0;
    }
}

// The blink of "PRESS ENTER TO PLAY": on during even whole seconds of the run.
bool blinkOn(double secondsSinceStart) {
    return static_cast<long long>(secondsSinceStart) % 2 == 0;
}

// A difference of times as the genre shows it: "-0.31" ahead, "+0.42"
// behind, in green or red; `x` where the line starts, `size` its cell.
HudLine differenceLine(double difference, int x, int y, int size) {
    char text[32];
    std::snprintf(text, sizeof text, "%c%.2f", difference < 0.0 ? '-' : '+', std::fabs(difference));
    return {text, x, y, size, difference < 0.0 ? aheadInk : behindInk};
}

// The checkpoint passed last, for a few seconds: the run's time there and
// how far ahead of the all-time best or behind it.
void addCheckpointLine(double now, std::vector<HudLine>& lines) {
    if (shownCheckpoint < 0 || size_t(shownCheckpoint) >= runSplits.size() ||
        now - shownCheckpointSince >= checkpointSeconds)
        return;
    const std::string text =
        "Checkpoint " + std::to_string(shownCheckpoint + 1) + ": " + formatSeconds(runSplits[size_t(shownCheckpoint)]);
    const int x = 250;
    lines.push_back({text, x, 520, 20});
    if (const std::optional<double> difference = splitDifference(shownCheckpoint))
        lines.push_back(differenceLine(*difference, x + 20 * int(text.size() + 1), 520, 20));
}

// Above the end screen's score lines, at a smaller size: on the left the
// run's splits beside the all-time best's with each difference, and the
// best time possible; on the right the table of the best runs, the run just
// finished marked.
constexpr int tableSize = 12;
constexpr int tableTop = 580;
constexpr int tableStep = 14;
constexpr int tableLeft = 364;  // the best runs, beside the splits

std::string padded(std::string text, size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

void addSplitLines(std::vector<HudLine>& lines) {
    if (runSplits.empty()) return;
    int y = tableTop;
    lines.push_back({"SPLITS    RUN  RECORD", 10, y, tableSize});
    for (size_t i = 0; i < runSplits.size(); ++i) {
        y -= tableStep;
        const std::string name = int(i) + 1 == checkpointCount ? "Finish" : "CP " + std::to_string(i + 1);
        std::string text = name;
        text.resize(7, ' ');
        text += padded(formatSeconds(runSplits[i]), 6);
        text += i < recordSplits.size() ? padded(formatSeconds(recordSplits[i]), 8) : std::string(8, ' ');
        lines.push_back({text, 10, y, tableSize});
        if (const std::optional<double> difference = splitDifference(int(i)))
            lines.push_back(differenceLine(*difference, 10 + tableSize * int(text.size() + 1), y, tableSize));
    }
    if (const std::optional<double> possible = bestPossibleTime(bestSegments))
        lines.push_back({"Best possible: " + formatSeconds(*possible), 10, y - tableStep - 4, tableSize});
}

void addTableLines(std::vector<HudLine>& lines) {
    if (bestRuns.empty()) return;
    int y = tableTop;
    // 35 characters a row: from x 364 the date still ends within the 800 units.
    lines.push_back({"BEST  SCORE   TIME COINS DATE", tableLeft, y, tableSize});
    for (size_t row = 0; row < bestRuns.size(); ++row) {
        y -= tableStep;
        const Record& run = bestRuns[row];
        const std::string text = std::string(int(row) == finishedRunRow ? ">" : " ") + padded(std::to_string(row + 1), 2) +
                                 "." + padded(formatSeconds(run.score), 7) + padded(formatSeconds(run.time), 7) +
                                 padded(std::to_string(run.coins), 6) + " " + run.date;
        lines.push_back({text, tableLeft, y, tableSize, int(row) == finishedRunRow ? aheadInk : textInk});
    }
}

void addScoreLines(std::vector<HudLine>& lines) {
    if (newBestScore) {
        lines.push_back({"NEW BEST SCORE: " + formatSeconds(runScore), 10, 300, 30});
    } else {
        lines.push_back({"YOUR SCORE: " + formatSeconds(runScore), 10, 300, 30});
        lines.push_back({"BEST SCORE: " + formatSeconds(bestScore), 10, 250, 30});
    }
    // The record of every start so far, above this start's.
    if (newAllTimeRecord) lines.push_back({"NEW ALL-TIME RECORD!", 10, 400, 30});
    if (allTimeBest)
        lines.push_back({"ALL-TIME BEST: " + formatSeconds(allTimeBest->score) + " on " + allTimeBest->date, 10, 360, 20});
}

}  // namespace

std::vector<HudLine> hudFrame(double now, int collectedCount) {
    std::vector<HudLine> lines;

    if (!gameOver) {
        transparencyMessage = transparencyEnabled ? "Transparency: On" : "Transparency: Off";
        transparencyMessageTime = 0.0;
        objectCountMessage = "Objects: " + std::to_string(drawnObjectCount);
        objectCountMessageTime = 0.0;
    } else {
        // A start time of 5.0 lets these lines show only while the clock is
        // below 10 s; after that the end screen clears them.
        transparencyMessageTime = kMessageSeconds;
        objectCountMessageTime = kMessageSeconds;
    }

    // The rate frames come at, paused or not: a paused frame takes no step.
    if (showFrameRate) lines.push_back({"Framerate: " + fixedText(1.0f / frameSeconds), 10, 70, 20});
    if (qualityLevel != QualityLevel::full) {
        const bool automatic = qualitySetting == QualitySetting::automatic;
        lines.push_back({std::string("Quality: ") + qualityName(qualityLevel) + (automatic ? " (auto)" : ""), 10, 220, 15});
    }

    if (debugView != DebugView::off) {
        std::string name = debugViewName(debugView);
        if (debugView == DebugView::culling && !frustumCullingEnabled) name += " (F8: culling is off)";
        lines.push_back({name, 10, int(hudUnits.y) - 25, 15});
    }

    const MessageSlot slots[] = {
        {settingMessage, settingMessageTime, 160},
        {mipmapMessage, mipmapMessageTime, 190},
        {transparencyMessage, transparencyMessageTime, 100},
        {objectCountMessage, objectCountMessageTime, 130},
    };
    for (const MessageSlot& slot : slots) runSlot(slot, now, lines);

    const std::string coins = std::to_string(collectedCount);
    if (!gameOver) {
        lines.push_back({"Time: " + formatSeconds(playTime), 10, 40, 20});
        lines.push_back({"Coins: " + coins, 10, 10, 20});
        // The time to beat, ending at the right edge.
        if (allTimeBest) {
            const std::string record = "Record: " + formatSeconds(allTimeBest->score);
            lines.push_back({record, int(hudUnits.x) - 10 - 20 * int(record.size()), 40, 20});
        }
        addCheckpointLine(now, lines);
    } else {
        if (blinkOn(now - gameStartTime)) lines.push_back({"PRESS ENTER TO PLAY", 200, 10, 20});
        lines.push_back({"1 coin = -1 second", 10, 90, 20});
        lines.push_back({"Time: " + formatSeconds(playTime), 10, 40, 20});
        lines.push_back({"Coins:" + coins, 10, 10, 20});
        addScoreLines(lines);
        addSplitLines(lines);
        addTableLines(lines);
    }
    return lines;
}

std::vector<HudLine> pauseScreenLines() {
    std::vector<HudLine> lines{{"PAUSED", 250, 500, 50}};
    int y = 450;
    for (const SettingRow& row : settingRows()) {
        std::string text = (row.chosen ? "> " : "  ") + row.name;
        text.resize(22, ' ');
        lines.push_back({text + row.value, 120, y, 20});
        y -= 35;
    }
    lines.push_back({"P or Start: play on", 160, 245, 15});
    lines.push_back({"Arrows or D-pad: choose and change", 160, 225, 15});
    lines.push_back({"Escape: quit the game", 160, 205, 15});
    return lines;
}

void drawHud() { drawScreenText(hudFrame(clockNow(), coinField ? coinField->collectedCount : 0)); }

void drawPauseScreen() { drawScreenText(pauseScreenLines()); }
