#include "base/screen_fit.h"

#include <algorithm>
#include <cmath>
#include <numeric>

PixelSize fitWindowSize(PixelSize shape, PixelSize room) {
    if (shape.width <= room.width && shape.height <= room.height) return shape;
    const int divisor = std::gcd(shape.width, shape.height);
    const int unitWidth = shape.width / divisor, unitHeight = shape.height / divisor;
    const int units = std::min(room.width / unitWidth, room.height / unitHeight);
    if (units >= 1) return {units * unitWidth, units * unitHeight};
    const double scale = std::min(double(room.width) / shape.width, double(room.height) / shape.height);
    return {std::max(1, int(std::lround(shape.width * scale))), std::max(1, int(std::lround(shape.height * scale)))};
}

Viewport centredViewport(PixelSize framebuffer, PixelSize shape) {
    if (framebuffer.width <= 0 || framebuffer.height <= 0 || shape.width <= 0 || shape.height <= 0) return {0, 0, 0, 0};
    // Compare the proportions in integers, so a framebuffer of exactly the
    // shape's proportions is covered to the last pixel.
    const long long wide = 1LL * framebuffer.width * shape.height, tall = 1LL * framebuffer.height * shape.width;
    int width = framebuffer.width, height = framebuffer.height;
    if (wide > tall) width = int(std::lround(double(framebuffer.height) * shape.width / shape.height));
    if (wide < tall) height = int(std::lround(double(framebuffer.width) * shape.height / shape.width));
    return {(framebuffer.width - width) / 2, (framebuffer.height - height) / 2, width, height};
}
