#include "font_face.h"

#include <cmath>
#include <string>

#include "face_file.h"

constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;
constexpr long long kMaxEmPixels = 0xFFFF;  // FreeType's limit for a pixel size

int emPixels(int pointSize)
{
    if (pointSize < 1)
        return 0;
    const long long em = (static_cast<long long>(pointSize) * kScreenDpi + kPointsPerInch / 2) / kPointsPerInch;
    return em > kMaxEmPixels ? 0 : static_cast<int>(em);
}

static FT_Face openFaceFile(FT_Library library, const FaceFile& file, int em)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0)
        return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

// What the display's texts are written in: printable ASCII, the degree sign
// and the Russian alphabet.
constexpr CodeRange kDisplayCharacters[] = {{0x20, 0x7E}, {0xB0, 0xB0}, {0x401, 0x401}, {0x410, 0x44F}, {0x451, 0x451}};

FT_Face openFace(FT_Library library, const char* faceName, bool bold, bool italic, int em)
{
    FaceFile file;
    if (!library || !faceName || em < 1 ||
        !findFaceFile(library, faceName, bold, italic, em, kDisplayCharacters,
                      static_cast<int>(sizeof kDisplayCharacters / sizeof kDisplayCharacters[0]), &file))
        return nullptr;
    return openFaceFile(library, file, em);
}

FT_Face openFallbackFace(FT_Library library, const char* faceName, bool bold, bool italic, int em, uint16_t code)
{
    const CodeRange wanted = {code, code};
    FaceFile file;
    if (!library || !faceName || em < 1 || !findFaceFile(library, faceName, bold, italic, em, &wanted, 1, &file))
        return nullptr;
    FT_Face face = openFaceFile(library, file, em);
    if (face && !faceHasGlyph(face, code)) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

bool faceHasGlyph(FT_Face face, uint16_t code) { return face && FT_Get_Char_Index(face, code) != 0; }

FontMetrics faceMetrics(FT_Face face)
{
    const FT_Size_Metrics& size = face->size->metrics;
    const float ascent = std::round(size.ascender / 64.0f);
    const float descent = std::round(-size.descender / 64.0f);
    return {ascent + descent, descent};
}
