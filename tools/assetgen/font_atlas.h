// The HUD's bitmap font: a 16 x 16 grid of glyph cells in character-code order.
#pragma once

#include <string>

namespace assetgen {

// Renders the glyphs of the TrueType font `fontPath` with FreeType, light on
// pure black, one per cell: code c in column c % 16 and row c / 16 counted from
// the top of the picture; cells without a printable character stay black.
// Writes a size x size JPEG to `path`. Returns false (message on stderr) when
// the font cannot be read or the file cannot be written.
bool writeFontAtlas(const std::string& fontPath, const std::string& path, int size);

}  // namespace assetgen
