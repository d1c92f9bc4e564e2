#include "font_engine.h"

#include "font_face.h"
#include "text_render.h"

namespace {

// FreeType's library is opened with the first font and closed with the last.
FT_Library g_library = nullptr;
int g_openFaces = 0;

}  // namespace

FontHandle openTableFont(const char* faceName, int pointSize, bool bold, bool italic, FontMetrics* metrics)
{
    if (!g_library && FT_Init_FreeType(&g_library) != 0) {
        g_library = nullptr;
        return nullptr;
    }
    FT_Face face = openFace(g_library, faceName, bold, italic, emPixels(pointSize));
    if (!face) {
        if (g_openFaces == 0) {
            FT_Done_FreeType(g_library);
            g_library = nullptr;
        }
        return nullptr;
    }
    ++g_openFaces;
    *metrics = faceMetrics(face);
    return face;
}

void closeTableFont(FontHandle font)
{
    if (!font)
        return;
    FT_Done_Face(font);
    if (--g_openFaces == 0) {
        FT_Done_FreeType(g_library);
        g_library = nullptr;
    }
}

bool renderTableGlyph(ITextRender& renderer, FontHandle font, uint16_t code, bool antialiased)
{
    return renderer.RenderGlyph(font, code, antialiased);
}
