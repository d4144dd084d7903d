#include "icon.h"

#include <FreeImage.h>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "image.h"
#include "noise.h"

namespace assetgen {
namespace {

// Coverage of the rounded tile at (x, y), both in 0..1, with a pixel of soft edge.
float tileCoverage(float x, float y, float pixel) {
    constexpr float margin = 0.03f, radius = 0.2f;
    const float qx = std::max(std::fabs(x - 0.5f) - (0.5f - margin - radius), 0.0f);
    const float qy = std::max(std::fabs(y - 0.5f) - (0.5f - margin - radius), 0.0f);
    const float outside = std::sqrt(qx * qx + qy * qy) - radius;
    return clamp01(0.5f - outside / pixel);
}

// The picture, y downwards as viewed: sky above the horizon at y 0.46, the
// street narrowing towards it, the cat low in the middle.
Color iconColor(float x, float y) {
    constexpr float horizon = 0.46f;
    Color c = mixColor(Color{0.03f, 0.04f, 0.12f}, Color{0.10f, 0.09f, 0.24f}, smoothstep(0.05f, horizon, y));
    if (y > horizon) {
        // The street: a floor between two walls, all meeting at the middle of the horizon.
        const float depth = (y - horizon) / (1.0f - horizon);
        const float halfWidth = 0.06f + 0.5f * depth;
        const float across = std::fabs(x - 0.5f) / halfWidth;
        const Color floor = mixColor(Color{0.16f, 0.17f, 0.21f}, Color{0.33f, 0.34f, 0.38f}, depth);
        const Color wall{0.22f, 0.23f, 0.28f};
        c = across < 1.0f ? floor : mixColor(wall, c, smoothstep(1.0f, 1.6f, across));
    }
    // The trail: embers streaming back from the cat towards the viewer.
    Rng rng(71);
    for (int i = 0; i < 140; ++i) {
        const float t = rng.unit();
        const float ex = 0.5f + (rng.unit() - 0.5f) * (0.05f + 0.35f * t);
        const float ey = 0.6f + 0.38f * t + (rng.unit() - 0.5f) * 0.05f;
        const float r = 0.006f + 0.012f * t;
        const float d2 = ((x - ex) * (x - ex) + (y - ey) * (y - ey)) / (r * r);
        if (d2 < 4.0f) c = mixColor(c, Color{1.0f, 0.55f, 0.15f}, 0.8f * std::exp(-d2));
    }
    // The cat: a gold sphere lit from above, with a bright spot.
    const float dx = (x - 0.5f) / 0.17f, dy = (y - 0.58f) / 0.17f, r2 = dx * dx + dy * dy;
    if (r2 < 1.0f) {
        const float nz = std::sqrt(1.0f - r2);
        const float light = clamp01(0.25f + 0.75f * (-0.55f * dy + 0.35f * -dx + 0.75f * nz));
        Color gold = scaleColor(Color{0.95f, 0.68f, 0.22f}, 0.35f + 0.75f * light);
        const float shine = std::pow(clamp01(1.0f - ((dx + 0.35f) * (dx + 0.35f) + (dy + 0.45f) * (dy + 0.45f)) * 5.0f), 2.0f);
        gold = mixColor(gold, Color{1.0f, 0.97f, 0.85f}, shine);
        c = mixColor(c, gold, clamp01((1.0f - r2) * 30.0f));
    }
    return c;
}

}  // namespace

bool writeIcon(const std::string& path, int size) {
    FIBITMAP* bitmap = FreeImage_Allocate(size, size, 32);
    bool ok = bitmap != nullptr;
    // Four by four samples a pixel keep the sphere's and the tile's edges smooth.
    constexpr int grid = 4;
    for (int y = 0; ok && y < size; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, size - 1 - y);
        for (int x = 0; x < size; ++x) {
            Color sum{0, 0, 0};
            for (int sy = 0; sy < grid; ++sy)
                for (int sx = 0; sx < grid; ++sx) {
                    const Color c = iconColor((x + (sx + 0.5f) / grid) / size, (y + (sy + 0.5f) / grid) / size);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            Color c = scaleColor(sum, 1.0f / (grid * grid));
            const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
            if (v < 0.44f && hashUnit(x, y, 73) < 0.008f) c = mixColor(c, Color{0.9f, 0.92f, 1.0f}, 0.4f + 0.6f * hashUnit(x, y, 74));
            line[4 * x + FI_RGBA_RED] = toByte(c.r);
            line[4 * x + FI_RGBA_GREEN] = toByte(c.g);
            line[4 * x + FI_RGBA_BLUE] = toByte(c.b);
            line[4 * x + FI_RGBA_ALPHA] = toByte(tileCoverage(u, v, 1.0f / size));
        }
    }
    ok = ok && FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_Z_BEST_COMPRESSION) != 0;
    if (bitmap) FreeImage_Unload(bitmap);
    if (!ok) std::fprintf(stderr, "kivo_assetgen: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace assetgen
