#include "gpu/texture.h"

#include "base/assets.h"
#include "gpu/image.h"

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

Texture::Texture(const std::string& path) {
    glGenTextures(1, &handle);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, handle);

    std::string problem;
    const std::optional<Image> image = decodeImage(assetPath(path), problem);
    if (!image) {
        reportAssetFailure("Failed to load texture: " + path, path, assetReadable(path) ? problem : "cannot be opened");
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    } else {
        const GLenum format = image->colour ? GL_BGR : GL_LUMINANCE;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image->width, image->height, 0, format, GL_UNSIGNED_BYTE,
                     image->pixels.data());
        glGenerateMipmap(GL_TEXTURE_2D);
    }

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
