#include "play/score.h"

#include <cstdlib>

#include "base/globals.h"

std::string fixedText(double value) { return std::to_string(value); }

std::string formatSeconds(double value) {
    const std::string text = fixedText(value);
    return text.substr(0, text[1] == '.' ? 4 : 5);
}

double scoreOf(double seconds, int coins) { return seconds - static_cast<double>(coins); }

void judgeRun(int coins) {
    runScore = scoreOf(playTime, coins);
    newBestScore = bestScore > runScore;
    // The best is what the player saw, so keep the cut value.
    if (newBestScore) bestScore = std::atof(formatSeconds(runScore).c_str());
}
