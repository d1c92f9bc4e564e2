// Faces by name: fontconfig chooses the file, FreeType opens it at the
// pixel size a 96 dpi screen gives the point size.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "text/font_metrics.h"

// The em height in pixels of pointSize at 96 dots per inch, rounded to
// nearest; 0 for sizes no face can be opened at.
int emPixels(int pointSize);

// The face fontconfig matches for the name, weight and slant, opened and
// sized to emPixels; null when no readable file matches or FreeType refuses it.
FT_Face openFace(FT_Library library, const char* faceName, bool bold, bool italic, int emPixels);

// Cell height and descent of a sized face, in whole pixels.
FontMetrics faceMetrics(FT_Face face);
