// Faces by name: fontconfig chooses the file, FreeType opens it at the
// pixel size a 96 dpi screen gives the point size.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "text/font_metrics.h"

// The em height in pixels of pointSize at 96 dots per inch, rounded to
// nearest; 0 for sizes no face can be opened at.
int emPixels(int pointSize);

// The face fontconfig matches for the name, weight and slant among those
// that cover the display's characters (Latin, Cyrillic, the degree sign),
// opened and sized to emPixels; null when no readable file matches or
// FreeType refuses it.
FT_Face openFace(FT_Library library, const char* faceName, bool bold, bool italic, int emPixels);

// The face closest to the name, weight and slant that has a glyph for code,
// opened and sized like openFace; null when no face has one.
FT_Face openFallbackFace(FT_Library library, const char* faceName, bool bold, bool italic, int emPixels,
                         uint16_t code);

// Whether the face maps code to a glyph of its own (not the missing-glyph box).
bool faceHasGlyph(FT_Face face, uint16_t code);

// Cell height and descent of a sized face, in whole pixels.
FontMetrics faceMetrics(FT_Face face);
