#include "tests/support/gl_window.h"

#include <cstdio>

#include "app/startup.h"
#include "app/window.h"
#include "base/globals.h"

bool openGlWindow(int width, int height, bool visible) {
    if (!glfwInit()) {
        std::fprintf(stderr, "no GLFW (is DISPLAY set? run under xvfb-run)\n");
        return false;
    }
    setWindowHints();
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    window = glfwCreateWindow(width, height, visible ? "KIVO" : "KIVO test", nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "no %dx%d window with an OpenGL 3.3 context\n", width, height);
        glfwTerminate();
        return false;
    }
    glfwMakeContextCurrent(window);
    if (!loadGlEntryPoints()) {
        std::fprintf(stderr, "GLEW did not load\n");
        closeGlWindow();
        return false;
    }
    screenWidth = width;
    screenHeight = height;
    windowViewport = {0, 0, width, height};
    glViewport(0, 0, width, height);
    return true;
}

void closeGlWindow() {
    glfwDestroyWindow(window);
    window = nullptr;
    glfwTerminate();
}

std::vector<unsigned char> readPixels(int x, int y, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

float brightnessAround(const glm::mat4& viewProjection, glm::vec3 world, int radius) {
    const glm::vec4 clip = viewProjection * glm::vec4(world, 1.0f);
    const int x = int((clip.x / clip.w * 0.5f + 0.5f) * screenWidth);
    const int y = int((clip.y / clip.w * 0.5f + 0.5f) * screenHeight);
    const int side = 2 * radius + 1;
    const std::vector<unsigned char> pixels = readPixels(x - radius, y - radius, side, side);
    float sum = 0.0f;
    for (size_t i = 0; i < pixels.size(); i += 4) sum += (pixels[i] + pixels[i + 1] + pixels[i + 2]) / 3.0f;
    return sum / float(side * side);
}
