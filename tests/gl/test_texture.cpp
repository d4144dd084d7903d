// Textures on a real context: colours, filters, and files that are no images.
#include <gtest/gtest.h>

#include <FreeImage.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/globals.h"
#include "gpu/texture.h"

namespace fs = std::filesystem;

namespace {

struct TextureFiles : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kivo_texture_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override {
        fs::remove_all(dir);
        textureFilter = GL_LINEAR;
        mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
    }

    // Saves a 16x16 image of one colour at `bpp` bits per pixel.
    std::string saveImage(const std::string& name, FREE_IMAGE_FORMAT format, int bpp, RGBQUAD colour) {
        FIBITMAP* image = FreeImage_Allocate(16, 16, 24);
        FreeImage_FillBackground(image, &colour);
        FIBITMAP* saved = image;
        if (bpp == 8) saved = FreeImage_ConvertToGreyscale(image);
        if (bpp == 32) saved = FreeImage_ConvertTo32Bits(image);
        const std::string path = (dir / name).string();
        EXPECT_TRUE(FreeImage_Save(format, saved, path.c_str(), 0));
        if (saved != image) FreeImage_Unload(saved);
        FreeImage_Unload(image);
        return path;
    }

    // The texel at the centre of level 0 of the texture bound on unit 0.
    static std::vector<unsigned char> centreTexel(const Texture& texture, int& width) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture.handle);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        if (width == 0) return {};
        std::vector<unsigned char> pixels(size_t(width) * width * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        const size_t centre = (size_t(width / 2) * width + width / 2) * 3;
        return {pixels[centre], pixels[centre + 1], pixels[centre + 2]};
    }

    // Loads `path` and returns what it wrote to stderr.
    static std::string loadCapturingStderr(const std::string& path, std::unique_ptr<Texture>& texture) {
        ::testing::internal::CaptureStderr();
        texture = std::make_unique<Texture>(path);
        std::fflush(stderr);
        return ::testing::internal::GetCapturedStderr();
    }
};

RGBQUAD rgb(BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 255}; }

}  // namespace

TEST_F(TextureFiles, ColourJpegKeepsRedAndBlueInPlace) {
    std::unique_ptr<Texture> texture;
    EXPECT_EQ(loadCapturingStderr(saveImage("red.jpg", FIF_JPEG, 24, rgb(230, 20, 10)), texture), "");
    int width = 0;
    const auto texel = centreTexel(*texture, width);
    EXPECT_EQ(width, 16);
    ASSERT_EQ(texel.size(), 3u);
    EXPECT_GT(texel[0], 200);
    EXPECT_LT(texel[2], 50);
}

TEST_F(TextureFiles, GreyscaleJpegReadsBackGreyInAllChannels) {
    std::unique_ptr<Texture> texture;
    loadCapturingStderr(saveImage("grey.jpg", FIF_JPEG, 8, rgb(120, 120, 120)), texture);
    int width = 0;
    const auto texel = centreTexel(*texture, width);
    ASSERT_EQ(texel.size(), 3u);
    EXPECT_NEAR(texel[0], 120, 4);
    EXPECT_EQ(texel[0], texel[1]);
    EXPECT_EQ(texel[1], texel[2]);
}

TEST_F(TextureFiles, OtherBitDepthsAreConvertedNotDropped) {
    std::unique_ptr<Texture> texture;
    EXPECT_EQ(loadCapturingStderr(saveImage("blue.png", FIF_PNG, 32, rgb(10, 20, 230)), texture), "");
    int width = 0;
    const auto texel = centreTexel(*texture, width);
    ASSERT_EQ(texel.size(), 3u);
    EXPECT_EQ(texel[0], 10);
    EXPECT_EQ(texel[2], 230);
}

TEST_F(TextureFiles, UnreadableFilesAreReportedAndGiveAnEmptyTexture) {
    const std::string jpeg = saveImage("whole.jpg", FIF_JPEG, 24, rgb(200, 200, 200));
    std::string bytes;
    {
        std::ifstream in(jpeg, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(dir / "truncated.jpg", std::ios::binary) << bytes.substr(0, 20);
    std::ofstream(dir / "empty.jpg");
    std::ofstream(dir / "text.jpg") << "this is not an image\n";

    for (const char* name : {"missing.jpg", "empty.jpg", "text.jpg", "truncated.jpg"}) {
        const std::string path = (dir / name).string();
        std::unique_ptr<Texture> texture;
        EXPECT_EQ(loadCapturingStderr(path, texture), "Failed to load texture: " + path) << name;
        ASSERT_NE(texture->handle, 0u);
        int width = -1;
        centreTexel(*texture, width);
        EXPECT_EQ(width, 0) << name;
    }
    while (glGetError() != GL_NO_ERROR) {
    }
}

TEST_F(TextureFiles, BindAppliesTheCurrentFiltersOnItsUnit) {
    std::unique_ptr<Texture> texture;
    loadCapturingStderr(saveImage("any.jpg", FIF_JPEG, 24, rgb(1, 2, 3)), texture);
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
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(TextureFiles, ReleaseDeletesTheTextureObject) {
    GLuint handle;
    {
        std::unique_ptr<Texture> texture;
        loadCapturingStderr(saveImage("any.jpg", FIF_JPEG, 24, rgb(1, 2, 3)), texture);
        handle = texture->handle;
        EXPECT_TRUE(glIsTexture(handle));
    }
    EXPECT_FALSE(glIsTexture(handle));
}
