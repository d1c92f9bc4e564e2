// The platform's font engine as the font manager uses it; each platform's
// folder implements these over its own handles (font_platform.h).
#pragma once

#include <cstdint>

#include "font_metrics.h"
#include "font_platform.h"

class ITextRender;

// Creates the font a table entry names (face by name, em height from the
// point size on the screen's resolution) and measures its cell height and
// descent into *metrics; null when the engine refuses.
FontHandle openTableFont(const char* faceName, int pointSize, bool bold, bool italic, FontMetrics* metrics);

// Releases a font from openTableFont.
void closeTableFont(FontHandle font);

// Rasterises one code unit of font through renderer; false when it fails.
bool renderTableGlyph(ITextRender& renderer, FontHandle font, uint16_t code, bool antialiased);
