#include "font_manager.h"

#include <new>

#include "font_face.h"

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
    if (!library_ && FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return false;
    }
    FT_Face face = openFace(library_, faceName, bold != 0, italic != 0, emPixels(pointSize));
    if (!face)
        return false;
    if (!appendFont(face)) {
        FT_Done_Face(face);
        return false;
    }
    *metrics = faceMetrics(face);
    return true;
}

bool FontManager::appendFont(FT_Face face)
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
        FT_Done_Face(entry->face);
        delete entry;
    }
    fonts_.clear();
    if (library_)
        FT_Done_FreeType(library_);
    library_ = nullptr;
}
