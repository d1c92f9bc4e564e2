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
    const int em = emPixels(pointSize);
    FT_Face face = openFace(library_, faceName, bold != 0, italic != 0, em);
    if (!face)
        return false;
    FontEntry* entry = nullptr;
    try {
        entry = new FontEntry{face, {}, faceName, bold != 0, italic != 0, em, {}};
    } catch (const std::bad_alloc&) {
        FT_Done_Face(face);
        return false;
    }
    if (!appendFont(entry)) {
        FT_Done_Face(face);
        delete entry;
        return false;
    }
    *metrics = faceMetrics(face);
    return true;
}

bool FontManager::appendFont(FontEntry* entry)
{
    try {
        fonts_.push_back(entry);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

FT_Face FontManager::faceForCode(int font, uint16_t code)
{
    return hasFont(font) ? faceForCode(*fonts_[font], code) : nullptr;
}

// Lone surrogates and control codes have no glyph in any face: no search.
static bool worthAFallback(uint16_t code) { return code >= 0x20 && (code < 0xD800 || code > 0xDFFF); }

FT_Face FontManager::faceForCode(FontEntry& entry, uint16_t code)
{
    if (faceHasGlyph(entry.face, code) || !worthAFallback(code))
        return entry.face;
    for (FT_Face fallback : entry.fallbacks)
        if (faceHasGlyph(fallback, code))
            return fallback;
    if (static_cast<int>(entry.fallbacks.size()) >= kMaxFallbackFaces)
        return entry.face;
    FT_Face found = openFallbackFace(library_, entry.faceName.c_str(), entry.bold, entry.italic, entry.em, code);
    if (!found)
        return entry.face;
    try {
        entry.fallbacks.push_back(found);
    } catch (const std::bad_alloc&) {
        FT_Done_Face(found);
        return entry.face;
    }
    return found;
}

// Pages go first: glyph records only refer to page textures.
void FontManager::releaseFonts()
{
    releaseAtlasPages(pages_);
    for (FontEntry* entry : fonts_) {
        for (FT_Face fallback : entry->fallbacks)
            FT_Done_Face(fallback);
        FT_Done_Face(entry->face);
        delete entry;
    }
    fonts_.clear();
    if (library_)
        FT_Done_FreeType(library_);
    library_ = nullptr;
}
