#include "bench/frame_probe.h"

#include <ctime>

double millisecondsBetween(BenchClock::time_point from, BenchClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double processCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

namespace {

// The particle pass does its CPU half (births, step, ordering, array fill)
// first, writing into its mapped stream buffers, and then unmaps them. The
// pass has no hook of its own in between, so the benchmark wraps GLEW's
// glUnmapBuffer entry point and notes the time of the pass's first unmap.
PFNGLUNMAPBUFFERPROC realUnmapBuffer = nullptr;
bool watchingStep = false;
BenchClock::time_point stepEnd;

GLboolean GLAPIENTRY unmapBufferNotingStep(GLenum target) {
    if (watchingStep) {
        stepEnd = BenchClock::now();
        watchingStep = false;
    }
    return realUnmapBuffer(target);
}

}  // namespace

FrameTimer::FrameTimer(bool isolate) : isolate_(isolate) {
    for (Slot& slot : slots_) glGenQueries(2 * framePassCount, slot.queries.data());
    if (isolate_ && GLEW_ARB_pipeline_statistics_query) {
        glGenQueries(1, &shadedQuery_);
        glGenQueries(1, &verticesQuery_);
    }
    realUnmapBuffer = glUnmapBuffer;
    glUnmapBuffer = unmapBufferNotingStep;
}

FrameTimer::~FrameTimer() {
    glUnmapBuffer = realUnmapBuffer;
    glDeleteQueries(1, &shadedQuery_);
    glDeleteQueries(1, &verticesQuery_);
    for (Slot& slot : slots_) glDeleteQueries(2 * framePassCount, slot.queries.data());
}

void FrameTimer::startFrame(int frame, bool keep) {
    frame_ = frame;
    current_ = &slots_[static_cast<size_t>(frame) % ring];
    // The slot's last frame was `ring` frames ago and has been swapped since,
    // so its results are normally there already and this does not wait.
    collect(*current_);
    current_->sample = keep ? static_cast<int>(samples_.size()) : -1;
    if (keep) samples_.emplace_back();

    sample_ = FrameSample{};
    sample_.passCpu.fill(-1.0);
    sample_.passWork.fill(-1.0);
    sample_.passGpu.fill(-1.0);
    sample_.passShaded.fill(-1.0);
    sample_.passVertices.fill(-1.0);
    firstPassSeen_ = false;
    frameStart_ = BenchClock::now();
}

void FrameTimer::endFrame() {
    sample_.frame = millisecondsBetween(frameStart_, BenchClock::now());
    // The GPU times of this frame arrive later, straight into the stored sample.
    if (current_->sample >= 0) samples_[static_cast<size_t>(current_->sample)] = sample_;
}

void FrameTimer::begin(FramePass pass) {
    if (!firstPassSeen_) {
        // Everything between the frame's start and its first pass is the
        // time step, processInput and updateScene (and one glClear call).
        sample_.inputAndUpdate = millisecondsBetween(frameStart_, BenchClock::now());
        firstPassSeen_ = true;
    }
    if (isolate_) {
        glFinish();
        passWorkStart_[pass] = processCpuMilliseconds();
    }
    stopCounting();
    open_.push_back(pass);
    if (sample_.passShaded[pass] < 0.0) sample_.passShaded[pass] = 0.0;
    if (sample_.passVertices[pass] < 0.0) sample_.passVertices[pass] = 0.0;
    startCounting();
    glQueryCounter(current_->queries[2 * pass], GL_TIMESTAMP);
    current_->issued[pass] = true;
    watchingStep = pass == passParticles;
    ++openPasses_;
    passStart_[pass] = BenchClock::now();
}

void FrameTimer::end(FramePass pass) {
    glQueryCounter(current_->queries[2 * pass + 1], GL_TIMESTAMP);
    stopCounting();
    open_.pop_back();
    startCounting();
    if (isolate_) {
        glFinish();
        sample_.passWork[pass] = processCpuMilliseconds() - passWorkStart_[pass];
    }
    const BenchClock::time_point now = BenchClock::now();
    sample_.passCpu[pass] = millisecondsBetween(passStart_[pass], now);
    if (pass == passParticles && !watchingStep) {
        sample_.particleCpu = millisecondsBetween(passStart_[pass], stepEnd);
    }
    watchingStep = false;
    // The HUD goes last, on top of the finished picture.
    if (--openPasses_ > 0) return;
    if (pass == passHud && frameDrawn) frameDrawn(frame_);
}

void FrameTimer::stopCounting() {
    if (!counting_) return;
    glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
    glEndQuery(GL_VERTEX_SHADER_INVOCATIONS_ARB);
    GLuint64 runs = 0, vertices = 0;
    glGetQueryObjectui64v(shadedQuery_, GL_QUERY_RESULT, &runs);
    glGetQueryObjectui64v(verticesQuery_, GL_QUERY_RESULT, &vertices);
    sample_.passShaded[open_.back()] += static_cast<double>(runs);
    sample_.passVertices[open_.back()] += static_cast<double>(vertices);
    counting_ = false;
}

void FrameTimer::startCounting() {
    if (shadedQuery_ == 0 || open_.empty()) return;
    glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, shadedQuery_);
    glBeginQuery(GL_VERTEX_SHADER_INVOCATIONS_ARB, verticesQuery_);
    counting_ = true;
}

void FrameTimer::collect(Slot& slot) {
    for (int pass = 0; pass < framePassCount; ++pass) {
        if (!slot.issued[pass]) continue;
        GLuint64 begin = 0, end = 0;
        glGetQueryObjectui64v(slot.queries[2 * pass], GL_QUERY_RESULT, &begin);
        glGetQueryObjectui64v(slot.queries[2 * pass + 1], GL_QUERY_RESULT, &end);
        if (slot.sample >= 0) samples_[static_cast<size_t>(slot.sample)].passGpu[pass] = (end - begin) * 1e-6;
        slot.issued[pass] = false;
    }
    slot.sample = -1;
}

void FrameTimer::finish() {
    for (Slot& slot : slots_) collect(slot);
}
