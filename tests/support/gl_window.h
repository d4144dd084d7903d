// A real GL context for the tests and the benchmarks: a GLFW window with the
// game's hints, and pixel read-back.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <vector>

// Opens a window of the game's kind, makes its context current, loads the GL
// entry points and points the game's `window`, `screenWidth` and
// `screenHeight` at it. Hidden unless `visible`; a visible one is titled
// "KIVO" like the game's. Returns false, with a message on stderr, when GLFW,
// the window or GLEW fails.
bool openGlWindow(int width, int height, bool visible = false);
void closeGlWindow();

// The colour of the current read framebuffer as RGBA bytes, bottom row first.
std::vector<unsigned char> readPixels(int x, int y, int width, int height);

// Mean grey level of the (2 radius + 1)^2 window pixels around where `world`
// lands under `viewProjection`.
float brightnessAround(const glm::mat4& viewProjection, glm::vec3 world, int radius);

// What the query `target` counts while `draw` runs.
template <typename Draw>
GLuint64 countedBy(GLenum target, Draw draw) {
    GLuint query = 0;
    GLuint64 count = 0;
    glGenQueries(1, &query);
    glBeginQuery(target, query);
    draw();
    glEndQuery(target);
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

// How many triangles `draw` sends down the pipeline.
template <typename Draw>
GLuint trianglesDrawnBy(Draw draw) {
    return static_cast<GLuint>(countedBy(GL_PRIMITIVES_GENERATED, draw));
}
