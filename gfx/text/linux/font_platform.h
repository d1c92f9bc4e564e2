// The font engine's handles on Linux: FreeType faces that fontconfig finds.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>
#include <vector>

// Faces a table font may borrow glyphs from, at the most.
constexpr int kMaxFallbackFaces = 8;

// One font of the table: its own face, and the faces that draw the code
// units its face has no glyph for.
struct TableFont {
    FT_Face face;
    // What the face was asked for, to ask again per missing glyph.
    std::string faceName;
    bool bold;
    bool italic;
    int em;
    std::vector<FT_Face> fallbacks;  // opened on first need
};

using FontHandle = TableFont*;  // one loaded font of the table
using GlyphSource = FT_Face;    // what a rasteriser draws a glyph from

// The face that draws code in font: its own, else a fallback face that has
// the glyph (found on first need), else its own with the missing-glyph box.
FT_Face faceForCode(TableFont& font, uint16_t code);
