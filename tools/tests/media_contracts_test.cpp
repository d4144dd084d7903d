// The committed textures, font atlas and music must load the way the game
// loads them and stay within what the game assumes of them.
#include <gtest/gtest.h>

#include <FreeImage.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kTextures[] = {"katzenfell", "asphalt2", "sterne", "dach2",   "grau",     "metall",
                                 "weiss",      "grass",    "coin",   "metallOld", "font8"};

struct Picture {
    unsigned width = 0, height = 0, bpp = 0;
    std::vector<uint8_t> grey;  // mean of r, g, b; top row first, as viewed
    int at(unsigned x, unsigned y) const { return grey[static_cast<size_t>(y) * width + x]; }
};

Picture load(const std::string& path) {
    Picture picture;
    FIBITMAP* bitmap = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
    if (!bitmap) return picture;
    picture.width = FreeImage_GetWidth(bitmap);
    picture.height = FreeImage_GetHeight(bitmap);
    picture.bpp = FreeImage_GetBPP(bitmap);
    if (picture.bpp == 24) {
        picture.grey.resize(static_cast<size_t>(picture.width) * picture.height);
        for (unsigned y = 0; y < picture.height; ++y) {
            // FreeImage scanline 0 is the bottom row.
            const BYTE* line = FreeImage_GetScanLine(bitmap, picture.height - 1 - y);
            for (unsigned x = 0; x < picture.width; ++x)
                picture.grey[static_cast<size_t>(y) * picture.width + x] =
                    static_cast<uint8_t>((line[3 * x] + line[3 * x + 1] + line[3 * x + 2]) / 3);
        }
    }
    FreeImage_Unload(bitmap);
    return picture;
}

bool powerOfTwo(unsigned n) { return n != 0 && (n & (n - 1)) == 0; }

TEST(Textures, AreSmallPowerOfTwoColourJpegs) {
    for (const char* name : kTextures) {
        const std::string path = std::string("Textur/") + name + ".jpg";
        SCOPED_TRACE(path);
        ASSERT_EQ(FreeImage_GetFileType(path.c_str(), 0), FIF_JPEG);
        const Picture picture = load(path);
        EXPECT_EQ(picture.bpp, 24u);
        EXPECT_TRUE(powerOfTwo(picture.width));
        EXPECT_EQ(picture.width, picture.height);
        EXPECT_LT(std::filesystem::file_size(path), 200u * 1024u);
    }
}

// Brightness-weighted centre row of the ink in the atlas cell of `code`,
// 0 = top of the cell, 1 = bottom; -1 when the cell is empty.
float inkCentre(const Picture& atlas, int code) {
    const unsigned cell = atlas.width / 16, x0 = (code % 16) * cell, y0 = (code / 16) * cell;
    double sum = 0.0, weighted = 0.0;
    for (unsigned y = 0; y < cell; ++y)
        for (unsigned x = 0; x < cell; ++x) {
            const int v = atlas.at(x0 + x, y0 + y);
            if (v < 64) continue;
            sum += v;
            weighted += v * (y + 0.5) / cell;
        }
    return sum > 0.0 ? static_cast<float>(weighted / sum) : -1.0f;
}

TEST(FontAtlas, HoldsGlyphsInCodeOrderTopRowFirstOnBlack) {
    const Picture atlas = load("Textur/font8.jpg");
    ASSERT_EQ(atlas.bpp, 24u);
    ASSERT_EQ(atlas.width % 16, 0u);
    const unsigned cell = atlas.width / 16;
    EXPECT_GE(cell, 30u);  // drawn at up to 30 pixels per cell
    // Upright: an underscore sits low in its cell, a caret high.
    EXPECT_GT(inkCentre(atlas, '_'), 0.6f);
    EXPECT_GE(inkCentre(atlas, '^'), 0.0f);
    EXPECT_LT(inkCentre(atlas, '^'), 0.4f);
    for (int code = 0; code < 128; ++code) {
        SCOPED_TRACE(code);
        const bool printable = code > 32 && code < 127;
        EXPECT_EQ(inkCentre(atlas, code) >= 0.0f, printable);
        // A dark frame around every cell keeps neighbours from bleeding in
        // when the atlas is filtered.
        const unsigned x0 = (code % 16) * cell, y0 = (code / 16) * cell;
        int frame = 0;
        for (unsigned k = 0; k < cell; ++k)
            frame = std::max({frame, atlas.at(x0 + k, y0), atlas.at(x0 + k, y0 + cell - 1), atlas.at(x0, y0 + k),
                              atlas.at(x0 + cell - 1, y0 + k)});
        EXPECT_LT(frame, 16);
    }
    // Text must read clearly: glyph strokes reach full white.
    int brightest = 0;
    for (unsigned y = 4 * cell; y < 5 * cell; ++y)
        for (unsigned x = cell; x < 2 * cell; ++x) brightest = std::max(brightest, atlas.at(x, y));
    EXPECT_GT(brightest, 240);  // 'A'
}

TEST(Music, IsAShortSeamlessSixteenBitLoop) {
    const std::string path = "Audio/ffxiii.WAV";
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<short> samples(static_cast<size_t>(info.frames * info.channels));
    sf_readf_short(file, samples.data(), info.frames);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_TRUE(info.samplerate == 44100 || info.samplerate == 22050);
    EXPECT_LT(std::filesystem::file_size(path), 3u * 1024u * 1024u);
    const double seconds = static_cast<double>(info.frames) / info.samplerate;
    EXPECT_TRUE(seconds > 20.0 && seconds < 40.0) << seconds;
    // Looping jumps from the last frame to the first: that step must be no
    // larger than the steps the music makes anyway, or it clicks.
    const size_t n = samples.size(), channels = static_cast<size_t>(info.channels);
    int largestStep = 0, peak = 0;
    for (size_t i = channels; i < n; ++i) {
        largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - channels]));
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    for (size_t c = 0; c < channels; ++c) EXPECT_LE(std::abs(samples[c] - samples[n - channels + c]), largestStep / 2);
    EXPECT_GT(peak, 16000);     // audible
    EXPECT_LT(peak, 32767);     // not clipped
}

}  // namespace
