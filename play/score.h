// The time trial's score: the seconds a run took, less one for every coin
// taken ("1 coin = -1 second"); lower is better. The best score of this start
// and the all-time best are kept as the player saw them on the end screen,
// cut to two decimals.
#pragma once

#include <string>

#include "base/records.h"

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
// Every run finished is kept (base/records.h): with its way as the last
// run's, in the table of the best runs when it is among them (finishedRunRow
// says where), as the all-time best with its way when it beats it (or is
// the first run ever), which sets newAllTimeRecord.
void judgeRun(int coins);

// The game goes on with `records`: allTimeBest, bestRuns, bestSegments and
// lastRunWay become theirs.
void takeKeptRecords(const Records& records);
