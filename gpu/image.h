// An image file decoded into pixels as a texture takes them, with no GL in
// sight, so that what reads the files can be tested and fuzzed on its own.
//
// An image larger than maxImageSide on a side is refused from its header,
// before any pixel is decoded: a few bytes could otherwise ask for
// gigabytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

constexpr unsigned maxImageSide = 8192;  // pixels

struct Image {
    unsigned width = 0, height = 0;     // pixels
    bool colour = true;                 // blue, green, red bytes a pixel; else one grey byte
    std::vector<unsigned char> pixels;  // rows bottom first, each padded to 4 bytes (GL's default unpacking)
};

// The image in the file at `path`, or none with `problem` saying why.
std::optional<Image> decodeImage(const std::string& path, std::string& problem);

// `image` (colour) as the bytes of a PNG file; empty when FreeImage cannot
// encode it.
std::string encodePng(const Image& image);
