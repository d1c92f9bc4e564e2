#include "font_manager.h"

#include <new>


static FontManager g_fontManager;

FontManager& fontManager() { return g_fontManager; }

FontManager::~FontManager() { releaseFonts(); }

int FontManager::loadFonts(const FontSpec* table, FontMetrics* metrics, int count)
{
    releaseFonts();
    for (int i = 0; i < count; ++i)
        metrics[i] = {0.0f, 0.0f};
    for (int i = 0; i < count; ++i) {
        const FontSpec& entry = table[i];
        if (!createFont(entry.faceName, entry.pointSize, entry.bold, entry.italic, entry.fileName, &metrics[i]))
            return 0;
    }
    return 1;
}

bool FontManager::createFont(const char* faceName, int pointSize, int bold, int italic, const char16_t*,
                             FontMetrics* metrics)
{
    FontMetrics measured = {0.0f, 0.0f};
    FontHandle face = openTableFont(faceName, pointSize, bold != 0, italic != 0, &measured);
    if (!face)
        return false;
    if (!appendFont(face)) {
        closeTableFont(face);
        return false;
    }
    *metrics = measured;
    return true;
}

bool FontManager::appendFont(FontHandle face)
{
    FontEntry* entry = new (std::nothrow) FontEntry{face, {}};
    if (!entry)
        return false;
    try {
        fonts_.push_back(entry);
        return true;
    } catch (const std::bad_alloc&) {
        delete entry;
        return false;
    }
}

// Pages go first: glyph records only refer to page textures.
void FontManager::releaseFonts()
{
    releaseAtlasPages(pages_);
    for (FontEntry* entry : fonts_) {
        closeTableFont(entry->face);
        delete entry;
    }
    fonts_.clear();
}
