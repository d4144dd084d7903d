#include "gpu/image.h"

#include <FreeImage.h>

std::optional<Image> decodeImage(const std::string& path, std::string& problem) {
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        problem = "not an image FreeImage can read";
        return std::nullopt;
    }
    FIBITMAP* header = FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS);
    const unsigned width = header ? FreeImage_GetWidth(header) : 0, height = header ? FreeImage_GetHeight(header) : 0;
    if (header) FreeImage_Unload(header);
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
