// Atlas pages: shared glyph-page textures that hold the glyphs of every font
// and both antialiasing modes, each with its packing tree.
#pragma once

#include <vector>

#include "backends/backend.h"
#include "pack_node.h"

struct AtlasPage {
    TextureHandle texture;
    PackNode* root;  // spans the whole page, so the page size is read from it
};

using AtlasPages = std::vector<AtlasPage*>;

// Side requested for a new page, and the empty texels kept around every glyph
// so that linear filtering never reaches a neighbour.
constexpr int kAtlasPageSize = 512;
constexpr int kGlyphPadding = 1;
// Bitmaps wider or taller than this never get a cell.
constexpr int kMaxGlyphSide = 1 << 16;

struct GlyphSpace {
    AtlasPage* page;
    const PackNode* cell;  // the glyph's texels lie kGlyphPadding inside it
};

inline int pageWidth(const AtlasPage& page) { return page.root->x1; }
inline int pageHeight(const AtlasPage& page) { return page.root->y1; }

// Opens a page of the requested size (rounded up to powers of two, limited
// by the backend's largest texture) and appends it. Null when need cannot fit on it or
// the backend refuses the texture. The new texture is left bound.
AtlasPage* openAtlasPage(AtlasPages& pages, int width, int height, PackSize need);

// Room for a w x h bitmap: in the newest page only, else on a new page.
// False for negative sides and sides beyond kMaxGlyphSide.
bool reserveGlyphSpace(AtlasPages& pages, int w, int h, GlyphSpace* out);

// Writes a w x h coverage bitmap at texel (x, y) of the page; the page's
// texture stays bound.
void uploadGlyph(const AtlasPage& page, const unsigned char* bitmap, int x, int y, int w, int h);

// Deletes every page's texture and tree and empties the list.
void releaseAtlasPages(AtlasPages& pages);
