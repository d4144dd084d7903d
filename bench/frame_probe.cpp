#include "bench/frame_probe.h"

#include <ctime>

double processCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

FrameTimer::FrameTimer(bool isolate) : isolate_(isolate) {
    if (isolate_ && GLEW_ARB_pipeline_statistics_query) {
        glGenQueries(1, &shadedQuery_);
        glGenQueries(1, &verticesQuery_);
    }
    completed = [this](const FrameRecord& record) {
        const auto found = waiting_.find(record.frame);
        if (found == waiting_.end()) return;
        for (int pass = 0; pass < framePassCount; ++pass)
            samples_[found->second].passGpu[pass] = record.passes[pass].gpu;
        waiting_.erase(found);
    };
}

FrameTimer::~FrameTimer() {
    glDeleteQueries(1, &shadedQuery_);
    glDeleteQueries(1, &verticesQuery_);
}

void FrameTimer::frameStart() {
    keep_ = keepNext;
    sample_ = FrameSample{};
    sample_.passCpu.fill(-1.0);
    sample_.passWall.fill(-1.0);
    sample_.passWork.fill(-1.0);
    sample_.passGpu.fill(-1.0);
    sample_.passShaded.fill(-1.0);
    sample_.passVertices.fill(-1.0);
    FrameTiming::frameStart();
}

void FrameTimer::frameEnd() {
    FrameTiming::frameEnd();
    const FrameRecord& record = drawing();
    sample_.frame = record.wall;
    // Everything between the frame's start and its first pass: the time
    // step, processInput and updateScene.
    sample_.inputAndUpdate = record.toFirstPass;
    sample_.particleCpu = record.particleStep;
    for (int pass = 0; pass < framePassCount; ++pass) sample_.passCpu[pass] = record.passes[pass].cpu;
    if (!keep_) return;
    // The GPU times of this frame arrive later, straight into the stored sample.
    waiting_[record.frame] = samples_.size();
    samples_.push_back(sample_);
}

void FrameTimer::begin(FramePass pass) {
    if (isolate_) {
        glFinish();
        passWorkStart_[pass] = processCpuMilliseconds();
        passWallStart_[pass] = BenchClock::now();
    }
    stopCounting();
    open_.push_back(pass);
    if (sample_.passShaded[pass] < 0.0) sample_.passShaded[pass] = 0.0;
    if (sample_.passVertices[pass] < 0.0) sample_.passVertices[pass] = 0.0;
    startCounting();
    ++openPasses_;
    FrameTiming::begin(pass);
}

void FrameTimer::end(FramePass pass) {
    FrameTiming::end(pass);
    stopCounting();
    open_.pop_back();
    startCounting();
    if (isolate_) {
        glFinish();
        sample_.passWall[pass] = millisecondsBetween(passWallStart_[pass], BenchClock::now());
        sample_.passWork[pass] = processCpuMilliseconds() - passWorkStart_[pass];
    }
    // The HUD goes last, on top of the finished picture.
    if (--openPasses_ > 0) return;
    if (pass == passHud && frameDrawn) frameDrawn(frameNumber());
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
