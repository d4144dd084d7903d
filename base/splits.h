// Where the time went: the seconds into a run at which the cat passed each
// checkpoint (base/course.h), the seconds between them, and the best time
// possible from the best of each. A kept run has these too, read off its way,
// so a run kept before checkpoints existed is raced split by split all the
// same.
#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <vector>

struct GhostWay;

// Seconds into the run at each checkpoint passed, in course order; the last
// one, once the run is over, is the finish at the run's own time.
using Splits = std::vector<double>;

// Adds every checkpoint before the finish that the way from `from`, at
// `fromSeconds` into the run, to `to`, at `toSeconds`, passes first, each
// timed where the straight line between the two crosses it: many in one
// slow frame, none for a way that stays before the next. Returns how many.
int passCheckpoints(Splits& splits, double fromSeconds, glm::vec3 from, double toSeconds, glm::vec3 to);

// The checkpoint times along a kept way, the finish at `finishTime`, the
// run's time; none past a checkpoint the way never reaches.
Splits splitsOfWay(const GhostWay& way, double finishTime);

// The seconds from checkpoint to checkpoint, the first from the start.
std::vector<double> segmentsOf(const Splits& splits);

// `best` becomes, segment by segment, the better of itself and `segments`;
// a segment it lacks is taken as it comes. Segments that are not all
// seconds, 0 or more (a way that reaches a checkpoint after the run's finish
// time, as a hand-edited record can) are not taken at all: the file could not
// be read back with them.
void keepBestSegments(std::vector<double>& best, const std::vector<double>& segments);

// The sum of the best segment of every part of the course, once all are
// known: the time a run made of the best of every run would take.
std::optional<double> bestPossibleTime(const std::vector<double>& bestSegments);
