// The font engine's handles on Windows: GDI fonts.
#pragma once

#include <windef.h>

using FontHandle = HFONT;   // one loaded font of the table
using GlyphSource = HDC;    // a device context with the font selected
