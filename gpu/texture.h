// One GL 2D texture decoded from an image file with FreeImage (gpu/image.h).
//
// A file that cannot be read or decoded is reported ("Failed to load
// texture: " and the path, base/assets.h) and gives a texture without an
// image, which samples as opaque black: the game goes on (without the font
// atlas, the HUD shows no text). Images of unusual bit depths are converted
// to 24-bit colour rather than silently dropped.
#pragma once

#include <GL/glew.h>
#include <string>

class Texture {
public:
    GLuint handle = 0;

    explicit Texture(const std::string& path);  // leaves the texture bound on unit 0
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Binds to texture unit `unit` and applies the player's current
    // `mipmapFilter` and `textureFilter`, so hotkey changes show on the next
    // bind. Every texture the passes sample is bound through here.
    void bind(int unit) const;
};
