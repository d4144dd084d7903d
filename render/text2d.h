// Bitmap-font text: one line at a time as screen-space quads cut from a
// 16 x 16 glyph atlas, in the units of the text vertex shader (x right, y up).
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <vector>

// Appends nothing and returns at once for an empty text. Otherwise fills
// `positions` and `uvs` with six corners per byte (two triangles: upper-left,
// lower-left, upper-right; lower-right, upper-right, lower-left). Character i
// covers x + i*size .. x + (i+1)*size and y .. y + size; byte c (signed) is
// read from atlas column c % 16, row c / 16 counted from the image's top,
// with v = 1 at the top. Both vectors are cleared first.
void buildTextGeometry(const char* text, int x, int y, int size, std::vector<glm::vec2>& positions,
                       std::vector<glm::vec2>& uvs);

class Text2D {
public:
    GLuint vertexBuffer = 0;  // glyph corner positions of the last line drawn
    GLuint uvBuffer = 0;      // matching atlas coordinates

    Text2D();  // creates the two buffers; leaves every GL binding as it was
    virtual ~Text2D();
    Text2D(const Text2D&) = delete;
    Text2D& operator=(const Text2D&) = delete;

    // Draws `text` with the lower-left corner of its first cell at (x, y).
    // The caller has the text program in use and the atlas bound where its
    // sampler reads. Leaves blending off, attribute arrays 3 and 4 disabled and
    // `uvBuffer` bound to GL_ARRAY_BUFFER; an empty text changes no GL state.
    virtual void drawText(const char* text, int x, int y, int size);
};
