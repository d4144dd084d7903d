// An RGB picture in memory and its JPEG encoding.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct Color {
    float r, g, b;  // 0..1
};

Color mixColor(Color a, Color b, float t);
Color scaleColor(Color c, float s);
// A channel of 0..1 (clamped) as the byte an 8-bit image stores.
unsigned char toByte(float v);

// Rows are stored top row first, as the picture is viewed.
struct Image {
    Image(int width, int height);
    int width, height;
    std::vector<Color> pixels;
    Color& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Color& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Adds `c * weight` at (x, y), wrapping coordinates around the edges.
    void addWrapped(int x, int y, Color c, float weight);
    // Blends towards `c` by `weight` at (x, y), wrapping around the edges.
    void blendWrapped(int x, int y, Color c, float weight);
};

// Writes a 24-bit baseline JPEG through FreeImage; quality 1..100. FreeImage
// stores rows bottom first, so the top row of `image` becomes the last
// scanline. Returns false when FreeImage cannot write the file.
bool saveJpeg(const Image& image, const std::string& path, int quality);

}  // namespace assetgen
