// Bitmap-font text: lines as screen-space quads cut from a 16 x 16 glyph
// atlas, in HUD units: whatever the window's size, its picture is hudUnits
// wide and high, x to the right and y up from its lower left corner.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <string>
#include <vector>

constexpr glm::vec2 hudUnits(800.0f, 600.0f);

// The ink of text: a warm white, and the green and red of a time gained and lost.
constexpr glm::vec3 textInk(1.0f, 0.97f, 0.9f);
constexpr glm::vec3 aheadInk(0.35f, 1.0f, 0.35f);
constexpr glm::vec3 behindInk(1.0f, 0.35f, 0.3f);

// One line of text in drawText units: lower-left corner (x, y), cell edge
// `size`, in one ink.
struct TextLine {
    std::string text;
    int x;
    int y;
    int size;
    glm::vec3 ink = textInk;
    bool operator==(const TextLine& other) const {
        return text == other.text && x == other.x && y == other.y && size == other.size && ink == other.ink;
    }
    bool operator!=(const TextLine& other) const { return !(*this == other); }
};

// Appends nothing and returns at once for an empty text. Otherwise fills
// `positions` and `uvs` with six corners per byte (two triangles: upper-left,
// lower-left, upper-right; lower-right, upper-right, lower-left). Character i
// covers x + i*size .. x + (i+1)*size and y .. y + size; byte c (signed) is
// read from atlas column c % 16, row c / 16 counted from the image's top,
// with v = 1 at the top. Both vectors are cleared first.
void buildTextGeometry(const char* text, int x, int y, int size, std::vector<glm::vec2>& positions,
                       std::vector<glm::vec2>& uvs);

// The quads of every line, one line after another, each as buildTextGeometry
// builds it, and each corner's ink. All three vectors are cleared first.
void buildLinesGeometry(const std::vector<TextLine>& lines, std::vector<glm::vec2>& positions,
                        std::vector<glm::vec2>& uvs, std::vector<glm::vec3>& inks);

class Text2D {
public:
    GLuint vertexBuffer = 0;  // glyph corner positions of the lines last drawn
    GLuint uvBuffer = 0;      // matching atlas coordinates
    GLuint inkBuffer = 0;     // and each corner's ink

    Text2D();  // creates the three buffers; leaves every GL binding as it was
    virtual ~Text2D();
    Text2D(const Text2D&) = delete;
    Text2D& operator=(const Text2D&) = delete;

    // Draws `lines` in one draw call, each in its ink. Their quads are built and uploaded only
    // when the lines differ from those of the call before: a HUD whose text
    // stands still costs no upload, and one that changes a single upload, not
    // one a line (each upload into a buffer that a draw not yet rasterised
    // reads makes llvmpipe finish that draw first). The caller has the text
    // program in use and the atlas bound where its sampler reads. Leaves
    // attribute arrays 3, 4 and 5 disabled and `inkBuffer` bound to
    // GL_ARRAY_BUFFER; lines without text change no GL state.
    virtual void drawLines(const std::vector<TextLine>& lines);

    // One line: `text` with the lower-left corner of its first cell at (x, y).
    void drawText(const char* text, int x, int y, int size);

private:
    std::vector<TextLine> shown_;  // the lines whose quads the buffers hold
    std::vector<glm::vec2> positions_, uvs_;
    std::vector<glm::vec3> inks_;
    GLsizei vertexCount_ = 0;
};

// The HUD's text renderer; made by scene assembly, deleted by shutdown.
extern Text2D* text2D;

// Draws `lines` over the bound target's viewport with textShader and the
// font atlas, through text2D, in one draw call: what the HUD and the pause
// screen show. Leaves textShader in use and fontTexture bound on the active
// unit 0.
void drawScreenText(const std::vector<TextLine>& lines);

// The same through `renderer`: text that changes apart from the HUD's keeps
// buffers of its own, so neither uploads anew for the other.
void drawScreenText(const std::vector<TextLine>& lines, Text2D& renderer);
