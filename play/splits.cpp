#include "play/splits.h"

#include "base/course.h"
#include "base/globals.h"

namespace {

double checkedSeconds = 0.0;  // the last call's time into the run
glm::vec3 checkedAt = courseStart;

}  // namespace

void startSplits() {
    runSplits.clear();
    recordSplits = allTimeBest ? splitsOfWay(allTimeBest->way, allTimeBest->time) : Splits{};
    shownCheckpoint = -1;
    checkedSeconds = 0.0;
    checkedAt = courseStart;
}

void followCheckpoints(double seconds, glm::vec3 at, double now) {
    if (passCheckpoints(runSplits, checkedSeconds, checkedAt, seconds, at) > 0) {
        shownCheckpoint = int(runSplits.size()) - 1;
        shownCheckpointSince = now;
    }
    checkedSeconds = seconds;
    checkedAt = at;
}

void finishSplits(double seconds) {
    if (int(runSplits.size()) + 1 == checkpointCount) runSplits.push_back(seconds);
    shownCheckpoint = -1;
}

std::optional<double> splitDifference(int index) {
    if (index < 0 || size_t(index) >= runSplits.size() || size_t(index) >= recordSplits.size()) return std::nullopt;
    return runSplits[size_t(index)] - recordSplits[size_t(index)];
}
