// Surface textures. The game samples them with GL_MIRRORED_REPEAT, which hides
// seams by itself, but mirroring shows as obvious symmetry on large features;
// every pattern here is therefore also truly periodic on the unit square
// (periodic noise, wrapped strokes), so repeated tiles simply continue.
#include "textures.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/constants.hpp>
#include <cstdio>
#include <functional>
#include <vector>

#include "image.h"
#include "noise.h"

namespace assetgen {
namespace {

constexpr float kPi = glm::pi<float>();

// Calls `shade(u, v, x, y)` for every pixel centre; u, v in (0, 1).
void fill(Image& image, const std::function<Color(float, float, int, int)>& shade) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.at(x, y) = shade((x + 0.5f) / image.width, (y + 0.5f) / image.height, x, y);
}

float texelNoise(int x, int y, uint32_t seed) { return hashUnit(x, y, seed) - 0.5f; }

// Ginger tabby fur: long strands running down the picture, soft dark bands.
Image furTexture(int size) {
    Image image(size, size);
    fill(image, [](float u, float v, int x, int y) {
        const float strands = fbm(u, v, 64, 6, 3, 0.6f, 11);
        const float fine = periodicNoise(u * 160, v * 12, 160, 12, 12);
        const float clumps = fbm(u, v, 5, 4, 3, 0.5f, 13);
        const float wave = 0.18f * fbm(u, v, 3, 2, 3, 0.5f, 14);
        const float band = 0.5f + 0.5f * std::sin(2.0f * kPi * (4.0f * v + wave + 0.05f * strands));
        const float stripe = smoothstep(0.55f, 0.9f, band);
        const Color ginger{0.86f, 0.52f, 0.22f}, cream{0.96f, 0.80f, 0.56f}, dark{0.46f, 0.22f, 0.08f};
        Color c = mixColor(ginger, cream, clamp01(0.35f + 0.5f * clumps));
        c = mixColor(c, dark, 0.75f * stripe);
        return scaleColor(c, 0.78f + 0.16f * strands + 0.08f * fine + 0.04f * texelNoise(x, y, 15));
    });
    return image;
}

// Dark asphalt with light and dark grit.
Image asphaltTexture(int size) {
    Image image(size, size);
    fill(image, [](float u, float v, int x, int y) {
        const float large = fbm(u, v, 4, 4, 4, 0.5f, 21);
        const float grit = fbm(u, v, 48, 48, 2, 0.5f, 22);
        float g = 0.23f + 0.035f * large + 0.06f * texelNoise(x, y, 23);
        g += 0.16f * smoothstep(0.35f, 0.6f, grit);   // light stones
        g -= 0.10f * smoothstep(-0.45f, -0.65f, grit); // pits
        return Color{g, g * 1.01f, g * 1.05f};
    });
    return image;
}

// Night sky: near-black blue with faint nebulae and stars of every brightness.
Image starsTexture(int size) {
    Image image(size, size);
    fill(image, [](float u, float v, int, int) {
        const float nebula = smoothstep(0.05f, 0.75f, fbm(u, v, 3, 3, 5, 0.55f, 31));
        const float violet = smoothstep(0.2f, 0.8f, fbm(u, v, 2, 2, 5, 0.6f, 32));
        return Color{0.006f + 0.035f * nebula + 0.03f * violet, 0.009f + 0.02f * nebula,
                     0.035f + 0.09f * nebula + 0.04f * violet};
    });
    Rng rng(33);
    const Color bluish{0.78f, 0.86f, 1.0f}, warm{1.0f, 0.9f, 0.74f}, white{1.0f, 1.0f, 1.0f};
    for (int i = 0; i < 900; ++i) {
        const float cx = rng.unit() * size, cy = rng.unit() * size;
        const float brightness = 0.15f + 0.85f * std::pow(rng.unit(), 5.0f);
        const float tintPick = rng.unit();
        const Color tint = tintPick < 0.35f ? bluish : tintPick < 0.6f ? warm : white;
        const float sigma = 0.55f + 0.9f * brightness;
        const int reach = static_cast<int>(std::ceil(3.0f * sigma));
        const int px = static_cast<int>(cx), py = static_cast<int>(cy);
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                const float ex = px + dx + 0.5f - cx, ey = py + dy + 0.5f - cy;
                const float w = brightness * std::exp(-(ex * ex + ey * ey) / (2.0f * sigma * sigma));
                image.addWrapped(px + dx, py + dy, tint, 1.6f * w);
            }
        // The brightest few get a short four-point glare.
        if (brightness > 0.7f) {
            for (int d = 2; d <= 9; ++d) {
                const float w = 0.5f * brightness * std::pow(1.0f - d / 10.0f, 2.0f);
                image.addWrapped(px + d, py, tint, w);
                image.addWrapped(px - d, py, tint, w);
                image.addWrapped(px, py + d, tint, w);
                image.addWrapped(px, py - d, tint, w);
            }
        }
    }
    return image;
}

// Rows of rounded terracotta roof tiles, each row overlapping the one below.
Image roofTexture(int size) {
    Image image(size, size);
    constexpr int rows = 8, cols = 8;
    fill(image, [](float u, float v, int x, int y) {
        const float ty = v * rows;
        const int row = static_cast<int>(ty);
        const float fy = ty - row;
        const float tx = u * cols + (row % 2 ? 0.5f : 0.0f);
        const int col = static_cast<int>(tx) % cols;
        const float fx = tx - std::floor(tx);
        const float pick = hashUnit(col, row, 41);
        Color c = mixColor(Color{0.60f, 0.24f, 0.14f}, Color{0.76f, 0.37f, 0.20f}, pick);
        if (hashUnit(col, row, 42) < 0.15f) c = scaleColor(c, 0.75f);
        const float roundness = 0.78f + 0.3f * std::sin(kPi * fx) - 0.12f * std::cos(kPi * fx);
        const float overlapShadow = 1.0f - 0.55f * smoothstep(0.72f, 1.0f, fy);
        const float topLight = 1.0f + 0.12f * smoothstep(0.2f, 0.0f, fy);
        const float gap = smoothstep(0.0f, 0.05f, fx) * smoothstep(1.0f, 0.95f, fx);
        const float grain = 0.9f + 0.1f * fbm(v, u, 32, 32, 3, 0.5f, 43) + 0.05f * texelNoise(x, y, 44);
        return scaleColor(c, roundness * overlapShadow * topLight * (0.45f + 0.55f * gap) * grain);
    });
    return image;
}

// A flat colour with a faint cloudy variation, for plain surfaces.
Image plainTexture(int size, Color base, float variation, uint32_t seed) {
    Image image(size, size);
    fill(image, [=](float u, float v, int x, int y) {
        const float s = 1.0f + variation * fbm(u, v, 4, 4, 5, 0.5f, seed) +
                        0.25f * variation * texelNoise(x, y, seed + 1);
        return scaleColor(base, s);
    });
    return image;
}

// Brushed steel: fine streaks along u and only faint large-scale variation, so
// hundreds of repetitions along the street read as one surface, not a grid.
Image brushedMetalTexture(int size) {
    Image image(size, size);
    fill(image, [size](float u, float v, int x, int y) {
        const float streaks = 0.5f * periodicNoise(u * 2, v * 96, 2, 96, 51) +
                              0.3f * periodicNoise(u * 4, v * 256, 4, 256, 52) +
                              0.2f * periodicNoise(u * 8, v * size, 8, size, 53);
        const float large = fbm(u, v, 2, 2, 3, 0.5f, 54);
        const float s = 1.0f + 0.06f * streaks + 0.025f * large + 0.015f * texelNoise(x, y, 55);
        return scaleColor(Color{0.60f, 0.62f, 0.655f}, s);
    });
    return image;
}

// Grass: a mottled green ground covered with thousands of short blades.
Image grassTexture(int size) {
    Image image(size, size);
    fill(image, [](float u, float v, int x, int y) {
        const float m = fbm(u, v, 4, 4, 5, 0.55f, 61);
        Color c = mixColor(Color{0.10f, 0.20f, 0.06f}, Color{0.20f, 0.34f, 0.10f}, clamp01(0.5f + 0.7f * m));
        return scaleColor(c, 0.9f + 0.2f * texelNoise(x, y, 62));
    });
    Rng rng(63);
    const float scale = size / 512.0f;
    for (int i = 0; i < 14000; ++i) {
        const float bx = rng.unit() * size, by = rng.unit() * size;
        const float length = scale * rng.range(7.0f, 17.0f);
        const float angle = rng.range(-0.35f, 0.35f);
        const float hue = rng.unit();
        const float u = bx / size, v = by / size;
        const float patch = clamp01(0.5f + 0.8f * fbm(u, v, 4, 4, 3, 0.5f, 64));
        Color c = mixColor(Color{0.22f, 0.45f, 0.12f}, Color{0.42f, 0.64f, 0.20f}, hue);
        if (hue > 0.93f) c = Color{0.58f, 0.60f, 0.26f};  // a few dry blades
        c = scaleColor(c, 0.8f + 0.35f * patch);
        const float dx = std::sin(angle), dy = -std::cos(angle);
        for (float t = 0.0f; t <= length; t += 0.5f) {
            const float px = bx + dx * t + 0.35f * dx * t * t / length;  // blades bend a little
            const float py = by + dy * t;
            const float along = t / length;
            const Color shade = scaleColor(c, 0.65f + 0.45f * along);
            const float alpha = 0.9f * (1.0f - 0.5f * along);
            // Bilinear splat keeps the blades smooth.
            const int ix = static_cast<int>(std::floor(px - 0.5f)), iy = static_cast<int>(std::floor(py - 0.5f));
            const float fx = px - 0.5f - ix, fy = py - 0.5f - iy;
            image.blendWrapped(ix, iy, shade, alpha * (1 - fx) * (1 - fy));
            image.blendWrapped(ix + 1, iy, shade, alpha * fx * (1 - fy));
            image.blendWrapped(ix, iy + 1, shade, alpha * (1 - fx) * fy);
            image.blendWrapped(ix + 1, iy + 1, shade, alpha * fx * fy);
        }
    }
    return image;
}

// Signed distance to a five-pointed star centred at the origin, negative inside.
float starDistance(float x, float y, float outer, float inner) {
    float px[10], py[10];
    for (int k = 0; k < 10; ++k) {
        const float r = k % 2 ? inner : outer;
        const float a = -kPi / 2 + k * kPi / 5;  // first point straight up (y grows downward)
        px[k] = r * std::cos(a);
        py[k] = r * std::sin(a);
    }
    float best = 1e9f;
    bool inside = false;
    for (int i = 0, j = 9; i < 10; j = i++) {
        const float ex = px[i] - px[j], ey = py[i] - py[j];
        const float t = clamp01(((x - px[j]) * ex + (y - py[j]) * ey) / (ex * ex + ey * ey));
        best = std::min(best, std::hypot(x - px[j] - t * ex, y - py[j] - t * ey));
        if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
            inside = !inside;
    }
    return inside ? -best : best;
}

// Relief height of the coin face at (x, y), both in -0.5 .. 0.5.
float coinHeight(float x, float y) {
    const float r = std::hypot(x, y);
    const float coin = smoothstep(0.475f, 0.46f, r);
    const float rim = smoothstep(0.385f, 0.40f, r);
    float h = coin * (0.35f + 0.65f * rim);
    const float angle = std::atan2(y, x);
    const float dotPhase = angle * 24.0f / (2.0f * kPi);
    const float dotOffset = (dotPhase - std::round(dotPhase)) * (2.0f * kPi * 0.355f / 24.0f);
    const float dotDistance = std::hypot(r - 0.355f, dotOffset);
    h += 0.3f * smoothstep(0.014f, 0.004f, dotDistance);
    h += 0.45f * smoothstep(0.0f, -0.025f, starDistance(x, y, 0.23f, 0.095f));
    return h;
}

// A gold coin face with a raised rim, a ring of dots and a star, on warm gold.
// The coin model maps one face onto the whole picture; the particles and the
// cat show the picture as it is.
Image coinTexture(int size) {
    std::vector<float> height(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            height[static_cast<size_t>(y) * size + x] = coinHeight((x + 0.5f) / size - 0.5f, (y + 0.5f) / size - 0.5f);
    auto h = [&](int x, int y) {
        x = std::min(size - 1, std::max(0, x));
        y = std::min(size - 1, std::max(0, y));
        return height[static_cast<size_t>(y) * size + x];
    };
    const float lx = -0.45f, ly = -0.55f, lz = 0.70f;  // light from the upper left
    Image image(size, size);
    fill(image, [&](float u, float v, int x, int y) {
        const float relief = 12.0f * size / 256.0f;
        const float nx = -(h(x + 1, y) - h(x - 1, y)) * relief, ny = -(h(x, y + 1) - h(x, y - 1)) * relief;
        const float len = std::sqrt(nx * nx + ny * ny + 1.0f);
        const float diffuse = (nx * lx + ny * ly + lz) / len;
        const float highlight = std::pow(clamp01(diffuse), 24.0f);
        const float grain = 0.06f * fbm(u, v, 16, 16, 3, 0.5f, 71);
        const float tone = clamp01(0.2f + 0.75f * diffuse + grain + 0.25f * h(x, y));
        Color c = mixColor(Color{0.45f, 0.28f, 0.05f}, Color{0.93f, 0.70f, 0.25f}, tone);
        return mixColor(c, Color{1.0f, 0.95f, 0.70f}, 0.6f * highlight);
    });
    return image;
}

// Old steel plate: grey metal eaten by patches of rust, with pits and scratches.
Image oldMetalTexture(int size) {
    Image image(size, size);
    fill(image, [size](float u, float v, int x, int y) {
        const float metalVar = fbm(u, v, 8, 8, 4, 0.5f, 81);
        const float streak = periodicNoise(u * 4, v * 128, 4, 128, 82);
        Color metal = scaleColor(Color{0.44f, 0.45f, 0.47f}, 0.85f + 0.15f * metalVar + 0.04f * streak);
        const float mask = fbm(u, v, 3, 3, 6, 0.58f, 83) + 0.45f * (0.55f - cellDistance(u, v, 4, 84));
        const float rust = smoothstep(-0.02f, 0.22f, mask);
        const float stain = smoothstep(-0.18f, -0.02f, mask) * (1.0f - rust);
        const float rustVar = fbm(u, v, 16, 16, 4, 0.6f, 85);
        Color rustColor = mixColor(Color{0.60f, 0.29f, 0.10f}, Color{0.28f, 0.12f, 0.05f}, clamp01(0.5f + 0.8f * rustVar));
        rustColor = scaleColor(rustColor, 0.9f + 0.12f * (hashUnit(x, y, 86) - 0.5f) +
                                              0.12f * periodicNoise(u * 64, v * 64, 64, 64, 89));
        metal = mixColor(metal, Color{0.36f, 0.25f, 0.17f}, 0.55f * stain);
        Color c = mixColor(metal, rustColor, rust);
        const float pit = fbm(u, v, size / 8, size / 8, 2, 0.5f, 87);
        if (pit < -0.55f) c = scaleColor(c, 0.55f);
        return c;
    });
    // A few bright scratches across the bare metal.
    Rng rng(88);
    for (int i = 0; i < 14; ++i) {
        const float x0 = rng.unit() * size, y0 = rng.unit() * size;
        const float angle = rng.range(0.0f, kPi), length = rng.range(0.04f, 0.14f) * size;
        for (float t = 0; t < length; t += 0.5f) {
            const int px = static_cast<int>(x0 + std::cos(angle) * t), py = static_cast<int>(y0 + std::sin(angle) * t);
            image.blendWrapped(px, py, Color{0.66f, 0.66f, 0.68f}, 0.22f * std::sin(kPi * t / length));
        }
    }
    return image;
}

struct TextureJob {
    const char* file;
    std::function<Image()> make;
};

}  // namespace

bool writeSurfaceTextures(const std::string& texturDir) {
    const TextureJob jobs[] = {
        {"katzenfell.jpg", [] { return furTexture(256); }},
        {"asphalt2.jpg", [] { return asphaltTexture(256); }},
        {"sterne.jpg", [] { return starsTexture(512); }},
        {"dach2.jpg", [] { return roofTexture(256); }},
        {"grau.jpg", [] { return plainTexture(256, Color{0.50f, 0.50f, 0.52f}, 0.08f, 91); }},
        {"metall.jpg", [] { return brushedMetalTexture(512); }},
        {"weiss.jpg", [] { return plainTexture(256, Color{0.95f, 0.95f, 0.95f}, 0.03f, 92); }},
        {"grass.jpg", [] { return grassTexture(512); }},
        {"coin.jpg", [] { return coinTexture(256); }},
        {"metallOld.jpg", [] { return oldMetalTexture(512); }},
    };
    for (const TextureJob& job : jobs) {
        const std::string path = texturDir + "/" + job.file;
        if (!saveJpeg(job.make(), path, 90)) {
            std::fprintf(stderr, "kivo_assetgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
