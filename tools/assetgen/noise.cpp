#include "noise.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

uint32_t hash32(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float hashUnit(uint32_t a, uint32_t b, uint32_t c) {
    return static_cast<float>(hash32(a, b, c) >> 8) * (1.0f / 16777216.0f);
}

uint32_t Rng::next() {
    // xorshift32 needs a non-zero state.
    if (state_ == 0) state_ = 0x1234567u;
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

float Rng::unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }

float Rng::range(float low, float high) { return low + (high - low) * unit(); }

int Rng::below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

namespace {

int wrap(int i, int period) {
    const int r = i % period;
    return r < 0 ? r + period : r;
}

// Unit gradient at a lattice point, one of 16 evenly spread directions.
void gradient(int ix, int iy, uint32_t seed, float& gx, float& gy) {
    const float angle = static_cast<float>(hash32(ix, iy, seed) & 15u) * (6.2831853f / 16.0f);
    gx = std::cos(angle);
    gy = std::sin(angle);
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

float periodicNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const float dx = x - fx, dy = y - fy;
    float corner[4];
    for (int k = 0; k < 4; ++k) {
        const int cx = k & 1, cy = k >> 1;
        float gx, gy;
        gradient(wrap(x0 + cx, periodX), wrap(y0 + cy, periodY), seed, gx, gy);
        corner[k] = gx * (dx - cx) + gy * (dy - cy);
    }
    const float u = fade(dx), v = fade(dy);
    // Gradient noise peaks near +-0.7; scale it to about +-1.
    return 1.4f * mix(mix(corner[0], corner[1], u), mix(corner[2], corner[3], u), v);
}

float fbm(float u, float v, int periodX, int periodY, int octaves, float gain, uint32_t seed) {
    float sum = 0.0f, weight = 1.0f, norm = 0.0f;
    for (int k = 0; k < octaves; ++k) {
        const int px = periodX << k, py = periodY << k;
        sum += weight * periodicNoise(u * px, v * py, px, py, seed + 101u * k);
        norm += weight;
        weight *= gain;
    }
    return sum / norm;
}

float cellDistance(float u, float v, int cells, uint32_t seed) {
    const float x = u * cells, y = v * cells;
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    float best = 1e9f;
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const int ix = cx + ox, iy = cy + oy;
            const int wx = wrap(ix, cells), wy = wrap(iy, cells);
            const float px = ix + hashUnit(wx, wy, seed);
            const float py = iy + hashUnit(wx, wy, seed + 7u);
            best = std::min(best, std::hypot(px - x, py - y));
        }
    }
    return best;
}

float smoothstep(float edge0, float edge1, float x) {
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float clamp01(float x) { return std::min(1.0f, std::max(0.0f, x)); }

float mix(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace assetgen
