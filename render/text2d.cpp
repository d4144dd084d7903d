#include "render/text2d.h"

#include <cstdint>
#include <cstring>

#include "gpu/buffer.h"
#include "gpu/draw_count.h"
#include "gpu/gl_state.h"
#include "gpu/shader.h"
#include "gpu/texture.h"

Text2D* text2D = nullptr;

namespace {

constexpr float kCell = 0.0625f;  // one of 16 atlas columns or rows, in texture units

}  // namespace

void buildTextGeometry(const char* text, int x, int y, int size, std::vector<glm::vec2>& positions,
                       std::vector<glm::vec2>& uvs) {
    positions.clear();
    uvs.clear();
    const size_t n = std::strlen(text);
    positions.reserve(6 * n);
    uvs.reserve(6 * n);
    const float yb = static_cast<float>(y);
    const float yt = static_cast<float>(y + size);
    for (size_t i = 0; i < n; ++i) {
        // Unsigned arithmetic keeps a long line from overflowing into UB;
        // callers only pass non-negative positions and sizes.
        const auto index = static_cast<uint32_t>(i);
        const float x0 = static_cast<float>(static_cast<uint32_t>(x) + index * static_cast<uint32_t>(size));
        const float x1 = static_cast<float>(static_cast<uint32_t>(x) + (index + 1) * static_cast<uint32_t>(size));
        positions.insert(positions.end(), {{x0, yt}, {x0, yb}, {x1, yt}, {x1, yb}, {x1, yt}, {x0, yb}});

        const int c = static_cast<signed char>(text[i]);
        const int column = c % 16;
        const int row = c / 16;
        const float u0 = static_cast<float>(column) * kCell;
        const float u1 = u0 + kCell;
        const float vt = 1.0f - static_cast<float>(row) * kCell;
        const float vb = 1.0f - (static_cast<float>(row) * kCell + kCell);
        uvs.insert(uvs.end(), {{u0, vt}, {u0, vb}, {u1, vt}, {u1, vb}, {u1, vt}, {u0, vb}});
    }
}

void buildLinesGeometry(const std::vector<TextLine>& lines, std::vector<glm::vec2>& positions,
                        std::vector<glm::vec2>& uvs, std::vector<glm::vec3>& inks) {
    positions.clear();
    uvs.clear();
    inks.clear();
    std::vector<glm::vec2> linePositions, lineUvs;
    for (const TextLine& line : lines) {
        buildTextGeometry(line.text.c_str(), line.x, line.y, line.size, linePositions, lineUvs);
        positions.insert(positions.end(), linePositions.begin(), linePositions.end());
        uvs.insert(uvs.end(), lineUvs.begin(), lineUvs.end());
        inks.insert(inks.end(), linePositions.size(), line.ink);
    }
}

Text2D::Text2D() {
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &uvBuffer);
    glGenBuffers(1, &inkBuffer);
    // A generated name becomes a buffer object only when first bound; bind
    // each once so they exist from the start, and put the binding back.
    GLint previous = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &previous);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, uvBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, inkBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(previous));
}

Text2D::~Text2D() {
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteBuffers(1, &uvBuffer);
    glDeleteBuffers(1, &inkBuffer);
}

void Text2D::drawLines(const std::vector<TextLine>& lines) {
    if (lines != shown_) {
        shown_ = lines;
        buildLinesGeometry(lines, positions_, uvs_, inks_);
        vertexCount_ = static_cast<GLsizei>(positions_.size());
        if (vertexCount_ == 0) return;
        refillBuffer(GL_ARRAY_BUFFER, vertexBuffer, positions_);
        refillBuffer(GL_ARRAY_BUFFER, uvBuffer, uvs_);
        refillBuffer(GL_ARRAY_BUFFER, inkBuffer, inks_);
    }
    if (vertexCount_ == 0) return;

    pointVertexInput(glyphPositionInput, vertexBuffer, 2);
    pointVertexInput(glyphUvInput, uvBuffer, 2);
    pointVertexInput(glyphColorInput, inkBuffer, 3);

    {
        const GlBlending glyphs(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDrawArrays(GL_TRIANGLES, 0, vertexCount_);
        noteDraw(GL_TRIANGLES, vertexCount_);
    }
    glDisableVertexAttribArray(glyphPositionInput);
    glDisableVertexAttribArray(glyphUvInput);
    glDisableVertexAttribArray(glyphColorInput);
}

void Text2D::drawText(const char* text, int x, int y, int size) { drawLines({TextLine{text, x, y, size}}); }

void drawScreenText(const std::vector<TextLine>& lines) { drawScreenText(lines, *text2D); }

void drawScreenText(const std::vector<TextLine>& lines, Text2D& renderer) {
    glUseProgram(textShader->programHandle);
    setVector(textShader, "hudUnits", hudUnits);
    fontTexture->bind(firstColorUnit);
    setTextureUnit(textShader, "myTextureSampler", firstColorUnit);
    renderer.drawLines(lines);
}
