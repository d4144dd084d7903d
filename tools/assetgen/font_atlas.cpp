#include "font_atlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "image.h"

namespace assetgen {
namespace {

constexpr double kWiden = 1.3;  // horizontal stretch of the glyphs

// Printable codes: ASCII and the Latin-1 supplement, which map 1:1 to Unicode.
bool printable(int code) { return (code > 32 && code < 127) || (code > 160 && code < 256); }

struct GlyphBox {
    int top = 0, bottom = 0;  // pixels above / below the baseline (bottom <= 0)
};

// Vertical extent of the ASCII glyphs at the current size, which sets the
// common baseline: HUD lines must share one baseline to read straight.
GlyphBox asciiExtent(FT_Face face) {
    GlyphBox box;
    for (int code = 33; code < 127; ++code) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        box.top = std::max(box.top, g->bitmap_top);
        box.bottom = std::min(box.bottom, g->bitmap_top - static_cast<int>(g->bitmap.rows));
    }
    return box;
}

}  // namespace

bool writeFontAtlas(const std::string& fontPath, const std::string& path, int size) {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "kivo_assetgen: FreeType does not start\n");
        return false;
    }
    FT_Face face;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "kivo_assetgen: cannot read font %s\n", fontPath.c_str());
        FT_Done_FreeType(library);
        return false;
    }
    const int cell = size / 16;
    const int margin = std::max(2, cell / 16);  // keeps mip-maps from bleeding into neighbours
    // The largest pixel size whose ASCII glyphs fit the cell with the margin.
    // The HUD draws every character in a square cell, so the narrow monospace
    // glyphs are widened to leave less of a gap between letters.
    int pixelSize = cell;
    GlyphBox box;
    for (; pixelSize > 4; --pixelSize) {
        FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(std::lround(kWiden * pixelSize)), pixelSize);
        box = asciiExtent(face);
        if (box.top - box.bottom <= cell - 2 * margin) break;
    }
    const int baseline = (cell + box.top + box.bottom) / 2;  // from the cell top

    Image image(size, size);
    for (int code = 0; code < 256; ++code) {
        if (!printable(code) || FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        const FT_Bitmap& bitmap = g->bitmap;
        const int advance = static_cast<int>(g->advance.x >> 6);
        int left = (cell - advance) / 2 + g->bitmap_left;
        int top = baseline - g->bitmap_top;
        // Accented capitals reach above the ASCII box: shift them to stay in the cell.
        top = std::max(margin, std::min(top, cell - margin - static_cast<int>(bitmap.rows)));
        left = std::max(margin, std::min(left, cell - margin - static_cast<int>(bitmap.width)));
        const int cellX = (code % 16) * cell, cellY = (code / 16) * cell;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= cell || y >= cell) continue;
                const float coverage = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                image.at(cellX + x, cellY + y) = Color{coverage, coverage, coverage};
            }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    // Quality 100: the game turns brightness into alpha, so compression noise
    // around the glyphs would show as grey haze.
    if (!saveJpeg(image, path, 100)) {
        std::fprintf(stderr, "kivo_assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace assetgen
