// The time trial's score: the seconds a run took, less one for every coin
// taken ("1 coin = -1 second"); lower is better. The best score of this start
// and the all-time best are kept as the player saw them on the end screen,
// cut to two decimals.
#pragma once

#include <string>

// The value in fixed notation with six decimals, as "%f" prints a double.
std::string fixedText(double value);

// Seconds as the game shows them: the fixed text cut without rounding to four
// characters when its second one is '.', else to five (7.123456 -> "7.12",
// 12.345678 -> "12.34", 123.456 -> "123.4", -3.5 -> "-3.50").
std::string formatSeconds(double value);

// The score of a run of `seconds` with `coins` taken.
double scoreOf(double seconds, int coins);

// Ends the current run, which took `playTime`, with `coins` taken: sets
// runScore, and when it beats bestScore, sets newBestScore and keeps the
// score in bestScore as formatSeconds shows it. An equal score is no new best.
// A run that beats the all-time best too (or the first run ever) is kept on
// disk with its way (base/records.h) and sets newAllTimeRecord.
void judgeRun(int coins);
