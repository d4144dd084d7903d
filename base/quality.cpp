#include "base/quality.h"

#include <algorithm>

#include "base/globals.h"

namespace {

constexpr double decisionSeconds = 1.0;   // frames gathered for one decision
constexpr double stepDownAbove = 0.040;   // median frame, seconds
constexpr double stepUpBelow = 0.020;     // half of it: a level up must fit twice over
constexpr double swingSeconds = 2.0;      // stepping down this soon after a step up is a swing
constexpr double holdAfterSwing = 30.0;   // seconds without a step up after one

}  // namespace

const char* qualityName(QualityLevel level) {
    switch (level) {
        case QualityLevel::full: return "full";
        case QualityLevel::balanced: return "balanced";
        case QualityLevel::low: return "low";
    }
    return "full";
}

const char* qualityName(QualitySetting setting) {
    switch (setting) {
        case QualitySetting::automatic: return "auto";
        case QualitySetting::full: return "full";
        case QualitySetting::balanced: return "balanced";
        case QualitySetting::low: return "low";
    }
    return "auto";
}

std::optional<QualitySetting> parseQualitySetting(const std::string& name) {
    for (QualitySetting setting : {QualitySetting::automatic, QualitySetting::full, QualitySetting::balanced,
                                   QualitySetting::low})
        if (name == qualityName(setting)) return setting;
    return std::nullopt;
}

std::optional<QualityLevel> fixedLevel(QualitySetting setting) {
    switch (setting) {
        case QualitySetting::automatic: return std::nullopt;
        case QualitySetting::full: return QualityLevel::full;
        case QualitySetting::balanced: return QualityLevel::balanced;
        case QualitySetting::low: return QualityLevel::low;
    }
    return std::nullopt;
}

QualitySetting nextQualitySetting(QualitySetting setting) {
    switch (setting) {
        case QualitySetting::automatic: return QualitySetting::full;
        case QualitySetting::full: return QualitySetting::balanced;
        case QualitySetting::balanced: return QualitySetting::low;
        case QualitySetting::low: return QualitySetting::automatic;
    }
    return QualitySetting::automatic;
}

QualityLevel AutoQuality::observe(double frameSeconds) {
    if (!(frameSeconds >= 0.0)) return level_;
    frames_.push_back(frameSeconds);
    framesSeconds_ += frameSeconds;
    clock_ += frameSeconds;
    if (framesSeconds_ < decisionSeconds) return level_;

    std::nth_element(frames_.begin(), frames_.begin() + frames_.size() / 2, frames_.end());
    const double median = frames_[frames_.size() / 2];
    forgetFrames();
    if (median > stepDownAbove && level_ != QualityLevel::low) {
        if (clock_ - steppedUpAt_ < swingSeconds) noStepUpBefore_ = clock_ + holdAfterSwing;
        level_ = static_cast<QualityLevel>(static_cast<int>(level_) + 1);
    } else if (median < stepUpBelow && level_ != QualityLevel::full && clock_ >= noStepUpBefore_) {
        steppedUpAt_ = clock_;
        level_ = static_cast<QualityLevel>(static_cast<int>(level_) - 1);
    }
    return level_;
}

void AutoQuality::forgetFrames() {
    frames_.clear();
    framesSeconds_ = 0.0;
}

void chooseQuality(QualitySetting setting) {
    qualitySetting = setting;
    if (const std::optional<QualityLevel> level = fixedLevel(setting)) {
        qualityLevel = *level;
        return;
    }
    autoQuality = AutoQuality();  // starts at full, measuring afresh
    qualityLevel = autoQuality.level();
}
