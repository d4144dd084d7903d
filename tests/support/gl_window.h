// A real GL context for tests: a hidden GLFW window with the game's hints.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <cstdio>
#include <glm/glm.hpp>
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

// Mean grey level of the (2 radius + 1)^2 window pixels around where `world`
// lands under `viewProjection`.
inline float brightnessAround(const glm::mat4& viewProjection, glm::vec3 world, int radius) {
    const glm::vec4 clip = viewProjection * glm::vec4(world, 1.0f);
    const int x = int((clip.x / clip.w * 0.5f + 0.5f) * screenWidth);
    const int y = int((clip.y / clip.w * 0.5f + 0.5f) * screenHeight);
    const int side = 2 * radius + 1;
    const std::vector<unsigned char> pixels = readPixels(x - radius, y - radius, side, side);
    float sum = 0.0f;
    for (size_t i = 0; i < pixels.size(); i += 4) sum += (pixels[i] + pixels[i + 1] + pixels[i + 2]) / 3.0f;
    return sum / float(side * side);
}
