// The frame benchmark's hook into the frame: the game's own frame timing
// (app/frame_timing.h), kept for the measured frames, and what only the
// benchmark does: with --isolate, every pass finished on its own and its
// shader runs counted; and a call when a frame's image is complete in the
// back buffer.
#pragma once

#include <GL/glew.h>

#include <array>
#include <functional>
#include <map>
#include <vector>

#include "app/frame_timing.h"

using BenchClock = TimingClock;

// CPU time consumed so far by all threads of this process, milliseconds.
double processCpuMilliseconds();

// What one frame cost, milliseconds. A pass that did not run has a negative time.
struct FrameSample {
    double frame = 0.0;           // wall clock of the whole frame, swap and event poll included
    double inputAndUpdate = 0.0;  // processInput + updateScene (up to the first pass)
    double particleCpu = -1.0;    // births, mapping, step, ordering and array fill
    std::array<double, framePassCount> passCpu{};  // steady clock from the pass's begin to its end
    std::array<double, framePassCount> passWall{}; // with --isolate: steady clock from the finished GL
                                                   // work before the pass to its own finished work
    std::array<double, framePassCount> passWork{}; // with --isolate: CPU time of all the process's
                                                   // threads (llvmpipe's rasterisers included)
    std::array<double, framePassCount> passGpu{};  // between its GL timestamps, filled in a few frames later
    std::array<double, framePassCount> passVertices{};  // with --isolate: vertex-shader runs of the pass
    std::array<double, framePassCount> passShaded{};  // with --isolate: fragment-shader runs of the pass
                                                      // itself, not of the passes it holds
};

class FrameTimer final : public FrameTiming {
public:
    // `isolate` finishes all GL work before and after every pass, so the CPU
    // time of a pass is everything it costs, at the price of stalling the frame.
    explicit FrameTimer(bool isolate);
    ~FrameTimer() override;
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    // Called with the finished frame's index when the last pass of a frame
    // has drawn and the image is complete in the back buffer, before the swap.
    std::function<void(int frame)> frameDrawn;

    // Whether the coming frame goes into samples().
    bool keepNext = false;

    const std::vector<FrameSample>& samples() const { return samples_; }

    void frameStart() override;
    void begin(FramePass pass) override;
    void end(FramePass pass) override;
    void frameEnd() override;

private:
    // Fragment- and vertex-shader runs are counted for the innermost open pass only, so
    // the count stops whenever a pass begins or ends and restarts for the
    // pass then innermost. Reading the count waits for the GPU: --isolate only.
    void stopCounting();
    void startCounting();

    bool isolate_;
    bool keep_ = false;
    FrameSample sample_;
    std::array<double, framePassCount> passWorkStart_{};
    std::array<BenchClock::time_point, framePassCount> passWallStart_{};
    int openPasses_ = 0;
    std::vector<FramePass> open_;  // the open passes, innermost last
    GLuint shadedQuery_ = 0;       // GL_FRAGMENT_SHADER_INVOCATIONS_ARB; 0 when not counting
    GLuint verticesQuery_ = 0;     // GL_VERTEX_SHADER_INVOCATIONS_ARB, alongside it
    bool counting_ = false;
    std::map<int, size_t> waiting_;  // kept frames whose GPU times are still to come: their samples
    std::vector<FrameSample> samples_;
};
