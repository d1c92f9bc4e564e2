// The font engine's handles on Linux: FreeType faces that fontconfig finds.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

using FontHandle = FT_Face;   // one loaded font of the table
using GlyphSource = FT_Face;  // what a rasteriser draws a glyph from
