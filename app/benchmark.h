// kivo --benchmark: the real game's frames, timed on this machine. The cat
// flies the course on the autopilot (play/autopilot.h) with a fixed game
// step of 1/60 s, so every run sees the same frames whatever the machine: at
// a run (W) for the first quarter of the frames, then sprinting (Space as well)
// through the motion blur to beyond the finish line; the first frame, which compiles the shaders and fills the caches,
// is run but not counted. The frames are timed by the lab overlay's frame
// timing (app/frame_timing.h). No sound plays and nothing is kept: the runs
// are the autopilot's, not the player's.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/frame_timing.h"

// Frames a benchmark counts unless KIVO_BENCHMARK_FRAMES names fewer or more.
constexpr int benchmarkFrames = 1000;

// The frames to count: KIVO_BENCHMARK_FRAMES when it is a whole number from
// 1 to 100000, else benchmarkFrames.
int benchmarkFrameCount(const char* environment);

// Nearest-rank percentile (0 < p <= 1) of `values`; -1 for none.
double percentile(std::vector<double> values, double p);

// Median of `field` over the `records` that have it (a value of 0 or more);
// -1 for none.
template <typename Record, typename Field>
double medianOf(const std::vector<Record>& records, Field field) {
    std::vector<double> values;
    for (const Record& record : records) {
        const double value = field(record);
        if (value >= 0.0) values.push_back(value);
    }
    return percentile(values, 0.5);
}

// What a benchmark measured, counted frame by frame.
struct BenchmarkRun {
    std::string renderer, version;  // GL_RENDERER, GL_VERSION
    int width = 0, height = 0;      // the window's pixels
    std::string quality;            // the setting; with auto, the levels drawn follow
    std::vector<double> frames;     // wall time of each counted frame, ms
    std::vector<FrameRecord> records;  // the counted frames whose GPU times came in
    std::vector<int> liveParticles;    // after each counted frame
    std::vector<std::string> levels;   // the level each counted frame was drawn at
    int restarts = 0;                  // runs the autopilot lost to a slab or the street's edge
    bool finished = false;             // the cat crossed the finish line
    float furthestZ = 0.0f;            // of the cat on the way
};

// The JSON report of `run`, and the few lines that sum it up.
std::string benchmarkJson(const BenchmarkRun& run);
std::string benchmarkSummary(const BenchmarkRun& run);

// From here on the game's own lines on std::cout (the coin layouts, the
// pick-ups) go nowhere, so that standard output carries the report alone.
void silenceGameLines();

// Runs the benchmark in the open window with the scene built, writes the
// report to `file` (empty: standard output, the summary then on standard
// error, else on standard output) and returns the exit status.
int runBenchmark(const std::string& file);
