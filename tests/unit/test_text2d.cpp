// Glyph geometry of the bitmap-font text.
#include <gtest/gtest.h>

#include "play/text2d.h"

namespace {

using Corners = std::vector<glm::vec2>;

void expectCorners(const Corners& expected, const Corners& actual, size_t first) {
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_FLOAT_EQ(expected[k].x, actual[first + k].x) << "corner " << first + k;
        EXPECT_FLOAT_EQ(expected[k].y, actual[first + k].y) << "corner " << first + k;
    }
}

}  // namespace

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

TEST(TextGeometry, EmptyTextGivesNothing) {
    Corners positions{{1, 2}}, uvs{{3, 4}};
    buildTextGeometry("", 10, 10, 20, positions, uvs);
    EXPECT_TRUE(positions.empty());
    EXPECT_TRUE(uvs.empty());
}

TEST(TextGeometry, CharactersAdvanceByOneCellAndBlankIsAGlyphToo) {
    Corners positions, uvs;
    buildTextGeometry("a b", 5, 7, 15, positions, uvs);
    ASSERT_EQ(18u, positions.size());
    ASSERT_EQ(18u, uvs.size());
    // The third character starts two cells further right.
    expectCorners({{35, 22}, {35, 7}, {50, 22}, {50, 7}, {50, 22}, {35, 7}}, positions, 12);
    // The blank, code 32: column 0, row 2.
    expectCorners({{0.0f, 0.875f}, {0.0f, 0.8125f}, {0.0625f, 0.875f},
                   {0.0625f, 0.8125f}, {0.0625f, 0.875f}, {0.0f, 0.8125f}},
                  uvs, 6);
}

TEST(TextGeometry, BytesAbove127AreNegativeCodes) {
    Corners positions, uvs;
    buildTextGeometry("\xff", 0, 0, 10, positions, uvs);
    ASSERT_EQ(6u, uvs.size());
    // Code -1: column -1, row 0, left of the atlas; the wrap mode resolves it.
    EXPECT_FLOAT_EQ(-0.0625f, uvs[0].x);
    EXPECT_FLOAT_EQ(1.0f, uvs[0].y);
    EXPECT_FLOAT_EQ(0.0f, uvs[2].x);
    EXPECT_FLOAT_EQ(0.9375f, uvs[1].y);
}
