// Faces by fontconfig: the system's choice for the name, weight, slant and
// the characters to cover.
#include <fontconfig/fontconfig.h>

#include "face_file.h"

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

bool findFaceFile(FT_Library, const char* faceName, bool bold, bool italic, int em, const CodeRange* ranges,
                  int rangeCount, FaceFile* out)
{
    FcPattern* request = faceRequest(faceName, bold, italic, em, ranges, rangeCount);
    if (!request)
        return false;
    const bool found = matchedFile(request, out);
    FcPatternDestroy(request);
    return found;
}
