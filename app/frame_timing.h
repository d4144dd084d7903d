// What a frame cost, pass by pass: the CPU time of each pass and of the
// game's own stages on the steady clock, each pass's GPU time from a pair of
// GL timestamps read a few frames later (gpu/timer_queries.h), and the draw
// calls and triangles each pass sent. Installed as the frame's probe by the
// lab overlay, kivo --benchmark and the frame benchmark alike.
#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <functional>

#include "app/frame.h"
#include "gpu/draw_count.h"
#include "gpu/timer_queries.h"

using TimingClock = std::chrono::steady_clock;

// Milliseconds from `from` to `to`.
double millisecondsBetween(TimingClock::time_point from, TimingClock::time_point to);

// One pass of one frame. Times in milliseconds; negative: did not run, or
// (GPU) its timestamps were dropped.
struct PassRecord {
    double cpu = -1.0;  // steady clock from the pass's begin to its end
    double gpu = -1.0;  // between its two GL timestamps
    long drawCalls = 0;
    long triangles = 0;
    bool ran() const { return cpu >= 0.0; }
};

struct FrameRecord {
    int frame = 0;               // counted from 1, the first frame the probe saw
    double wall = 0.0;           // the whole frame, swap and window events included
    double rules = -1.0;         // processInput
    double update = -1.0;        // updateScene
    double toFirstPass = 0.0;    // from the frame's start to its first pass
    double particleStep = -1.0;  // births, step, ordering and array fill, within the particle pass
    std::array<PassRecord, framePassCount> passes{};
    // The CPU time of the passes' GL calls: every pass's CPU time but the
    // particle step's.
    double submission() const;
};

class FrameTiming : public FrameProbe {
public:
    static constexpr int ringDepth = 4;  // frames whose GPU times may still be in flight

    FrameTiming();  // needs a current context
    ~FrameTiming() override;
    FrameTiming(const FrameTiming&) = delete;
    FrameTiming& operator=(const FrameTiming&) = delete;

    // A frame's record, complete with its GPU times, a few frames after it
    // was drawn (frames are handed on in order; a dropped one is not).
    std::function<void(const FrameRecord&)> completed;

    // The newest complete record; frame 0 before the first.
    const FrameRecord& latest() const { return latest_; }
    // Wall times of the last few seconds of frames, oldest first, ms.
    const std::deque<double>& recentFrames() const { return recent_; }
    // Frames whose GPU times never came in time.
    int dropped() const { return ring_.dropped(); }

    // Waits for the frames still in flight and hands them on; after the last frame.
    void finish();

    void frameStart() override;
    void stageDone(FrameStage stage) override;
    void begin(FramePass pass) override;
    void end(FramePass pass) override;
    void frameEnd() override;

protected:
    // The record of the frame being drawn.
    FrameRecord& drawing() { return drawing_; }
    int frameNumber() const { return drawing_.frame; }

private:
    void arrive(int frame, const std::vector<GLuint64>& stamps);

    TimestampRing ring_;
    std::array<FrameRecord, ringDepth + 1> waiting_{};  // drawn frames without their GPU times, by frame
    FrameRecord drawing_;
    FrameRecord latest_;
    std::deque<double> recent_;
    double recentSum_ = 0.0;
    TimingClock::time_point frameStart_, stageStart_;
    std::array<TimingClock::time_point, framePassCount> passStart_{};
    std::array<DrawCount, framePassCount> passDraws_{};
    bool firstPassSeen_ = false;
    int nextFrame_ = 1;
};
