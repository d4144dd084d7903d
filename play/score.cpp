#include "play/score.h"

#include <cstdlib>

#include "base/globals.h"
#include "scene/world.h"
#include "play/ghost.h"

std::string fixedText(double value) { return std::to_string(value); }

std::string formatSeconds(double value) {
    const std::string text = fixedText(value);
    return text.substr(0, text[1] == '.' ? 4 : 5);
}

double scoreOf(double seconds, int coins) { return seconds - static_cast<double>(coins); }

void judgeRun(int coins) {
    runScore = scoreOf(playTime, coins);
    // The best is what the player saw, so keep the cut value.
    const double shown = std::atof(formatSeconds(runScore).c_str());
    newBestScore = bestScore > runScore;
    if (newBestScore) bestScore = shown;

    Record run;
    run.score = shown;
    run.time = playTime;
    run.coins = coins;
    run.date = todaysDate();
    run.way = currentWay();
    // Another game may have kept a better run, or others, since this one started.
    const KeptRun kept = keepRun(run);
    newAllTimeRecord = kept.best;
    takeKeptRecords(kept.records);
    finishedRunRow = kept.row;
}

void takeKeptRecords(const Records& records) {
    allTimeBest = records.best;
    bestRuns = records.table;
    bestSegments = records.bestSegments;
    lastRunWay = records.lastWay;
}
