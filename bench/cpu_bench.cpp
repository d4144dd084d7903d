// kivo_cpu_bench: the game's own CPU work of a frame, piece by piece, on the
// real world (built by initScene in a small hidden window: the scene objects
// need a GL context to exist, though nothing here draws).
//
// Every stateful benchmark plays whole frames of that work: scripted steering
// along the course at walking speed, processInput, updateScene, particle births
// and the particle step, with the trail at its steady state of 48,000 live
// particles and a fixed game step of 1/60 s. Each times its own piece of the
// frame (Google Benchmark's manual time), so all of them see the same moving
// scene. The reference runs the same frames with the straightforward particle
// step of tests/support/reference_particles.h; the summary at the end compares the two.
//
//   kivo_cpu_bench [Google Benchmark flags, e.g. --benchmark_filter=particle]
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/scene_setup.h"
#include "app/window.h"
#include "base/globals.h"
#include "play/frame_update.h"
#include "play/hud.h"
#include "play/input.h"
#include "render/text2d.h"
#include "render/particles.h"
#include "scene/cat.h"
#include "scene/world.h"
#include "scene/coins.h"
#include "scene/culling.h"
#include "scene/level.h"
#include "play/autopilot.h"
#include "tests/support/gl_window.h"
#include "tests/support/quiet_console.h"
#include "tests/support/reference_particles.h"
#include "base/scripted_platform.h"
#include "tests/support/temp_home.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double gameStep = 1.0 / 60.0;  // seconds per frame
constexpr int steadyStateFrames = 300;   // 5 s of 160 births per frame: 48,000 alive
constexpr int repetitions = 10;          // the figures are medians over these
// Frames per repetition. Fixed, because manual time only counts the piece
// being measured, while every iteration plays a whole frame.
constexpr int gameFrames = 1000;
constexpr int referenceFrames = 100;

enum class Trail { game, reference };

// Seconds each piece of one frame took.
struct FramePieces {
    double input = 0.0;   // processInput
    double update = 0.0;  // updateScene
    double births = 0.0;
    double step = 0.0;    // simulation, ordering and array fill
    double total = 0.0;   // all four, timed as one
};

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// The scripted player and the game clock.
ScriptedPlatform* platform = nullptr;
Autopilot* autopilot = nullptr;
ReferencePool* referencePool = nullptr;

void advanceScriptedInput() {
    autopilot->steer(*platform, gameStep);
    platform->clock += gameStep;
    deltaTime = static_cast<float>(gameStep);
}

// Plays one frame of the game's CPU work with the chosen particle step and
// times its pieces. A finished or restarted run is set going again before
// the frame, outside the times.
FramePieces playFrame(Trail trail, int* live = nullptr) {
    if (gameOver) {
        // Enter on the end screen, as a player would, for one untimed frame.
        platform->hold(GLFW_KEY_ENTER);
        advanceScriptedInput();
        processInput();
        updateScene(deltaTime);
        platform->release(GLFW_KEY_ENTER);
        autopilot->restart();
    }
    const double runStart = gameStartTime;
    advanceScriptedInput();

    FramePieces pieces;
    const Clock::time_point t0 = Clock::now();
    processInput();
    const Clock::time_point t1 = Clock::now();
    updateScene(deltaTime);
    const Clock::time_point t2 = Clock::now();
    const glm::vec3 cat(theCat->modelMatrix[3]);
    const int births = particleBirthCount(deltaTime);
    int count = 0;
    Clock::time_point t3;
    if (trail == Trail::game) {
        spawnParticles(births, cat);
        t3 = Clock::now();
        count = stepParticles(deltaTime, cameraPosition, particlePositionSizeData, particleColorData);
    } else {
        referencePool->spawn(births, cat);
        t3 = Clock::now();
        count = referencePool->step(deltaTime, cameraPosition, particlePositionSizeData, particleColorData);
    }
    const Clock::time_point t4 = Clock::now();
    benchmark::DoNotOptimize(particlePositionSizeData);

    if (gameStartTime != runStart) autopilot->restart();  // a hit: the run starts over
    pieces.input = secondsBetween(t0, t1);
    pieces.update = secondsBetween(t1, t2);
    pieces.births = secondsBetween(t2, t3);
    pieces.step = secondsBetween(t3, t4);
    pieces.total = secondsBetween(t0, t4);
    if (live) *live = count;  // the step writes every particle alive after it
    return pieces;
}

// Registers a benchmark that plays frames and reports one piece of them.
void registerFramePiece(const char* name, Trail trail, double FramePieces::*piece) {
    benchmark::RegisterBenchmark(name,
                                 [trail, piece](benchmark::State& state) {
                                     int live = 0;
                                     for (auto _ : state) state.SetIterationTime(playFrame(trail, &live).*piece);
                                     state.counters["live"] = live;
                                 })
        ->UseManualTime()
        ->Iterations(trail == Trail::game ? gameFrames : referenceFrames)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true);
}

// The frustum tests of one lit pass with culling on (F8): house row, corridor,
// the eighteen slabs and every coin of the field.
void culling(benchmark::State& state) {
    std::vector<vesk::scene::MeshObject*> tested = {houseRow, corridorObject};
    for (vesk::scene::grid* slab : grids) tested.push_back(slab);
    for (vesk::scene::coin* coin : coinField->coins) tested.push_back(coin);
    for (auto _ : state) {
        int visible = 0;
        for (vesk::scene::MeshObject* object : tested) {
            visible += frustumCuller->isSphereVisible(projectionMatrix, viewMatrix, object->modelMatrix,
                                                      object->boundingCenter, object->boundingRadius);
        }
        benchmark::DoNotOptimize(visible);
    }
    state.counters["objects"] = static_cast<double>(tested.size());
}

// The CPU half of the HUD: this frame's lines and, as in a frame whose text
// changed, their glyph quads in the arrays Text2D::drawLines builds.
void hudText(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<glm::vec2> positions;
        std::vector<glm::vec2> uvs;
        std::vector<glm::vec3> inks;
        buildLinesGeometry(hudFrame(platform->clock, coinField->collectedCount), positions, uvs, inks);
        benchmark::DoNotOptimize(positions.data());
        benchmark::DoNotOptimize(uvs.data());
    }
}

// A restart, as every hit on a slab makes one: the cat back at the start and
// a new layout of 22 coins, each with its console line. Run last: it leaves
// the cat at the start.
void restart(benchmark::State& state) {
    for (auto _ : state) resetGame();
    state.counters["coins"] = static_cast<double>(coinField->coins.size());
}

// Keeps the median of every benchmark while printing as usual, then the
// comparison the figures are for.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians_[run.run_name.function_name] = run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto game = medians_.find("game_frame");
        const auto reference = medians_.find("reference/game_frame");
        if (game == medians_.end() || reference == medians_.end()) return;
        std::ostream& out = GetOutputStream();
        char line[200];
        std::snprintf(line, sizeof line,
                      "\ngame CPU work per frame at 48,000 live particles:   median %.3f ms\n"
                      "reference (whole pool stable_sort every frame):   median %.3f ms\n"
                      "reference / game: %.1fx\n",
                      game->second * 1e3, reference->second * 1e3, reference->second / game->second);
        out << line;
    }

private:
    std::map<std::string, double> medians_;  // seconds per iteration
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

    // The game writes its coin layouts and pick-ups to std::cout; the report
    // goes through a stream of its own on the same stdout.
    std::ostream report(std::cout.rdbuf());
    QuietConsole quiet;

    setenv("SDL_AUDIODRIVER", "dummy", 0);
    useTemporaryHome();  // a run the autopilot finishes is no record of the player's
    if (!openGlWindow(64, 64)) return 1;
    // The game's window size: the projection and so the culling depend on it.
    screenWidth = 1600;
    screenHeight = 1400;

    ScriptedPlatform scripted;
    scripted.cursorAtX = screenWidth / 2;
    scripted.cursorAtY = screenHeight / 2;
    platform = &scripted;
    initScene();
    Autopilot pilot;
    autopilot = &pilot;
    ReferencePool reference;
    referencePool = &reference;
    scripted.hold(GLFW_KEY_W);

    // Both trails to their steady state before anything is measured.
    for (int i = 0; i < steadyStateFrames; ++i) playFrame(Trail::game);
    for (int i = 0; i < steadyStateFrames; ++i) playFrame(Trail::reference);

    registerFramePiece("input_and_rules", Trail::game, &FramePieces::input);
    registerFramePiece("frame_update", Trail::game, &FramePieces::update);
    benchmark::RegisterBenchmark("culling", culling)->Repetitions(repetitions)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("hud_text", hudText)->Repetitions(repetitions)->ReportAggregatesOnly(true);
    registerFramePiece("particle_births", Trail::game, &FramePieces::births);
    registerFramePiece("particle_step", Trail::game, &FramePieces::step);
    registerFramePiece("game_frame", Trail::game, &FramePieces::total);
    registerFramePiece("reference/particle_births", Trail::reference, &FramePieces::births);
    registerFramePiece("reference/particle_step", Trail::reference, &FramePieces::step);
    registerFramePiece("reference/game_frame", Trail::reference, &FramePieces::total);
    benchmark::RegisterBenchmark("restart", restart)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);

    SummaryReporter reporter(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                    : benchmark::ConsoleReporter::OO_Tabular);
    reporter.SetOutputStream(&report);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    referencePool = nullptr;
    autopilot = nullptr;
    platform = nullptr;
    deleteScene();
    closeGlWindow();
    return 0;
}
