#include "image.h"

#include <FreeImage.h>
#include <cmath>

#include "noise.h"

namespace assetgen {

Color mixColor(Color a, Color b, float t) {
    return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}

Color scaleColor(Color c, float s) { return {c.r * s, c.g * s, c.b * s}; }

Image::Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, Color{0, 0, 0}) {}

namespace {
int wrapIndex(int i, int n) {
    const int r = i % n;
    return r < 0 ? r + n : r;
}
}  // namespace

void Image::addWrapped(int x, int y, Color c, float weight) {
    Color& p = at(wrapIndex(x, width), wrapIndex(y, height));
    p.r += c.r * weight;
    p.g += c.g * weight;
    p.b += c.b * weight;
}

void Image::blendWrapped(int x, int y, Color c, float weight) {
    Color& p = at(wrapIndex(x, width), wrapIndex(y, height));
    p = mixColor(p, c, weight);
}

unsigned char toByte(float v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0f)); }

bool saveJpeg(const Image& image, const std::string& path, int quality) {
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 24);
    if (!bitmap) return false;
    for (int y = 0; y < image.height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const Color& c = image.at(x, y);
            line[3 * x + FI_RGBA_RED] = toByte(c.r);
            line[3 * x + FI_RGBA_GREEN] = toByte(c.g);
            line[3 * x + FI_RGBA_BLUE] = toByte(c.b);
        }
    }
    // Full chroma resolution: the glyph atlas and thin stars would smear with
    // subsampled colour.
    const int flags = quality | JPEG_SUBSAMPLING_444 | JPEG_OPTIMIZE | JPEG_BASELINE;
    const bool ok = FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), flags) != 0;
    FreeImage_Unload(bitmap);
    return ok;
}

}  // namespace assetgen
