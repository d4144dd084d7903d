// The ghost: the way of the current run is recorded as it goes, and the way
// the player chose (the best run's or the last run's) is followed by a
// translucent cat in step with the run's clock.
// The ghost never collides, takes no coins and is not counted as drawn; the
// lit pass draws it where ghostPosition says.
#pragma once

#include <glm/glm.hpp>

#include "base/records.h"

// A run begins at `start`: the recorded way starts over there.
void startWay(glm::vec3 start);

// The cat is at `at`, `seconds` into the run: adds every sample due since the
// last call, each on the straight line between the two positions, so the way
// has its full rate however long the frames are. Stops at maxGhostSamples.
void recordWay(double seconds, glm::vec3 at);

// The way of the current run so far.
const GhostWay& currentWay();

// Sets ghostPosition to where the chosen run's cat (ghostRun: the kept best
// run's or the last run's) was `seconds` into its run (and stays at its
// end), or to none while the ghost is off or there is no such run.
void followGhost(double seconds);
