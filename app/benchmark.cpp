#include "app/benchmark.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <streambuf>

#include "app/command_line.h"
#include "app/frame.h"
#include "app/window.h"
#include "base/console.h"
#include "base/globals.h"
#include "base/scripted_platform.h"
#include "play/autopilot.h"
#include "render/particles.h"

namespace {

constexpr double gameStep = 1.0 / 60.0;  // seconds of game time a frame

// Milliseconds rounded to microseconds, so the report reads well.
double rounded(double milliseconds) { return std::round(milliseconds * 1e3) / 1e3; }

struct Discard final : std::streambuf {
    int overflow(int c) override { return traits_type::not_eof(c); }
};

}  // namespace

void silenceGameLines() {
    // Never freed: std::cout is flushed at exit after every static is gone.
    static Discard* const discard = new Discard;
    std::cout.rdbuf(discard);
}

int benchmarkFrameCount(const char* environment) {
    if (!environment || !*environment) return benchmarkFrames;
    char* end = nullptr;
    const long count = std::strtol(environment, &end, 10);
    return *end == '\0' && count >= 1 && count <= 100000 ? static_cast<int>(count) : benchmarkFrames;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return -1.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size())));
    return values[std::max<size_t>(rank, 1) - 1];
}

std::string benchmarkJson(const BenchmarkRun& run) {
    nlohmann::ordered_json report;
    report["kivo"] = versionText().substr(0, versionText().size() - 1);
    report["renderer"] = run.renderer;
    report["version"] = run.version;
    report["window"] = {{"width", run.width}, {"height", run.height}};
    report["quality"] = run.quality;
    std::map<std::string, int> levels;
    for (const std::string& level : run.levels) ++levels[level];
    report["frames_at_level"] = levels;
    report["frames"] = run.frames.size();
    report["frame_ms"] = {{"median", rounded(percentile(run.frames, 0.5))},
                          {"p95", rounded(percentile(run.frames, 0.95))}};
    nlohmann::ordered_json passes = nlohmann::ordered_json::object();
    for (int pass = 0; pass < framePassCount; ++pass) {
        auto of = [pass](auto field) { return [pass, field](const FrameRecord& r) { return field(r.passes[pass]); }; };
        const double cpu = medianOf(run.records, of([](const PassRecord& p) { return p.cpu; }));
        if (cpu < 0.0) continue;  // never ran
        const double gpu = medianOf(run.records, of([](const PassRecord& p) { return p.gpu; }));
        passes[framePassNames[pass]] = {
            {"gpu_ms", gpu < 0.0 ? nlohmann::ordered_json() : nlohmann::ordered_json(rounded(gpu))},
            {"cpu_ms", rounded(cpu)},
            {"draw_calls", medianOf(run.records, of([](const PassRecord& p) { return p.ran() ? double(p.drawCalls) : -1.0; }))},
            {"triangles", medianOf(run.records, of([](const PassRecord& p) { return p.ran() ? double(p.triangles) : -1.0; }))}};
    }
    report["passes"] = passes;
    report["cpu_ms"] = {
        {"rules", rounded(medianOf(run.records, [](const FrameRecord& r) { return r.rules; }))},
        {"update", rounded(medianOf(run.records, [](const FrameRecord& r) { return r.update; }))},
        {"particle_step", rounded(medianOf(run.records, [](const FrameRecord& r) { return r.particleStep; }))},
        {"submission", rounded(medianOf(run.records, [](const FrameRecord& r) { return r.submission(); }))}};
    std::vector<double> live(run.liveParticles.begin(), run.liveParticles.end());
    report["live_particles"] = {{"median", percentile(live, 0.5)}, {"max", percentile(live, 1.0)}};
    report["course"] = {{"restarts", run.restarts}, {"finished", run.finished}, {"furthest_z", std::round(run.furthestZ)}};
    return report.dump(2) + "\n";
}

std::string benchmarkSummary(const BenchmarkRun& run) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "KIVO benchmark: %s, window %dx%d, quality %s\n"
                  "  %zu frames: median %.2f ms, 95th percentile %.2f ms (%.1f frames a second)\n",
                  run.renderer.c_str(), run.width, run.height, run.quality.c_str(), run.frames.size(),
                  percentile(run.frames, 0.5), percentile(run.frames, 0.95), 1e3 / percentile(run.frames, 0.5));
    std::string summary = text;
    if (run.restarts > 0) summary += "  the autopilot lost " + std::to_string(run.restarts) + " runs on the way\n";
    return summary;
}

int runBenchmark(const std::string& file) {
    BenchmarkRun run;
    run.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    run.version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    run.width = screenWidth;
    run.height = screenHeight;
    run.quality = qualityName(qualitySetting);
    const int frames = benchmarkFrameCount(std::getenv("KIVO_BENCHMARK_FRAMES"));
    {
        ScriptedPlatform platform;
        platform.cursorAtX = screenWidth / 2;
        platform.cursorAtY = screenHeight / 2;
        platform.hold(GLFW_KEY_W);
        Autopilot autopilot;
        FrameTiming timing;
        // Frame 1 is the uncounted first frame, and the timing counts from it too.
        timing.completed = [&](const FrameRecord& record) {
            if (record.frame > 1) run.records.push_back(record);
        };
        frameProbe = &timing;
        double lastFrameTime = platform.clock;
        double runStart = gameStartTime;
        for (int frame = 0; frame <= frames && !glfwWindowShouldClose(window); ++frame) {
            if (frame == frames / 4) platform.hold(GLFW_KEY_SPACE);
            autopilot.steer(platform, gameStep);
            platform.clock += gameStep;
            const TimingClock::time_point start = TimingClock::now();
            runFrame(lastFrameTime);
            glfwPollEvents();  // the scripted platform handles none: the window's stay its own
            if (frame > 0) {
                run.frames.push_back(millisecondsBetween(start, TimingClock::now()));
                run.liveParticles.push_back(liveParticleCount());
                run.levels.push_back(qualityName(qualityLevel));
            }
            // The first frame always restarts: the cat's copied position is not yet on the street.
            if (gameStartTime != runStart && frame > 0) {
                ++run.restarts;
                autopilot.restart();
            }
            runStart = gameStartTime;
            run.finished = run.finished || gameOver;
            run.furthestZ = std::min(run.furthestZ, catPosition.z);
        }
        frameProbe = nullptr;
        timing.finish();
    }
    const std::string json = benchmarkJson(run), summary = benchmarkSummary(run);
    if (file.empty()) {
        std::fputs(json.c_str(), stdout);
        std::fputs(summary.c_str(), stderr);
        return 0;
    }
    std::ofstream out(file, std::ios::trunc);
    out << json;
    out.close();
    if (!out) {
        report("benchmark: cannot write " + file);
        std::fputs(summary.c_str(), stderr);
        return 1;
    }
    std::printf("%s  report written to %s\n", summary.c_str(), file.c_str());
    return 0;
}
