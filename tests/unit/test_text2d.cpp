// Glyph geometry of the bitmap-font text.
#include <gtest/gtest.h>

#include "play/text2d.h"
#include "tests/helpers.h"

namespace {

using Corners = std::vector<glm::vec2>;

// The six corners from `first` on, each within float rounding of `expected`.
void expectCorners(const Corners& expected, const Corners& actual, size_t first) {
    ASSERT_GE(actual.size(), first + expected.size());
    for (size_t k = 0; k < expected.size(); ++k)
        EXPECT_LT(glm::distance(expected[k], actual[first + k]), 1e-6f)
            << "corner " << first + k << ": " << ::testing::PrintToString(actual[first + k]) << ", expected "
            << ::testing::PrintToString(expected[k]);
}

TEST(TextGeometry, OneGlyphIsTwoTrianglesCutFromItsAtlasCell) {
    Corners positions, uvs;
    buildTextGeometry("A", 10, 10, 20, positions, uvs);
    ASSERT_EQ(6u, positions.size());
    ASSERT_EQ(6u, uvs.size());
    expectCorners({{10, 30}, {10, 10}, {30, 30}, {30, 10}, {30, 30}, {10, 10}}, positions, 0);
    // 'A' = 65: column 1, row 4 from the top of the atlas.
    expectCorners({{0.0625f, 0.75f}, {0.0625f, 0.6875f}, {0.125f, 0.75f},
                   {0.125f, 0.6875f}, {0.125f, 0.75f}, {0.0625f, 0.6875f}},
                  uvs, 0);
}

TEST(TextGeometry, CharactersAdvanceByOneCellBlanksAreGlyphsAndHighBytesNegativeCodes) {
    Corners positions{{1, 2}}, uvs{{3, 4}};
    buildTextGeometry("", 10, 10, 20, positions, uvs);
    EXPECT_TRUE(positions.empty() && uvs.empty());

    buildTextGeometry("a b\xff", 5, 7, 15, positions, uvs);
    ASSERT_EQ(24u, positions.size());
    // The third character starts two cells further right.
    expectCorners({{35, 22}, {35, 7}, {50, 22}, {50, 7}, {50, 22}, {35, 7}}, positions, 12);
    // The blank, code 32: column 0, row 2.
    expectCorners({{0.0f, 0.875f}, {0.0f, 0.8125f}, {0.0625f, 0.875f}}, uvs, 6);
    // Byte 255 is code -1: column -1, row 0, left of the atlas; the wrap mode resolves it.
    expectCorners({{-0.0625f, 1.0f}, {-0.0625f, 0.9375f}, {0.0f, 1.0f}}, uvs, 18);
}

}  // namespace
