// The player's runs, kept from one start to the next: the all-time best run
// with its way down the street, which a ghost of the cat follows in later
// runs; the ten best runs ever; the best time ever run between each two
// checkpoints (base/splits.h); and the way of the last run finished, which
// the player may race instead.
//
//   {
//     "version": 2,
//     "best": {
//       "score": 12.34, "time": 22.34, "coins": 10, "date": "2026-12-07",
//       "ghost": {"sampleRate": 30, "sampleCount": 2, "samples": [0, 5, -200, 0, 5, -200.333]}
//     },
//     "table": [{"score": 12.34, "time": 22.34, "coins": 10, "date": "2026-12-07"}],
//     "bestSegments": [1.71, 1.68, 1.70, 1.69, 1.72, 1.70, 1.66],
//     "lastGhost": {"sampleRate": 30, "sampleCount": 2, "samples": [0, 5, -200, 0, 5, -200.333]}
//   }
//
// The samples are x, y, z of the cat, one every 1 / sampleRate seconds from
// the run's start. A key left out keeps its default (no ghost, no coins, no
// date, an empty table); a run needs its score. Keys this game does not know
// are kept as they are, at the top of the file and within a run.
//
// A file of format version 1 (the best run alone) is read as it stands: its
// best run is the table's first row, its way gives the best segments, and it
// becomes a file of version 2 only when a finish saves. A file that breaks
// the format is set aside and the game goes on without records; one of a
// later format version is left alone (base/storage.h). Every finish saves:
// the file is read again under a lock and the run merged into what it holds,
// so two games finishing at once both enter the table and the better run is
// the best; a game that cannot have the lock soon keeps its runs to save
// later.
#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <string>
#include <vector>

#include "base/storage.h"

// Where the cat was during a run, sampled at a fixed rate from its start.
struct GhostWay {
    double sampleRate = 30.0;        // samples per second
    std::vector<glm::vec3> samples;  // samples[i]: the cat i / sampleRate seconds into the run

    // Seconds from the first sample to the last; 0 for none or one.
    double duration() const;
    // Where the cat was `seconds` into the run, between the two samples
    // around it; the first sample before the start, the last after the end.
    // Needs a sample.
    glm::vec3 at(double seconds) const;
};

struct Record {
    double score = 0.0;   // seconds, as the end screen showed it
    double time = 0.0;    // seconds the run took
    int coins = 0;        // coins it took
    std::string date;     // the day it was run, "YYYY-MM-DD", UTC
    GhostWay way;         // none in the table
    UnknownKeys unknown;  // keys of the run this game does not know
};

// What the records file holds.
struct Records {
    std::optional<Record> best;       // none before the first finish
    std::vector<Record> table;        // the best runs, best first, at most bestRunsKept; without ways
    std::vector<double> bestSegments; // seconds: the best ever run between each two checkpoints
    GhostWay lastWay;                 // the last finished run's; no samples before one
    UnknownKeys unknown;              // top-level keys this game does not know
};

constexpr int recordsVersion = 2;
constexpr size_t bestRunsKept = 10;
constexpr size_t maxGhostSamples = 60 * 60 * 30;  // an hour at 30 a second; a longer run keeps its first hour

// Reads `text` into `records`; `problem` says what breaks the format or
// which later version it is.
Verdict parseRecords(const std::string& text, Records& records, std::string& problem);

// The file's text for `records`.
std::string recordsText(const Records& records);

// The better of two runs: the lower score; on a tie, `kept`, which was first.
const Record& betterRecord(const Record& kept, const Record& challenger);

// Today's date as a record keeps it.
std::string todaysDate();

// Takes the finished `run` into `records`: the best when it beats it, a row
// of the table when it is among the ten best (after the runs of its score
// already there), its segments where they beat the best, its way as the
// last. Returns its row in the table, -1 when it is not among them.
int mergeRun(Records& records, const Record& run);

// The kept records, empty when there are none or they cannot be read (which
// is said on stderr).
Records loadAllRecords();
// The kept best run of loadAllRecords().
std::optional<Record> loadRecords();

// What a finish leaves kept.
struct KeptRun {
    Records records;    // as kept now, this run included
    bool best = false;  // the run is the best kept
    int row = -1;       // its row in records.table; -1: not among them
};

// Merges `run` into the records the file holds, read again under the lock,
// and saves them. When that cannot be done now (another game holds the lock
// past a short wait, or the disk refuses) that is said once, the run counts
// as kept for this start, and it is saved at the next finish or by
// savePendingRecords().
KeptRun keepRun(const Record& run);

// keepRun() for what is best: the best run now kept; `runKept` says
// whether that is `run`.
Record keepRecord(const Record& run, bool& runKept);

// Saves the runs finishes could not save, if any: the game calls it at exit.
void savePendingRecords();
