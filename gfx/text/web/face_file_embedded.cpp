// Faces in the browser: the page ships its faces as files in one folder,
// named FAMILY-STYLE.ttf after the Liberation faces (LiberationSans-Bold.ttf).
// A table name is taken to the family the desktop's fontconfig aliases give
// it, so that text is set in the same faces as on Linux.
#include <strings.h>
#include <sys/stat.h>

#include <string>

#include "face_file.h"
#include "page_faces.h"

namespace {

// Where the page's file system holds the faces.
constexpr const char* kFaceFolder = "/fonts/";

struct FamilyAlias {
    const char* name;    // as a table may give it
    const char* family;  // the file name's family part
};

// The metric-compatible faces fontconfig substitutes on the desktop.
constexpr FamilyAlias kFamilyAliases[] = {
    {"Arial", "LiberationSans"},
    {"Helvetica", "LiberationSans"},
    {"Liberation Sans", "LiberationSans"},
    {"sans-serif", "LiberationSans"},
    {"Arial Narrow", "LiberationSansNarrow"},
    {"Helvetica Narrow", "LiberationSansNarrow"},
    {"Liberation Sans Narrow", "LiberationSansNarrow"},
    {"Times New Roman", "LiberationSerif"},
    {"Times", "LiberationSerif"},
    {"Liberation Serif", "LiberationSerif"},
    {"serif", "LiberationSerif"},
    {"Courier New", "LiberationMono"},
    {"Courier", "LiberationMono"},
    {"Liberation Mono", "LiberationMono"},
    {"monospace", "LiberationMono"},
};

// Families in the order a name without an alias falls through them.
constexpr const char* kFamilies[] = {"LiberationSans", "LiberationSansNarrow", "LiberationSerif", "LiberationMono"};

// File name styles, the asked-for one first, then the nearest.
constexpr const char* kStyleOrder[2][2][4] = {
    {{"Regular", "Bold", "Italic", "BoldItalic"}, {"Italic", "Regular", "BoldItalic", "Bold"}},
    {{"Bold", "Regular", "BoldItalic", "Italic"}, {"BoldItalic", "Bold", "Italic", "Regular"}},
};

// The family of a table's name; null for a name without an alias.
const char* knownFamily(const char* faceName)
{
    for (const FamilyAlias& alias : kFamilyAliases)
        if (strcasecmp(alias.name, faceName) == 0)
            return alias.family;
    return nullptr;
}

const char* aliasedFamily(const char* faceName)
{
    const char* family = knownFamily(faceName);
    return family ? family : kFamilies[0];
}

bool fileExists(const std::string& path)
{
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool coversRanges(FT_Library library, const std::string& path, const CodeRange* ranges, int rangeCount)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0)
        return false;
    bool covered = true;
    for (int i = 0; i < rangeCount && covered; ++i)
        for (uint32_t code = ranges[i].first; code <= ranges[i].last && covered; ++code)
            covered = FT_Get_Char_Index(face, code) != 0;
    FT_Done_Face(face);
    return covered;
}

bool tryFamily(FT_Library library, const char* family, bool bold, bool italic, const CodeRange* ranges,
               int rangeCount, FaceFile* out)
{
    for (const char* style : kStyleOrder[bold][italic]) {
        const std::string path = std::string(kFaceFolder) + family + "-" + style + ".ttf";
        if (fileExists(path) && coversRanges(library, path, ranges, rangeCount)) {
            *out = {path, 0};
            return true;
        }
    }
    return false;
}

}  // namespace

bool findFaceFile(FT_Library library, const char* faceName, bool bold, bool italic, int, const CodeRange* ranges,
                  int rangeCount, FaceFile* out)
{
    const char* family = aliasedFamily(faceName);
    if (tryFamily(library, family, bold, italic, ranges, rangeCount, out))
        return true;
    for (const char* other : kFamilies)
        if (other != family && tryFamily(library, other, bold, italic, ranges, rangeCount, out))
            return true;
    return false;
}

std::string pageFaceFor(const char* faceName, bool bold, bool italic)
{
    const char* family = knownFamily(faceName);
    if (!family)
        return std::string();
    return std::string(family) + "-" + kStyleOrder[bold][italic][0];
}

std::string pageFaceFallback(bool bold, bool italic)
{
    return std::string(kFamilies[0]) + "-" + kStyleOrder[bold][italic][0];
}
