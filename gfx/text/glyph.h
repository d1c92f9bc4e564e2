// A cached glyph and the per-font glyph caches.
#pragma once

#include <cstdint>
#include <map>

#include "backends/backend.h"

struct GlyphRecord {
    TextureHandle texture;  // atlas page; 0 when the glyph has no bitmap on a page
    float s0, t0;    // texture coordinates of the left edge and the top row
    float s1, t1;    // of the right edge and the bottom edge
    float left;      // black box's left edge relative to the pen
    float bottom;    // black box's bottom edge relative to the baseline, y up
    float width, height;
    float advance;   // pen advance in pixels
};

// A node-based map: drawing keeps pointers to records while it builds more.
using GlyphCache = std::map<uint16_t, GlyphRecord>;
