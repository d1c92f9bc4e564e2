// Finding the file of a face by name: fontconfig on the desktop, the faces
// shipped with the page in the browser.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>

// Where a face lives: its file and its index within the file.
struct FaceFile {
    std::string path;
    int index = 0;
};

// A range of character codes, both ends included.
struct CodeRange {
    uint32_t first, last;
};

// The face closest to the name, weight and slant among those that draw every
// code of ranges (coverage before family, so a face named in a table but
// missing falls to one that can draw the texts); false when none does.
// library opens candidates where the lookup has to look inside them.
bool findFaceFile(FT_Library library, const char* faceName, bool bold, bool italic, int em, const CodeRange* ranges,
                  int rangeCount, FaceFile* out);
