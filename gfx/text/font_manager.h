// The text subsystem's one object: the rasteriser, the atlas pages and the
// loaded fonts with their glyph caches. It lives for the whole process.
#pragma once

#include <vector>

#include "atlas.h"
#include "font_engine.h"
#include "font_metrics.h"
#include "glyph.h"
#include "text_render_a.h"

struct FontEntry {
    FontHandle face;
    GlyphCache caches[2];  // 0: monochrome glyphs, 1: antialiased glyphs
};

class FontManager {
public:
    FontManager() = default;
    ~FontManager();
    FontManager(const FontManager&) = delete;
    FontManager& operator=(const FontManager&) = delete;

    // Creates the fonts of table entries 0..count-1 in order, entry i's
    // metrics into metrics[i] (all count entries zeroed first). Fonts loaded
    // before are released first, so list position stays table position.
    // 1 when all were created, 0 at the first failure.
    int loadFonts(const FontSpec* table, FontMetrics* metrics, int count);
    // Creates one font and appends it; the file name is carried, not opened.
    bool createFont(const char* faceName, int pointSize, int bold, int italic, const char16_t* fileName,
                    FontMetrics* metrics);
    // Frees every atlas page and every font; the GL context must be current.
    void releaseFonts();

    // The glyph of a code unit in a font, built on first use; null when the
    // index names no loaded font or the glyph cannot be made.
    const GlyphRecord* findGlyph(int font, uint16_t code, bool antialiased);
    // Sum of the advances of the code units that have a glyph.
    float measureText(int font, const char16_t* text, bool antialiased);

    bool hasFont(int font) const { return font >= 0 && font < static_cast<int>(fonts_.size()); }
    int fontCount() const { return static_cast<int>(fonts_.size()); }
    const FontEntry& fontEntry(int index) const { return *fonts_[index]; }
    const AtlasPages& pages() const { return pages_; }

private:
    struct RasterGlyph {
        const unsigned char* bitmap;
        GlyphOrigin origin;
        GlyphSize size;
        int advance;
    };

    bool rasteriseGlyph(FontHandle face, uint16_t code, bool antialiased, RasterGlyph* out);
    const GlyphRecord* buildGlyph(FontHandle face, GlyphCache& cache, uint16_t code, bool antialiased);
    bool appendFont(FontHandle face);

    TextRenderA renderer_;
    AtlasPages pages_;
    std::vector<FontEntry*> fonts_;
};

FontManager& fontManager();
