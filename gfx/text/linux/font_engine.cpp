#include "font_engine.h"

#include <new>

#include "font_face.h"
#include "text_render.h"

namespace {

// FreeType's library is opened with the first font and closed with the last.
FT_Library g_library = nullptr;
int g_openFonts = 0;

void releaseLibraryIfUnused()
{
    if (g_openFonts == 0 && g_library) {
        FT_Done_FreeType(g_library);
        g_library = nullptr;
    }
}

// Lone surrogates and control codes have no glyph in any face: no search.
bool worthAFallback(uint16_t code) { return code >= 0x20 && (code < 0xD800 || code > 0xDFFF); }

}  // namespace

FontHandle openTableFont(const char* faceName, int pointSize, bool bold, bool italic, FontMetrics* metrics)
{
    if (!g_library && FT_Init_FreeType(&g_library) != 0) {
        g_library = nullptr;
        return nullptr;
    }
    const int em = emPixels(pointSize);
    FT_Face face = openFace(g_library, faceName, bold, italic, em);
    TableFont* font = nullptr;
    if (face) {
        try {
            font = new TableFont{face, faceName, bold, italic, em, {}};
        } catch (const std::bad_alloc&) {
            FT_Done_Face(face);
        }
    }
    if (!font) {
        releaseLibraryIfUnused();
        return nullptr;
    }
    ++g_openFonts;
    *metrics = faceMetrics(face);
    return font;
}

void closeTableFont(FontHandle font)
{
    if (!font)
        return;
    for (FT_Face fallback : font->fallbacks)
        FT_Done_Face(fallback);
    FT_Done_Face(font->face);
    delete font;
    --g_openFonts;
    releaseLibraryIfUnused();
}

FT_Face faceForCode(TableFont& font, uint16_t code)
{
    if (faceHasGlyph(font.face, code) || !worthAFallback(code))
        return font.face;
    for (FT_Face fallback : font.fallbacks)
        if (faceHasGlyph(fallback, code))
            return fallback;
    if (static_cast<int>(font.fallbacks.size()) >= kMaxFallbackFaces)
        return font.face;
    FT_Face found = openFallbackFace(g_library, font.faceName.c_str(), font.bold, font.italic, font.em, code);
    if (!found)
        return font.face;
    try {
        font.fallbacks.push_back(found);
    } catch (const std::bad_alloc&) {
        FT_Done_Face(found);
        return font.face;
    }
    return found;
}

bool renderTableGlyph(ITextRender& renderer, FontHandle font, uint16_t code, bool antialiased)
{
    return font && renderer.RenderGlyph(faceForCode(*font, code), code, antialiased);
}
