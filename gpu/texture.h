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

// ---- Texture units ---------------------------------------------------------
// Each sampler of the game reads its own fixed unit: colour textures on 0 and
// 1, the sky on 5, the shadow map on 20, where no colour texture ever goes.
enum TextureUnit : int { firstColorUnit = 0, secondColorUnit = 1, skyUnit = 5, shadowMapUnit = 20 };

// ---- Filters ---------------------------------------------------------------
// What every bind() applies, switched by F4 and F5; each start begins linear
// with linear mip-maps.
constexpr GLint startTextureFilter = GL_LINEAR;
constexpr GLint startMipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
extern GLint textureFilter;  // GL_TEXTURE_MAG_FILTER
extern GLint mipmapFilter;   // GL_TEXTURE_MIN_FILTER

// ---- The game's textures ---------------------------------------------------
// Loaded by scene assembly, deleted by shutdown.
extern Texture* catFurTexture;
extern Texture* asphaltTexture;
extern Texture* starsTexture;
extern Texture* roofTexture;
extern Texture* greyTexture;
extern Texture* metalTexture;
extern Texture* whiteTexture;
extern Texture* grassTexture;
extern Texture* coinTexture;
extern Texture* oldMetalTexture;
extern Texture* fontTexture;
