#include "font_face.h"

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <string>

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

struct FaceFile {
    std::string path;
    int index = 0;
};

struct CodeRange {
    FcChar32 first, last;
};

// What the display's texts are written in: printable ASCII, the degree sign
// and the Russian alphabet.
constexpr CodeRange kDisplayCharacters[] = {{0x20, 0x7E}, {0xB0, 0xB0}, {0x401, 0x401}, {0x410, 0x44F}, {0x451, 0x451}};

// A substitute face is chosen by coverage before family, so a face named in
// the table but missing falls to one that can draw the texts.
static bool addCharacters(FcPattern* pattern, const CodeRange* ranges, int count)
{
    FcCharSet* characters = FcCharSetCreate();
    if (!characters)
        return false;
    for (int i = 0; i < count; ++i)
        for (FcChar32 c = ranges[i].first; c <= ranges[i].last; ++c)
            FcCharSetAddChar(characters, c);
    const bool added = FcPatternAddCharSet(pattern, FC_CHARSET, characters) == FcTrue;
    FcCharSetDestroy(characters);  // the pattern holds its own reference
    return added;
}

static FcPattern* faceRequest(const char* faceName, bool bold, bool italic, int em, const CodeRange* ranges,
                              int rangeCount)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceName));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, em);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (!addCharacters(pattern, ranges, rangeCount)) {
        FcPatternDestroy(pattern);
        return nullptr;
    }
    return pattern;
}

static bool matchedFile(FcPattern* request, FaceFile* out)
{
    if (!FcConfigSubstitute(nullptr, request, FcMatchPattern))
        return false;
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, request, &result);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        out->path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &out->index) != FcResultMatch)
            out->index = 0;
    }
    FcPatternDestroy(match);
    return found;
}

static bool findFaceFile(const char* faceName, bool bold, bool italic, int em, const CodeRange* ranges,
                         int rangeCount, FaceFile* out)
{
    FcPattern* request = faceRequest(faceName, bold, italic, em, ranges, rangeCount);
    if (!request)
        return false;
    const bool found = matchedFile(request, out);
    FcPatternDestroy(request);
    return found;
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

FT_Face openFace(FT_Library library, const char* faceName, bool bold, bool italic, int em)
{
    FaceFile file;
    if (!library || !faceName || em < 1 ||
        !findFaceFile(faceName, bold, italic, em, kDisplayCharacters,
                      static_cast<int>(sizeof kDisplayCharacters / sizeof kDisplayCharacters[0]), &file))
        return nullptr;
    return openFaceFile(library, file, em);
}

FT_Face openFallbackFace(FT_Library library, const char* faceName, bool bold, bool italic, int em, uint16_t code)
{
    const CodeRange wanted = {code, code};
    FaceFile file;
    if (!library || !faceName || em < 1 || !findFaceFile(faceName, bold, italic, em, &wanted, 1, &file))
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
