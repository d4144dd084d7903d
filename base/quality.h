// Quality levels: how much of the full picture a frame draws, so the game
// stays playable on machines without a GPU.
//
// The player picks a setting (--quality=LEVEL, or F6 in the game): one of the
// three levels, or `automatic`, which starts at full and follows the frame
// time. What each level gives up is the renderer's to say (render/quality.h);
// rules, the particle simulation, the clock and the console are the same at
// every level. Plain logic, tested without GL.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class QualityLevel { full, balanced, low };
enum class QualitySetting { automatic, full, balanced, low };

// "full", "balanced", "low"; "auto" for the setting `automatic`.
const char* qualityName(QualityLevel level);
const char* qualityName(QualitySetting setting);
// The setting a name stands for, if any.
std::optional<QualitySetting> parseQualitySetting(const std::string& name);
// The level a setting fixes; none for `automatic`, which follows the frames.
std::optional<QualityLevel> fixedLevel(QualitySetting setting);
// F6's order: auto, full, balanced, low, and round again.
QualitySetting nextQualitySetting(QualitySetting setting);

// Switches this start's quality to `setting` (qualitySetting and
// qualityLevel, base/globals.h): a fixed level at once; automatic starts
// again at full, measuring afresh. Saves nothing; the next frame sizes the
// render targets for it.
void chooseQuality(QualitySetting setting);

// Chooses the level for the `automatic` setting from the wall time of the
// frames: once a second of frames has gone by, it steps down while their
// median exceeds 40 ms and back up while it stays under 20 ms. A step down
// within 2 s of a step up is a swing: after one it steps up to no level at
// all for the next 30 s of frames (paused frames are not observed), so it
// does not swing between two levels. A machine that holds 60 frames
// a second at full never leaves full.
class AutoQuality {
public:
    QualityLevel level() const { return level_; }

    // Adds one frame's wall time in seconds; returns the level for the next frame.
    QualityLevel observe(double frameSeconds);

    // Forgets the frames seen so far, keeping the level: after a wait in
    // which no frame was drawn, the first one back says nothing of the speed.
    void forgetFrames();

private:
    QualityLevel level_ = QualityLevel::full;
    std::vector<double> frames_;  // seconds, the frames since the last decision
    double framesSeconds_ = 0.0;  // their sum
    double clock_ = 0.0;          // seconds of frames observed in all
    double steppedUpAt_ = -1e9;   // clock_ when it last stepped up
    double noStepUpBefore_ = 0.0; // clock_ before which it does not step up
};
