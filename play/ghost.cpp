#include "play/ghost.h"

#include "base/globals.h"
#include "scene/world.h"

namespace {

GhostWay way;            // the current run's
double lastSeconds = 0;  // the last call's time into the run
glm::vec3 lastAt(0.0f);  // and where the cat was then

}  // namespace

void startWay(glm::vec3 start) {
    way.samples.assign(1, start);
    lastSeconds = 0.0;
    lastAt = start;
}

void recordWay(double seconds, glm::vec3 at) {
    if (way.samples.empty()) startWay(at);
    const double span = seconds - lastSeconds;
    for (double due = double(way.samples.size()) / way.sampleRate; due <= seconds; due = double(way.samples.size()) / way.sampleRate) {
        if (way.samples.size() >= maxGhostSamples) break;
        const float along = span > 0.0 ? static_cast<float>((due - lastSeconds) / span) : 1.0f;
        way.samples.push_back(glm::mix(lastAt, at, along));
    }
    lastSeconds = seconds;
    lastAt = at;
}

const GhostWay& currentWay() { return way; }

void followGhost(double seconds) {
    const GhostWay* chosen = ghostRun == GhostRun::last ? &lastRunWay : allTimeBest ? &allTimeBest->way : nullptr;
    if (ghostEnabled && chosen && !chosen->samples.empty())
        ghostPosition = chosen->at(seconds);
    else
        ghostPosition.reset();
}
