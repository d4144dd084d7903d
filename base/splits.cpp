#include "base/splits.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/course.h"
#include "base/records.h"

int passCheckpoints(Splits& splits, double fromSeconds, glm::vec3 from, double toSeconds, glm::vec3 to) {
    int passed = 0;
    // The finish is passed where the rules say the run is over, not here.
    while (int(splits.size()) + 1 < checkpointCount) {
        const float z = checkpointZ(int(splits.size()));
        if (!(from.z >= z && to.z < z)) break;
        const double along = (double(from.z) - z) / (double(from.z) - double(to.z));
        splits.push_back(fromSeconds + along * (toSeconds - fromSeconds));
        ++passed;
    }
    return passed;
}

Splits splitsOfWay(const GhostWay& way, double finishTime) {
    Splits splits;
    for (size_t i = 1; i < way.samples.size(); ++i)
        passCheckpoints(splits, double(i - 1) / way.sampleRate, way.samples[i - 1], double(i) / way.sampleRate,
                        way.samples[i]);
    if (int(splits.size()) + 1 == checkpointCount) splits.push_back(finishTime);
    return splits;
}

std::vector<double> segmentsOf(const Splits& splits) {
    std::vector<double> segments(splits.size());
    std::adjacent_difference(splits.begin(), splits.end(), segments.begin());
    return segments;
}

void keepBestSegments(std::vector<double>& best, const std::vector<double>& segments) {
    if (!std::all_of(segments.begin(), segments.end(), [](double s) { return std::isfinite(s) && s >= 0.0; }))
        return;
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i == best.size()) best.push_back(segments[i]);
        else best[i] = std::min(best[i], segments[i]);
    }
}

std::optional<double> bestPossibleTime(const std::vector<double>& bestSegments) {
    if (int(bestSegments.size()) != checkpointCount) return std::nullopt;
    return std::accumulate(bestSegments.begin(), bestSegments.end(), 0.0);
}
