#include "app/frame_timing.h"

#include "gpu/draw_count.h"

namespace {

constexpr double recentSeconds = 5.0;  // of frames the graph shows

// The particle pass does its CPU half (births, step, ordering, array fill)
// first, writing into its mapped stream buffers, and then unmaps them. The
// pass has no hook of its own in between, so the timing wraps GLEW's
// glUnmapBuffer entry point while it lives and notes the time of the pass's
// first unmap.
PFNGLUNMAPBUFFERPROC realUnmapBuffer = nullptr;
bool watchingStep = false;
TimingClock::time_point stepEnd;

GLboolean unmapBufferNotingStep(GLenum target) {
    if (watchingStep) {
        stepEnd = TimingClock::now();
        watchingStep = false;
    }
    return realUnmapBuffer(target);
}

}  // namespace

double millisecondsBetween(TimingClock::time_point from, TimingClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double FrameRecord::submission() const {
    double total = 0.0;
    for (const PassRecord& pass : passes)
        if (pass.ran()) total += pass.cpu;
    return particleStep > 0.0 ? total - particleStep : total;
}

FrameTiming::FrameTiming() : ring_(ringDepth, 2 * framePassCount) {
    ring_.arrived = [this](int frame, const std::vector<GLuint64>& stamps) { arrive(frame, stamps); };
    realUnmapBuffer = glUnmapBuffer;
    glUnmapBuffer = unmapBufferNotingStep;
}

FrameTiming::~FrameTiming() { glUnmapBuffer = realUnmapBuffer; }

void FrameTiming::frameStart() {
    drawing_ = FrameRecord{};
    drawing_.frame = nextFrame_++;
    firstPassSeen_ = false;
    ring_.startFrame(drawing_.frame);
    frameStart_ = stageStart_ = TimingClock::now();
}

void FrameTiming::stageDone(FrameStage stage) {
    const TimingClock::time_point now = TimingClock::now();
    (stage == stageRules ? drawing_.rules : drawing_.update) = millisecondsBetween(stageStart_, now);
    stageStart_ = now;
}

void FrameTiming::begin(FramePass pass) {
    if (!firstPassSeen_) {
        drawing_.toFirstPass = millisecondsBetween(frameStart_, TimingClock::now());
        firstPassSeen_ = true;
    }
    ring_.stamp(2 * pass);
    passDraws_[pass] = drawCount;
    watchingStep = pass == passParticles;
    passStart_[pass] = TimingClock::now();
}

void FrameTiming::end(FramePass pass) {
    ring_.stamp(2 * pass + 1);
    const TimingClock::time_point now = TimingClock::now();
    PassRecord& record = drawing_.passes[pass];
    record.cpu = millisecondsBetween(passStart_[pass], now);
    record.drawCalls = drawCount.calls - passDraws_[pass].calls;
    record.triangles = drawCount.triangles - passDraws_[pass].triangles;
    if (pass == passParticles && !watchingStep) drawing_.particleStep = millisecondsBetween(passStart_[pass], stepEnd);
    watchingStep = false;
}

void FrameTiming::frameEnd() {
    drawing_.wall = millisecondsBetween(frameStart_, TimingClock::now());
    recent_.push_back(drawing_.wall);
    recentSum_ += drawing_.wall;
    while (recent_.size() > 1 && recentSum_ - recent_.front() >= recentSeconds * 1e3) {
        recentSum_ -= recent_.front();
        recent_.pop_front();
    }
    waiting_[static_cast<size_t>(drawing_.frame) % waiting_.size()] = drawing_;
}

void FrameTiming::arrive(int frame, const std::vector<GLuint64>& stamps) {
    FrameRecord record = waiting_[static_cast<size_t>(frame) % waiting_.size()];
    if (record.frame != frame) return;  // a frame that never ended
    for (int pass = 0; pass < framePassCount; ++pass) {
        const GLuint64 from = stamps[static_cast<size_t>(2 * pass)], to = stamps[static_cast<size_t>(2 * pass + 1)];
        if (from != 0 && to >= from) record.passes[static_cast<size_t>(pass)].gpu = static_cast<double>(to - from) * 1e-6;
    }
    latest_ = record;
    if (completed) completed(record);
}

void FrameTiming::finish() { ring_.finish(); }
