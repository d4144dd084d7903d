// KIVO: steer a cat down a night street, under and over obstacle slabs,
// collecting coins against the clock.
//
// Start-up reads the command line and the player's kept settings and
// records, asks on the console for the display mode (unless the command line
// named one), opens the "KIVO" window with an OpenGL 3.3 compatibility
// context, builds the whole scene once and then runs the frame loop until the
// window is closed or Escape is held. Everything runs on this one thread; the
// music plays on SDL's own. With --benchmark the autopilot flies a fixed
// number of frames instead (app/benchmark.h), in silence, asking nothing and
// keeping nothing.
#include <cstdio>
#include <iostream>

#include "app/audio.h"
#include "app/benchmark.h"
#include "app/command_line.h"
#include "app/display_mode.h"
#include "app/frame.h"
#include "app/hotkeys.h"
#include "app/platform_glfw.h"
#include "app/scene_setup.h"
#include "app/startup.h"
#include "app/window.h"
#include "base/assets.h"
#include "base/console.h"
#include "base/globals.h"
#include "base/platform.h"
#include "base/records.h"
#include "base/storage.h"
#include "play/input.h"
#include "play/score.h"

int main(int argc, char** argv) {
    const LaunchOptions options = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
        case LaunchOptions::Action::help: std::cout << usageText(); return 0;
        case LaunchOptions::Action::version: std::cout << versionText(); return 0;
        case LaunchOptions::Action::fail: std::cerr << options.error << std::endl; return 2;
        case LaunchOptions::Action::play: break;
    }
    locateAssets();
    LaunchOptions display = options;
    if (options.benchmark) {
        // The same frames on every machine: the defaults, not what this
        // player kept, and no best run to chase as a ghost.
        keepingFiles = false;
        silenceGameLines();
        soundOff = true;
        qualitySetting = options.quality.value_or(QualitySetting::full);
        if (!display.window && !display.fullscreen) display.window = defaultWindowSize;
    } else {
        // What the player kept from earlier starts; an option on the command line
        // wins for this start only.
        savedSettings = loadSettings();
        qualitySetting = options.quality.value_or(savedSettings.quality);
        ghostEnabled = savedSettings.ghost;
        ghostRun = savedSettings.ghostRun;
        mouseSensitivity = options.sensitivity.value_or(savedSettings.mouseSensitivity);
        invertY = options.invertY.value_or(savedSettings.invertY);
        musicVolume = options.musicVolume.value_or(savedSettings.musicVolume);
        effectsVolume = options.effectsVolume.value_or(savedSettings.effectsVolume);
        takeKeptRecords(loadAllRecords());
    }

    if (!glfwInit()) {
        std::fprintf(stderr, "Failed to initialize GLFW\n");
        fatalExit();
    }
    setWindowHints();
    loadGamepadMappings();

    if (display.window || display.fullscreen) {
        if (!openNamedDisplay(display)) {
            glfwTerminate();
            return 2;
        }
    } else {
        chooseDisplayMode();
    }
    if (!window) {
        glfwTerminate();
        std::fprintf(stderr, "Failed to open a window\n");
        fatalExit();
    }
    glfwMakeContextCurrent(window);
    setPlatform(&windowPlatform());
    glfwSetKeyCallback(window, keyCallback);
    holdPointerAndFollowSize();

    if (!loadGlEntryPoints()) {
        glfwTerminate();
        std::fprintf(stderr, "Failed to initialize GLEW\n");
        fatalExit();
    }

    initScene();
    chooseQuality(qualitySetting);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glViewport(windowViewport.x, windowViewport.y, windowViewport.width, windowViewport.height);

    if (options.benchmark) {
        const int status = runBenchmark(*options.benchmark);
        deleteScene();
        glfwTerminate();
        return status;
    }

    double lastFrameTime = clockNow();
    while (!glfwWindowShouldClose(window)) {
        // Minimised, the run pauses and the game sleeps until the window is
        // back; the frame clock then starts afresh, so the wait is no step for
        // the particles or the blur, and the run waits for P.
        if (windowMinimised()) {
            pauseRun();
            sleepWhileMinimised();
            resumeFrames(lastFrameTime);
            continue;
        }
        if (!runFrame(lastFrameTime)) break;
    }

    savePendingRecords();  // a record that another game's lock or a full disk held back
    deleteScene();
    glfwTerminate();
    return 0;
}
