#include "gpu/image.h"

#include <FreeImage.h>

#include <cstdio>
#include <tuple>
#include <utility>

namespace {

// A JPEG's size read from its frame header by us: FreeImage's own header-only
// load starts the decoder, which for a frame of 30000 x 30000 takes gigabytes
// before it says how large the image is. None when the markers end, break or
// reach the scan before a frame header, as in no JPEG a decoder would take.
std::optional<std::pair<unsigned, unsigned>> jpegFrameSize(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::optional<std::pair<unsigned, unsigned>> size;
    auto byte = [file] { return std::fgetc(file); };
    if (byte() == 0xFF && byte() == 0xD8) {
        for (;;) {
            int marker = byte();
            if (marker != 0xFF) break;
            while (marker == 0xFF) marker = byte();
            if (marker == EOF || marker == 0xD9 || marker == 0xDA) break;
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // markers without a length
            const int high = byte(), low = byte();
            if (low == EOF) break;
            const long length = high << 8 | low;  // bytes, the length field included
            if (length < 2) break;
            const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
            if (frame) {
                unsigned char header[5];  // precision, height, width
                if (length < 7 || std::fread(header, 1, 5, file) != 5) break;
                size = std::make_pair(unsigned(header[3] << 8 | header[4]), unsigned(header[1] << 8 | header[2]));
                break;
            }
            if (std::fseek(file, length - 2, SEEK_CUR) != 0) break;
        }
    }
    std::fclose(file);
    return size;
}

}  // namespace

std::optional<Image> decodeImage(const std::string& path, std::string& problem) {
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        problem = "not an image FreeImage can read";
        return std::nullopt;
    }
    unsigned width = 0, height = 0;
    if (format == FIF_JPEG) {
        const std::optional<std::pair<unsigned, unsigned>> size = jpegFrameSize(path);
        if (!size) {
            problem = "a JPEG without a frame header";
            return std::nullopt;
        }
        std::tie(width, height) = *size;
    } else {
        FIBITMAP* header = FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS);
        width = header ? FreeImage_GetWidth(header) : 0, height = header ? FreeImage_GetHeight(header) : 0;
        if (header) FreeImage_Unload(header);
    }
    if (width > maxImageSide || height > maxImageSide) {
        problem = std::to_string(width) + " x " + std::to_string(height) + " pixels, more than " +
                  std::to_string(maxImageSide) + " a side";
        return std::nullopt;
    }
    FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0);
    const unsigned bpp = bitmap ? FreeImage_GetBPP(bitmap) : 0;
    const bool greyscale = bpp == 8 && FreeImage_GetColorType(bitmap) == FIC_MINISBLACK;
    if (bitmap && bpp != 24 && !greyscale) {
        // Palettes, 16-bit and 32-bit images would otherwise upload as garbage
        // or not at all; 24-bit colour keeps what the player should see.
        FIBITMAP* converted = FreeImage_ConvertTo24Bits(bitmap);
        FreeImage_Unload(bitmap);
        bitmap = converted;
    }
    Image image;
    const BYTE* bits = bitmap ? FreeImage_GetBits(bitmap) : nullptr;
    if (bits) {
        image.width = FreeImage_GetWidth(bitmap);
        image.height = FreeImage_GetHeight(bitmap);
        image.colour = FreeImage_GetBPP(bitmap) == 24;
        image.pixels.assign(bits, bits + size_t(FreeImage_GetPitch(bitmap)) * image.height);
    }
    if (bitmap) FreeImage_Unload(bitmap);
    if (image.width == 0 || image.height == 0 || image.width > maxImageSide || image.height > maxImageSide) {
        problem = "not an image FreeImage can read";
        return std::nullopt;
    }
    return image;
}

std::string encodePng(const Image& image) {
    const unsigned pitch = (image.width * 3 + 3) / 4 * 4;
    if (!image.colour || image.pixels.size() < size_t(pitch) * image.height) return {};
    // The raw bits are taken as they lie in memory: blue, green, red, rows bottom first.
    FIBITMAP* bitmap =
        FreeImage_ConvertFromRawBits(const_cast<BYTE*>(image.pixels.data()), int(image.width), int(image.height),
                                     int(pitch), 24, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    if (!bitmap) return {};
    std::string bytes;
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (memory && FreeImage_SaveToMemory(FIF_PNG, bitmap, memory, PNG_DEFAULT)) {
        BYTE* data = nullptr;
        DWORD size = 0;
        if (FreeImage_AcquireMemory(memory, &data, &size)) bytes.assign(reinterpret_cast<char*>(data), size);
    }
    if (memory) FreeImage_CloseMemory(memory);
    FreeImage_Unload(bitmap);
    return bytes;
}
