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
// The samples are x, y, z of the cat, sampleCount of them, one every
// 1 / sampleRate seconds from the run's start. A file that breaks the format
// is set aside (base/storage.h) and the game goes on without records. Two
// games saving at once keep the better run: the file is read again under a
// lock before it is replaced.
#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <string>
#include <vector>

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

constexpr int recordsVersion = 1;
constexpr size_t maxGhostSamples = 60 * 60 * 30;  // an hour at 30 a second; a longer run keeps its first hour

// Reads `text`: true with `best` set (none when the file keeps no run yet),
// or false with `problem` saying what breaks the format.
bool parseRecords(const std::string& text, std::optional<Record>& best, std::string& problem);

// The file's text for `best`.
std::string recordsText(const std::optional<Record>& best);

// The better of two runs: the lower score; on a tie, `kept`, which was first.
const Record& betterRecord(const Record& kept, const Record& challenger);

// Today's date as a record keeps it.
std::string todaysDate();

// The kept best run, or none when there is none or it cannot be read (which
// is said on stderr, the file set aside).
std::optional<Record> loadRecords();

// Keeps `run` as the best unless the file, read again under the lock, holds a
// better one, and returns the best now kept; `runKept` says whether that is
// `run`. A failure to save is said once on stderr; `run` then counts as kept,
// for this start.
Record keepRecord(const Record& run, bool& runKept);
