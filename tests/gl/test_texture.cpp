// Textures on a real context: colours, filters, and files that are no images.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <fstream>
#include <iterator>

#include "app/globals.h"
#include "gpu/texture.h"
#include "tests/temp_dir.h"

namespace {

class TextureFiles : public ::testing::Test {
protected:
    TempDir dir;

    void TearDown() override {
        textureFilter = GL_LINEAR;
        mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
        glActiveTexture(GL_TEXTURE0);
        while (glGetError() != GL_NO_ERROR) {  // an empty texture's queries may leave errors
        }
    }

    // Saves a 16x16 image of one colour at `bpp` bits per pixel.
    std::string saveImage(const std::string& name, FREE_IMAGE_FORMAT format, int bpp, BYTE r, BYTE g, BYTE b) {
        FIBITMAP* image = FreeImage_Allocate(16, 16, 24);
        RGBQUAD colour{b, g, r, 255};
        FreeImage_FillBackground(image, &colour);
        FIBITMAP* saved = bpp == 8 ? FreeImage_ConvertToGreyscale(image) : bpp == 32 ? FreeImage_ConvertTo32Bits(image) : image;
        const std::string path = dir.path(name);
        EXPECT_TRUE(FreeImage_Save(format, saved, path.c_str(), 0));
        if (saved != image) FreeImage_Unload(saved);
        FreeImage_Unload(image);
        return path;
    }

    // Loads `path`; returns what it wrote to stderr.
    static std::string load(const std::string& path, std::unique_ptr<Texture>& texture) {
        ::testing::internal::CaptureStderr();
        texture = std::make_unique<Texture>(path);
        std::fflush(stderr);
        return ::testing::internal::GetCapturedStderr();
    }

    // The width of level 0 and the RGB texel at its centre (none if empty).
    static std::vector<int> centreTexel(const Texture& texture, int& width) {
        glBindTexture(GL_TEXTURE_2D, texture.handle);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        if (width <= 0) return {};
        std::vector<unsigned char> pixels(size_t(width) * width * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        const size_t centre = (size_t(width / 2) * width + width / 2) * 3;
        return {pixels[centre], pixels[centre + 1], pixels[centre + 2]};
    }
};

TEST_F(TextureFiles, KeepRedAndBlueInPlaceAtEveryBitDepth) {
    struct Case {
        const char* name;
        FREE_IMAGE_FORMAT format;
        int bpp;
        BYTE r, g, b;
        int tolerance;  // JPEG is lossy
    };
    const Case cases[] = {{"red.jpg", FIF_JPEG, 24, 230, 20, 10, 20},
                          {"grey.jpg", FIF_JPEG, 8, 120, 120, 120, 4},
                          {"blue.png", FIF_PNG, 32, 10, 20, 230, 0}};
    for (const Case& c : cases) {
        std::unique_ptr<Texture> texture;
        EXPECT_EQ(load(saveImage(c.name, c.format, c.bpp, c.r, c.g, c.b), texture), "") << c.name;
        int width = 0;
        const std::vector<int> texel = centreTexel(*texture, width);
        EXPECT_EQ(width, 16) << c.name;
        ASSERT_EQ(texel.size(), 3u) << c.name;
        EXPECT_NEAR(texel[0], c.r, c.tolerance) << c.name;
        EXPECT_NEAR(texel[2], c.b, c.tolerance) << c.name;
        if (c.bpp == 8) {
            EXPECT_TRUE(texel[0] == texel[1] && texel[1] == texel[2]) << "grey in all channels";
        }
    }
}

TEST_F(TextureFiles, UnreadableFilesAreReportedAndGiveAnEmptyTexture) {
    std::string jpeg;
    {
        std::ifstream in(saveImage("whole.jpg", FIF_JPEG, 24, 200, 200, 200), std::ios::binary);
        jpeg.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string files[] = {dir.path("missing.jpg"), dir.write("empty.jpg", ""),
                                 dir.write("text.jpg", "this is not an image\n"),
                                 dir.write("truncated.jpg", jpeg.substr(0, 20))};
    for (const std::string& path : files) {
        std::unique_ptr<Texture> texture;
        EXPECT_EQ(load(path, texture), "Failed to load texture: " + path);
        ASSERT_NE(texture->handle, 0u);
        int width = -1;
        centreTexel(*texture, width);
        EXPECT_EQ(width, 0) << path;
    }
}

TEST_F(TextureFiles, BindAppliesTheCurrentFiltersOnItsUnit) {
    std::unique_ptr<Texture> texture;
    load(saveImage("any.jpg", FIF_JPEG, 24, 1, 2, 3), texture);
    textureFilter = GL_NEAREST;
    mipmapFilter = GL_NEAREST_MIPMAP_NEAREST;
    texture->bind(3);
    GLint active = 0, bound = 0, minFilter = 0, magFilter = 0, wrap = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(active, GL_TEXTURE3);
    EXPECT_EQ(GLuint(bound), texture->handle);
    EXPECT_EQ(minFilter, GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(magFilter, GL_NEAREST);
    EXPECT_EQ(wrap, GL_MIRRORED_REPEAT);
}

}  // namespace
