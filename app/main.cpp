// KIVO: steer a cat down a night street, under and over obstacle slabs,
// collecting coins against the clock.
//
// Start-up asks on the console for the display mode, opens the "KIVO" window
// with an OpenGL 3.3 compatibility context, builds the whole scene once and
// then runs the frame loop until the window is closed or Escape is held.
// Everything runs on this one thread; the music plays on SDL's own.
#include <cstdio>

#include "app/display_mode.h"
#include "app/frame.h"
#include "app/hotkeys.h"
#include "app/scene_setup.h"
#include "app/startup.h"
#include "base/console.h"
#include "base/globals.h"

int main() {
    if (!glfwInit()) {
        std::fprintf(stderr, "Failed to initialize GLFW\n");
        fatalExit();
    }
    setWindowHints();

    chooseDisplayMode();
    if (!window) {
        glfwTerminate();
        std::fprintf(stderr, "Failed to open a window");
        fatalExit();
    }
    glfwMakeContextCurrent(window);
    glfwSetKeyCallback(window, keyCallback);

    if (!loadGlEntryPoints()) {
        std::fprintf(stderr, "Failed to initialize GLEW\n");
        return -1;
    }

    initScene();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glViewport(0, 0, screenWidth, screenHeight);

    double lastFrameTime = glfwGetTime();
    while (!glfwWindowShouldClose(window) && runFrame(lastFrameTime)) {
    }

    deleteScene();
    glfwTerminate();
    return 0;
}
