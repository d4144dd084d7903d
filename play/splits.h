// The run's checkpoints as it goes: each one passed is timed on the way the
// cat went between two frames (base/splits.h), and the HUD names it for a
// while with the difference to the all-time best's time there.
#pragma once

#include <glm/glm.hpp>
#include <optional>

constexpr double checkpointSeconds = 3.0;  // how long the HUD names a checkpoint passed

// A run begins: no checkpoint passed, and the all-time best's splits, read
// off its way, to race.
void startSplits();

// The cat is at `at`, `seconds` into the run: times every checkpoint passed
// since the last call, and has the HUD name the last of them from clock
// time `now`.
void followCheckpoints(double seconds, glm::vec3 at, double now);

// The run finished at `seconds`: the finish is its last split.
void finishSplits(double seconds);

// The run's time at checkpoint `index` less the all-time best's there:
// below 0 ahead, above behind; none where either has no time.
std::optional<double> splitDifference(int index);
