// Deterministic pseudo-random numbers and tileable noise for the generated
// textures. Everything here is a pure function of its arguments and seed, so
// the generator writes the same bytes on every run.
#pragma once

#include <cstdint>

namespace assetgen {

// Mixes integers into a well-spread 32-bit hash.
uint32_t hash32(uint32_t a, uint32_t b = 0, uint32_t c = 0);

// Hash mapped to [0, 1).
float hashUnit(uint32_t a, uint32_t b = 0, uint32_t c = 0);

// Small sequential generator for scattering strokes, stars and houses.
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed) {}
    uint32_t next();
    float unit();                         // [0, 1)
    float range(float low, float high);   // [low, high)
    int below(int n);                     // 0 .. n-1
private:
    uint32_t state_;
};

// Gradient noise in about [-1, 1] whose lattice repeats every periodX cells in
// x and periodY cells in y, so sampling x in [0, periodX) tiles seamlessly.
float periodicNoise(float x, float y, int periodX, int periodY, uint32_t seed);

// Fractal sum of periodicNoise over the unit square (u, v in [0, 1)): octave k
// has periods (periodX, periodY) * 2^k and weight gain^k; result about [-1, 1].
float fbm(float u, float v, int periodX, int periodY, int octaves, float gain, uint32_t seed);

// Distance from (u, v) to the nearest of one random point per cell of a
// cells x cells grid on the unit torus, in cell units (0 .. about 1.2).
float cellDistance(float u, float v, int cells, uint32_t seed);

float smoothstep(float edge0, float edge1, float x);
float clamp01(float x);
float mix(float a, float b, float t);

}  // namespace assetgen
