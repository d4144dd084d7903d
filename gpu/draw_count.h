// Draw calls and triangles sent to GL since the program started, noted at
// every draw call of the game, so a pass's share is the difference across it.
#pragma once

#include <GL/glew.h>

struct DrawCount {
    long calls = 0;
    long triangles = 0;
};

extern DrawCount drawCount;

// One draw of `vertices` vertices as `mode`, `instances` times.
inline void noteDraw(GLenum mode, long vertices, long instances = 1) {
    drawCount.calls += 1;
    const long each = mode == GL_TRIANGLES ? vertices / 3
                      : mode == GL_TRIANGLE_STRIP || mode == GL_TRIANGLE_FAN ? (vertices > 2 ? vertices - 2 : 0)
                                                                               : 0;
    drawCount.triangles += each * instances;
}
