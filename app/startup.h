// The GL set-up steps shared by the game, the GL tests and the benchmarks.
#pragma once

// The window hints the game asks for: one sample a pixel, an OpenGL 3.3
// compatibility context, a debug context where GL faults stop the program
// (gpu/gl_check.h). Call after glfwInit and before creating the window.
void setWindowHints();

// Loads the GL entry points for the current context and watches it for GL
// errors. Returns false when GLEW cannot be initialised.
bool loadGlEntryPoints();
