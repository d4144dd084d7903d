// The player's all-time best run, kept from one start to the next: its score,
// time, coins and day, and its way down the street, which a ghost of the cat
// follows in later runs.
//
//   {
//     "version": 1,
//     "best": {
//       "score": 12.34, "time": 22.34, "coins": 10, "date": "2026-12-07",
//       "ghost": {"sampleRate": 30, "sampleCount": 2, "samples": [0, 5, -200, 0, 5, -200.333]}
//     }
//   }
//
// The samples are x, y, z of the cat, one every 1 / sampleRate seconds from
// the run's start. A key left out keeps its default (no ghost, no coins, no
// date); a best run needs its score. Keys this game does not know are kept
// as they are: at the top of the file always, within "best" for as long as
// that run is the best (the file is written again only for a better run). A file that breaks the format is set aside and the
// game goes on without records; one of a later format version is left alone
// (base/storage.h). Two games saving at once keep the better run: the file
// is read again under a lock before it is replaced, and a game that cannot
// have the lock soon keeps its run to save later.
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
    GhostWay way;
};

// What the records file holds.
struct Records {
    std::optional<Record> best;  // none before the first finish
    UnknownKeys unknown;         // top-level keys this game does not know
};

constexpr int recordsVersion = 1;
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

// The kept best run, or none when there is none or it cannot be read (which
// is said on stderr).
std::optional<Record> loadRecords();

// Keeps `run` as the best unless the file, read again under the lock, holds a
// better one, and returns the best now kept; `runKept` says whether that is
// `run`. When the run cannot be saved now (another game holds the lock past
// a short wait, or the disk refuses) that is said once, the run counts as
// kept for this start, and it is saved at the next finish or by
// savePendingRecords().
Record keepRecord(const Record& run, bool& runKept);

// Saves the run a finish could not save, if any: the game calls it at exit.
void savePendingRecords();
