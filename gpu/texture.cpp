#include "gpu/texture.h"

#include <FreeImage.h>

#include "base/assets.h"

GLint textureFilter = startTextureFilter;
GLint mipmapFilter = startMipmapFilter;

Texture* catFurTexture = nullptr;
Texture* asphaltTexture = nullptr;
Texture* starsTexture = nullptr;
Texture* roofTexture = nullptr;
Texture* greyTexture = nullptr;
Texture* metalTexture = nullptr;
Texture* whiteTexture = nullptr;
Texture* grassTexture = nullptr;
Texture* coinTexture = nullptr;
Texture* oldMetalTexture = nullptr;
Texture* fontTexture = nullptr;

namespace {

// Decodes `path` into a bitmap of 8 or 24 bits per pixel, or returns null.
FIBITMAP* decodeImage(const std::string& path) {
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return nullptr;
    FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0);
    if (!bitmap) return nullptr;
    const unsigned bpp = FreeImage_GetBPP(bitmap);
    const bool greyscale = bpp == 8 && FreeImage_GetColorType(bitmap) == FIC_MINISBLACK;
    if (bpp == 24 || greyscale) return bitmap;
    // Palettes, 16-bit and 32-bit images would otherwise upload as garbage or
    // not at all; 24-bit colour keeps what the player should see.
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(bitmap);
    FreeImage_Unload(bitmap);
    return converted;
}

}  // namespace

Texture::Texture(const std::string& path) {
    glGenTextures(1, &handle);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, handle);

    FIBITMAP* bitmap = decodeImage(assetPath(path));
    const BYTE* pixels = bitmap ? FreeImage_GetBits(bitmap) : nullptr;
    const unsigned width = bitmap ? FreeImage_GetWidth(bitmap) : 0;
    const unsigned height = bitmap ? FreeImage_GetHeight(bitmap) : 0;
    if (!pixels || width == 0 || height == 0) {
        reportAssetFailure("Failed to load texture: " + path, path,
                           assetReadable(path) ? "not an image FreeImage can read" : "cannot be opened");
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    } else {
        // FreeImage keeps colour as blue, green, red and rows bottom first,
        // each padded to 4 bytes: exactly GL's default unpack layout.
        const GLenum format = FreeImage_GetBPP(bitmap) == 24 ? GL_BGR : GL_LUMINANCE;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
        glGenerateMipmap(GL_TEXTURE_2D);
    }
    if (bitmap) FreeImage_Unload(bitmap);

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_MIRRORED_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_MIRRORED_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

Texture::~Texture() { glDeleteTextures(1, &handle); }

void Texture::bind(int unit) const {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, handle);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmapFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, textureFilter);
}
