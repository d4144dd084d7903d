// kivo_frame_bench: the real game frame on the real scene, timed.
//
// Builds the scene with initScene() in a visible "KIVO" window with the game's
// hints (one sample a pixel), then runs runFrame() with the cat flying the
// course on scripted mouse input and a fixed game step of 1/60 s, so every run
// sees the same frames and the particle trail reaches its steady state of
// 48,000 after 300 frames. Frame times are taken on the wall clock. In the
// same run it times two floors, frames that only clear and swap: of the game's
// own window, and of a 1600x1400 window with 4x multisampling, the window the
// game had before its scene got a multisampled target of its own, which stays
// the yardstick of every figure measured since.
//
//   kivo_frame_bench [--frames N] [--warmup N] [--size WxH] [--blur] [--isolate]
//                    [--quality LEVEL] [--floor-frames N] [--shots FRAME:PATH,...]
//                    [--overlay]
//
// --blur holds Space as well as W: the cat sprints and the frame takes the
// motion-blur path. --isolate finishes the GL work around every pass, so each
// pass's CPU column holds all it costs (frame times are then not meaningful),
// and counts the vertex- and fragment-shader runs of every pass
// (GL_ARB_pipeline_statistics_query).
// --quality picks the level as the game's --quality does (default: full);
// with auto, the level follows the wall time of the frames, and the report
// also gives the median of the frames after the last change of level and the
// frames around each change, warm-up included.
// --overlay shows the lab overlay (F1) in every second frame and reports the
// median frame with it and without it, the overlay's cost.
// --shots saves the finished image of frame FRAME (counted from 1, warm-up
// included) as a PNG; those frames are left out of the figures.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/benchmark.h"
#include "app/frame.h"
#include "app/hotkeys.h"
#include "app/lab_overlay.h"
#include "play/settings_screen.h"
#include "app/scene_setup.h"
#include "app/window.h"
#include "base/globals.h"
#include "bench/frame_probe.h"
#include "render/particles.h"
#include "scene/cat.h"
#include "scene/world.h"
#include "play/autopilot.h"
#include "tests/support/gl_window.h"
#include "tests/support/quiet_console.h"
#include "base/scripted_platform.h"
#include "tests/support/temp_home.h"

namespace {

constexpr double gameStep = 1.0 / 60.0;  // seconds of game time per frame
constexpr int floorWarmupFrames = 5;
constexpr int msaaFloorWidth = 1600;     // the yardstick window: the game's default size...
constexpr int msaaFloorHeight = 1400;
constexpr int msaaFloorSamples = 4;      // ...multisampled as the game's window once was
constexpr int framesAroundStep = 4;      // frames shown on either side of a change of level

struct Shot {
    int frame;
    std::string path;
};

struct Options {
    int frames = 300;       // measured frames
    int warmup = 300;       // frames run first and not measured
    int width = 1600;       // pixels
    int height = 1400;
    bool blur = false;
    bool isolate = false;
    bool overlay = false;
    QualitySetting quality = QualitySetting::full;
    int floorFrames = 100;  // clear-and-swap frames, half before and half after the game frames
    std::vector<Shot> shots;
};

const char* const usage =
    "usage: kivo_frame_bench [--frames N] [--warmup N] [--size WxH] [--blur] [--isolate]\n"
    "                        [--quality LEVEL] [--floor-frames N] [--shots FRAME:PATH,...]\n"
    "                        [--overlay]\n";

bool parseCount(const char* text, int minimum, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < minimum || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseShots(const std::string& text, std::vector<Shot>& shots) {
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        const size_t colon = item.find(':');
        if (colon == std::string::npos || colon + 1 == item.size()) return false;
        Shot shot{0, item.substr(colon + 1)};
        if (!parseCount(item.substr(0, colon).c_str(), 1, shot.frame)) return false;
        shots.push_back(shot);
    }
    return !shots.empty();
}

// Reads the command line; false (after a message on stderr) when it is not understood.
bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        if (arg == "--blur") {
            options.blur = true;
        } else if (arg == "--isolate") {
            options.isolate = true;
        } else if (arg == "--overlay") {
            options.overlay = true;
        } else if (!value) {
            ok = false;
        } else if (arg == "--frames") {
            ok = parseCount(value, 1, options.frames);
        } else if (arg == "--warmup") {
            ok = parseCount(value, 0, options.warmup);
        } else if (arg == "--floor-frames") {
            ok = parseCount(value, 1, options.floorFrames);
        } else if (arg == "--size") {
            ok = std::sscanf(value, "%dx%d", &options.width, &options.height) == 2 && options.width >= 16 &&
                 options.height >= 16;
        } else if (arg == "--shots") {
            ok = parseShots(value, options.shots);
        } else if (arg == "--quality") {
            const std::optional<QualitySetting> quality = parseQualitySetting(value);
            ok = quality.has_value();
            if (ok) options.quality = *quality;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "kivo_frame_bench: cannot use '%s%s%s'\n%s", arg.c_str(), value ? " " : "",
                         value ? value : "", usage);
            return false;
        }
        if (arg != "--blur" && arg != "--isolate" && arg != "--overlay") ++i;
    }
    for (const Shot& shot : options.shots) {
        if (shot.frame > options.warmup + options.frames) {
            std::fprintf(stderr, "kivo_frame_bench: shot at frame %d, but the run has %d frames\n", shot.frame,
                         options.warmup + options.frames);
            return false;
        }
    }
    return true;
}

double median(const std::vector<double>& values) { return percentile(values, 0.5); }


// Writes the back buffer (the frame just drawn) to a 24-bit PNG.
bool saveBackBuffer(const std::string& path, int width, int height) {
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    if (!image) return false;
    // FreeImage keeps 24-bit pixels as blue, green, red, rows bottom first and
    // padded to 4 bytes: GL's layout for GL_BGR with a pack alignment of 4.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, FreeImage_GetBits(image));
    const bool saved = FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(image);
    return saved;
}

// One frame of the current context's window that only clears and
// presents, as cheap as a frame of that window can be.
double floorFrame(GLFWwindow* shown) {
    const BenchClock::time_point start = BenchClock::now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glfwSwapBuffers(shown);
    glfwPollEvents();
    return millisecondsBetween(start, BenchClock::now());
}

void runFloor(int count, std::vector<double>& times) {
    for (int i = 0; i < count; ++i) times.push_back(floorFrame(window));
}

// The floor of the yardstick window: a 1600x1400 window with 4x
// multisampling, opened for these frames and closed again, so that it
// neither covers the game's window nor keeps memory while the game runs.
// The game's context is current again afterwards. False when it cannot open.
bool runMsaaFloor(int count, std::vector<double>& times) {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_SAMPLES, msaaFloorSamples);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_COMPAT_PROFILE);
    GLFWwindow* yardstick = glfwCreateWindow(msaaFloorWidth, msaaFloorHeight, "KIVO msaa floor", nullptr, nullptr);
    if (!yardstick) return false;
    glfwMakeContextCurrent(yardstick);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < floorWarmupFrames; ++i) floorFrame(yardstick);
    for (int i = 0; i < count; ++i) times.push_back(floorFrame(yardstick));
    glfwMakeContextCurrent(window);
    glfwDestroyWindow(yardstick);
    return true;
}

// Where the cat's run went while the benchmark drove it.
struct CourseLog {
    int restarts = 0;       // runs restarted after the first frame: the autopilot hit something
    int finishedAt = 0;     // frame in which the finish line was crossed; 0 = not reached
    double furthestZ = 0.0;
};

// Both floors of a run and the ratios of a frame time to them.
struct Floors {
    double own;   // median clear + swap of the game's window, ms
    double msaa;  // the same of the 4x multisampled 1600x1400 window, ms
    std::string ratios(double frame) const {
        char text[96];
        std::snprintf(text, sizeof text, "%.2f x floor, %.2f x msaa floor", frame / own, frame / msaa);
        return text;
    }
};

// Every frame of the run, warm-up included: its wall time and the level it was drawn at.
struct FrameLog {
    std::vector<double> times;  // ms
    std::vector<QualityLevel> levels;
};

// The frames around each change of level: the frame that changed (its
// targets resized) against the frames at the new level after it.
void reportSteps(const FrameLog& log) {
    for (size_t i = 1; i < log.levels.size(); ++i) {
        if (log.levels[i] == log.levels[i - 1]) continue;
        std::printf("  level change    frame %zu, %s -> %s:", i + 1, qualityName(log.levels[i - 1]),
                    qualityName(log.levels[i]));
        const size_t from = i > framesAroundStep ? i - framesAroundStep : 0;
        const size_t to = std::min(log.times.size(), i + 1 + framesAroundStep);
        for (size_t k = from; k < to; ++k) std::printf(k == i ? " [%.1f]" : " %.1f", log.times[k]);
        std::vector<double> after;
        for (size_t k = i + 1; k < log.times.size() && k <= i + 20 && log.levels[k] == log.levels[i]; ++k)
            after.push_back(log.times[k]);
        if (after.empty()) {
            std::printf(" ms\n");
            continue;
        }
        const double settled = median(after);
        std::printf(" ms; the change's frame [..] is %.2f x the median of the %zu frames after it (%.1f ms)\n",
                    log.times[i] / settled, after.size(), settled);
    }
}

// The quality the kept frames were drawn at: how many at each level and, once
// the level stopped changing, the median frame from there on.
void reportQuality(const Options& options, const std::vector<FrameSample>& samples,
                   const std::vector<QualityLevel>& levels, const Floors& floors) {
    int atLevel[3] = {0, 0, 0};
    size_t settled = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        ++atLevel[static_cast<int>(levels[i])];
        if (i > 0 && levels[i] != levels[i - 1]) settled = i;
    }
    std::printf("  quality         %s: %d frames at full, %d balanced, %d low\n", qualityName(options.quality),
                atLevel[0], atLevel[1], atLevel[2]);
    if (options.quality != QualitySetting::automatic || levels.empty()) return;
    std::vector<double> after;
    for (size_t i = settled; i < samples.size(); ++i) after.push_back(samples[i].frame);
    const double settledMedian = median(after);
    std::printf("  settled         at %s for the last %zu frames: median %.2f ms, %s\n", qualityName(levels.back()),
                after.size(), settledMedian, floors.ratios(settledMedian).c_str());
}

void report(const Options& options, const std::vector<FrameSample>& samples, const std::vector<double>& floorTimes,
            const std::vector<double>& msaaFloorTimes, const std::vector<int>& liveCounts,
            const std::vector<QualityLevel>& levels, const FrameLog& log, const CourseLog& course) {
    GLint samplesPerPixel = 0;
    glGetIntegerv(GL_SAMPLES, &samplesPerPixel);
    std::vector<double> frameTimes;
    std::vector<double> gameCpu;
    for (const FrameSample& s : samples) {
        frameTimes.push_back(s.frame);
        if (s.particleCpu >= 0.0) gameCpu.push_back(s.inputAndUpdate + s.particleCpu);
    }
    const double frameMedian = median(frameTimes);
    const Floors floors{median(floorTimes), median(msaaFloorTimes)};

    std::printf("KIVO frame benchmark\n");
    std::printf("  renderer        %s, %d samples per pixel, window %dx%d\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), samplesPerPixel, options.width, options.height);
    std::printf("  run             %d warm-up + %d measured frames (%zu kept), %s path, game step 1/60 s\n",
                options.warmup, options.frames, samples.size(), options.blur ? "motion-blur (sprint)" : "normal");
    if (options.isolate) std::printf("  NOTE            --isolate stalls every pass: frame times are not representative\n");
    std::printf("  frame time      median %.2f ms, p95 %.2f ms (wall clock, swap included)\n", frameMedian,
                percentile(frameTimes, 0.95));
    std::printf("  floor           median %.2f ms, p95 %.2f ms (clear + swap of this window, %zu frames)\n",
                floors.own, percentile(floorTimes, 0.95), floorTimes.size());
    std::printf("  msaa floor      median %.2f ms, p95 %.2f ms\n", floors.msaa, percentile(msaaFloorTimes, 0.95));
    std::printf("  ratio           %s\n", floors.ratios(frameMedian).c_str());
    reportQuality(options, samples, levels, floors);
    reportSteps(log);
    std::printf("  game CPU        median %.3f ms, p95 %.3f ms: input + update %.3f ms, particles %.3f ms\n",
                median(gameCpu), percentile(gameCpu, 0.95),
                medianOf(samples, [](const FrameSample& s) { return s.inputAndUpdate; }),
                medianOf(samples, [](const FrameSample& s) { return s.particleCpu; }));
    std::vector<double> live(liveCounts.begin(), liveCounts.end());
    std::printf("  live particles  median %.0f (min %.0f, max %.0f)\n", median(live), percentile(live, 1e-9),
                percentile(live, 1.0));
    std::printf("  course          %d restarts, furthest z %.1f, %s\n", course.restarts, course.furthestZ,
                course.finishedAt ? ("finished in frame " + std::to_string(course.finishedAt)).c_str()
                                  : "finish not reached");
    const std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (renderer.find("llvmpipe") != std::string::npos) {
        // Its rasteriser threads run a whole framebuffer's passes tile by tile
        // and stamp a query's start and end in the last tile each one does.
        std::printf("  NOTE            on llvmpipe the time between two GL timestamps is not the cost of a pass;\n"
                    "                  --isolate measures that\n");
    }
    if (options.isolate) {
        std::printf("  per pass, median   GPU (GL timestamps)     wall (pass alone)   CPU of all threads"
                    "   vertex-shader runs   fragment-shader runs (per window pixel)\n");
    } else {
        std::printf("  per pass, median   GPU (GL timestamps)     CPU (submission)\n");
    }
    for (int pass = 0; pass < framePassCount; ++pass) {
        const double gpu = medianOf(samples, [pass](const FrameSample& s) { return s.passGpu[pass]; });
        // Alone, a pass's wall clock runs to its finished pixels; in the
        // frame, its submission is what the clock can see.
        const double clock = medianOf(samples, [pass, &options](const FrameSample& s) {
            return options.isolate ? s.passWall[pass] : s.passCpu[pass];
        });
        if (gpu < 0.0 && clock < 0.0) continue;
        std::printf("    %-12s %12.2f ms %16.2f ms", framePassNames[pass], gpu, clock);
        if (options.isolate) {
            std::printf(" %16.2f ms", medianOf(samples, [pass](const FrameSample& s) { return s.passWork[pass]; }));
            const double vertices = medianOf(samples, [pass](const FrameSample& s) { return s.passVertices[pass]; });
            if (vertices >= 0.0) std::printf(" %16.1f k", vertices * 1e-3);
            const double shaded = medianOf(samples, [pass](const FrameSample& s) { return s.passShaded[pass]; });
            if (shaded >= 0.0)
                std::printf(" %12.2f M (%.2f)", shaded * 1e-6, shaded / (double(options.width) * options.height));
        }
        std::printf("\n");
    }
}

// The median frame with the lab overlay and without it, from alternate frames of one run.
void reportOverlay(const std::vector<FrameSample>& samples, const std::vector<bool>& shown) {
    std::vector<double> with, without;
    for (size_t i = 0; i < samples.size(); ++i) (shown[i] ? with : without).push_back(samples[i].frame);
    const double on = median(with), off = median(without);
    std::printf("  lab overlay     shown: median %.2f ms (%zu frames), hidden: median %.2f ms (%zu frames), cost %+.1f %%\n",
                on, with.size(), off, without.size(), 100.0 * (on - off) / off);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) return 2;

    setenv("SDL_AUDIODRIVER", "dummy", 0);  // the music is no part of the frame: play it into nothing
    useTemporaryHome();  // a run the autopilot finishes is no record of the player's
    // The game writes its coin layout and pick-ups to std::cout; the report goes to stdout through printf.
    QuietConsole quiet;
    if (!openGlWindow(options.width, options.height, true)) return 1;
    std::vector<double> msaaFloorTimes;
    if (!runMsaaFloor(options.floorFrames / 2, msaaFloorTimes)) {
        std::fprintf(stderr, "kivo_frame_bench: no %dx%d window with %dx multisampling\n", msaaFloorWidth,
                     msaaFloorHeight, msaaFloorSamples);
        closeGlWindow();
        return 1;
    }

    ScriptedPlatform platform;
    platform.cursorAtX = options.width / 2;
    platform.cursorAtY = options.height / 2;
    initScene();
    chooseQuality(options.quality);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glViewport(0, 0, screenWidth, screenHeight);

    int status = 0;
    std::vector<double> floorTimes;
    std::vector<int> liveCounts;
    std::vector<QualityLevel> levels;  // of each kept frame
    std::vector<bool> overlayShown;    // of each kept frame
    FrameLog log;
    CourseLog course;
    {
        FrameTimer timer(options.isolate);
        timer.frameDrawn = [&](int frame) {
            for (const Shot& shot : options.shots) {
                if (shot.frame != frame) continue;
                if (!saveBackBuffer(shot.path, options.width, options.height)) {
                    std::fprintf(stderr, "kivo_frame_bench: could not write %s\n", shot.path.c_str());
                    status = 1;
                }
            }
        };
        auto isShot = [&](int frame) {
            return std::any_of(options.shots.begin(), options.shots.end(),
                               [frame](const Shot& s) { return s.frame == frame; });
        };

        for (int i = 0; i < floorWarmupFrames; ++i) floorFrame(window);
        runFloor(options.floorFrames / 2, floorTimes);

        platform.hold(GLFW_KEY_W);
        if (options.blur) platform.hold(GLFW_KEY_SPACE);
        Autopilot autopilot;
        frameProbe = &timer;
        double lastFrameTime = platform.clock;
        double runStart = gameStartTime;
        for (int frame = 1; frame <= options.warmup + options.frames; ++frame) {
            autopilot.steer(platform, gameStep);
            platform.clock += gameStep;
            const bool keep = frame > options.warmup && !isShot(frame);
            const BenchClock::time_point start = BenchClock::now();
            timer.keepNext = keep;
            if (options.overlay) labOverlayShown = frame % 2 == 0;
            runFrame(lastFrameTime);
            log.times.push_back(millisecondsBetween(start, BenchClock::now()));
            log.levels.push_back(qualityLevel);

            // The first frame always restarts: the cat's copied position is not yet on the street.
            if (gameStartTime != runStart && frame > 1) {
                ++course.restarts;
                autopilot.restart();
            }
            runStart = gameStartTime;
            if (gameOver && course.finishedAt == 0) course.finishedAt = frame;
            course.furthestZ = std::min(course.furthestZ, static_cast<double>(theCat->modelMatrix[3][2]));
            if (keep) liveCounts.push_back(liveParticleCount());
            if (keep) levels.push_back(qualityLevel);
            if (keep) overlayShown.push_back(labOverlayShown);
        }
        frameProbe = nullptr;
        timer.finish();

        runFloor(options.floorFrames - options.floorFrames / 2, floorTimes);
        runMsaaFloor(options.floorFrames - options.floorFrames / 2, msaaFloorTimes);
        report(options, timer.samples(), floorTimes, msaaFloorTimes, liveCounts, levels, log, course);
        if (options.overlay) reportOverlay(timer.samples(), overlayShown);
        labOverlayShown = false;
    }

    if (course.restarts > 0) {
        std::fprintf(stderr, "kivo_frame_bench: the autopilot hit a slab or left the street\n");
        status = 1;
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::fprintf(stderr, "kivo_frame_bench: GL error 0x%x after the run\n", error);
        status = 1;
    }
    deleteScene();
    closeGlWindow();
    return status;
}
