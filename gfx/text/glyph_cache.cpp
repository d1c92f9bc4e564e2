#include "font_manager.h"

#include <new>

#include "state.h"

const GlyphRecord* FontManager::findGlyph(int font, uint16_t code, bool antialiased)
{
    if (!hasFont(font))
        return nullptr;
    FontEntry& entry = *fonts_[font];
    GlyphCache& cache = entry.caches[antialiased ? 1 : 0];
    const auto found = cache.find(code);
    if (found != cache.end())
        return &found->second;
    return buildGlyph(entry.face, cache, code, antialiased);
}

float FontManager::measureText(int font, const char16_t* text, bool antialiased)
{
    float width = 0.0f;
    for (const char16_t* p = text; p && *p; ++p)
        if (const GlyphRecord* glyph = findGlyph(font, *p, antialiased))
            width += glyph->advance;
    return width;
}

// The rasteriser's bitmap lasts only until its next glyph, so it is
// uploaded before any other glyph is rasterised.
bool FontManager::rasteriseGlyph(FontHandle face, uint16_t code, bool antialiased, RasterGlyph* out)
{
    if (!renderTableGlyph(renderer_, face, code, antialiased))
        return false;
    out->bitmap = renderer_.GetGlyphBitmap(&out->origin, &out->size, &out->advance);
    return true;
}

static bool takesAtlasSpace(const unsigned char* bitmap, uint16_t code)
{
    return bitmap && code != u' ' && code != u'\t';
}

static void placeOnPage(GlyphRecord& record, const GlyphSpace& space)
{
    const float w = static_cast<float>(pageWidth(*space.page));
    const float h = static_cast<float>(pageHeight(*space.page));
    record.texture = space.page->texture;
    record.s0 = static_cast<float>(space.cell->x0 + kGlyphPadding) / w;
    record.t0 = static_cast<float>(space.cell->y0 + kGlyphPadding) / h;
    record.s1 = static_cast<float>(space.cell->x1 - kGlyphPadding) / w;
    record.t1 = static_cast<float>(space.cell->y1 - kGlyphPadding) / h;
}

const GlyphRecord* FontManager::buildGlyph(FontHandle face, GlyphCache& cache, uint16_t code, bool antialiased)
{
    RasterGlyph glyph = {};
    if (!rasteriseGlyph(face, code, antialiased, &glyph))
        return nullptr;
    const bool onPage = takesAtlasSpace(glyph.bitmap, code);
    GlyphSpace space = {nullptr, nullptr};
    if (onPage && !reserveGlyphSpace(pages_, glyph.size.cx, glyph.size.cy, &space))
        return nullptr;
    GlyphRecord* record = nullptr;
    try {
        record = &cache.emplace(code, GlyphRecord{}).first->second;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (onPage) {
        uploadGlyph(*space.page, glyph.bitmap, space.cell->x0 + kGlyphPadding, space.cell->y0 + kGlyphPadding,
                    glyph.size.cx, glyph.size.cy);
        placeOnPage(*record, space);
    }
    record->left = static_cast<float>(glyph.origin.x);
    record->bottom = static_cast<float>(glyph.origin.y - glyph.size.cy);
    record->width = static_cast<float>(glyph.size.cx);
    record->height = static_cast<float>(glyph.size.cy);
    record->advance = static_cast<float>(glyph.advance);
    ++g_draw.counters.glyphsBuilt;
    return record;
}
