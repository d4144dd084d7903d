// A real GL context for tests: a hidden GLFW window with the game's hints.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <cstdio>
#include <vector>

#include "app/globals.h"
#include "app/startup.h"

// Opens the context, makes it current, loads GLEW and points the game's
// `window`, `screenWidth` and `screenHeight` at it.
inline bool openTestContext(int width, int height) {
    if (!glfwInit()) return false;
    setWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "KIVO test", nullptr, nullptr);
    if (!window) return false;
    glfwMakeContextCurrent(window);
    if (!loadGlEntryPoints()) return false;
    screenWidth = width;
    screenHeight = height;
    glViewport(0, 0, width, height);
    return true;
}

inline void closeTestContext() {
    glfwDestroyWindow(window);
    window = nullptr;
    glfwTerminate();
}

// Reads the colour of the current read framebuffer as RGBA bytes, bottom row first.
inline std::vector<unsigned char> readPixels(int x, int y, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
