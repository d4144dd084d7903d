// The frame benchmark's hook into the frame: times every pass on the GPU
// (a GL_TIMESTAMP query at each end) and on the CPU (steady clock), marks where the
// game's own CPU work of a frame ends, and tells when a frame's image is
// complete in the back buffer.
#pragma once

#include <GL/glew.h>

#include <array>
#include <chrono>
#include <functional>
#include <vector>

#include "app/frame.h"

using BenchClock = std::chrono::steady_clock;

// Milliseconds from `from` to `to`.
double millisecondsBetween(BenchClock::time_point from, BenchClock::time_point to);

// CPU time consumed so far by all threads of this process, milliseconds.
double processCpuMilliseconds();

// What one frame cost, milliseconds. A pass that did not run has a negative time.
struct FrameSample {
    double frame = 0.0;           // wall clock of the whole frame, swap and event poll included
    double inputAndUpdate = 0.0;  // processInput + updateScene (up to the first pass)
    double particleCpu = -1.0;    // births, mapping, step, ordering and array fill
    std::array<double, framePassCount> passCpu{};  // steady clock from the pass's begin to its end
    std::array<double, framePassCount> passWork{}; // with --isolate: CPU time of all the process's
                                                   // threads (llvmpipe's rasterisers included)
    std::array<double, framePassCount> passGpu{};  // between its GL timestamps, filled in a few frames later
    std::array<double, framePassCount> passVertices{};  // with --isolate: vertex-shader runs of the pass
    std::array<double, framePassCount> passShaded{};  // with --isolate: fragment-shader runs of the pass
                                                      // itself, not of the passes it holds
};

class FrameTimer final : public FrameProbe {
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

    // Brackets one frame: startFrame just before runFrame, endFrame right
    // after. Only `keep` frames are stored in samples().
    void startFrame(int frame, bool keep);
    void endFrame();
    // Reads every query still outstanding; call once after the last frame.
    void finish();

    const std::vector<FrameSample>& samples() const { return samples_; }

    void begin(FramePass pass) override;
    void end(FramePass pass) override;

private:
    static constexpr int ring = 4;  // frames whose GPU results may still be in flight

    struct Slot {
        std::array<GLuint, 2 * framePassCount> queries{};  // begin and end timestamp of each pass
        std::array<bool, framePassCount> issued{};
        int sample = -1;  // index into samples_, or -1 for a frame not kept
    };

    void collect(Slot& slot);
    // Fragment- and vertex-shader runs are counted for the innermost open pass only, so
    // the count stops whenever a pass begins or ends and restarts for the
    // pass then innermost. Reading the count waits for the GPU: --isolate only.
    void stopCounting();
    void startCounting();

    bool isolate_;
    std::array<Slot, ring> slots_;
    Slot* current_ = nullptr;
    int frame_ = 0;
    FrameSample sample_;
    BenchClock::time_point frameStart_;
    std::array<BenchClock::time_point, framePassCount> passStart_{};
    std::array<double, framePassCount> passWorkStart_{};
    int openPasses_ = 0;
    std::vector<FramePass> open_;  // the open passes, innermost last
    GLuint shadedQuery_ = 0;       // GL_FRAGMENT_SHADER_INVOCATIONS_ARB; 0 when not counting
    GLuint verticesQuery_ = 0;     // GL_VERTEX_SHADER_INVOCATIONS_ARB, alongside it
    bool counting_ = false;
    bool firstPassSeen_ = false;
    std::vector<FrameSample> samples_;
};
