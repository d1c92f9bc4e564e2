// Run by the build beside each display's page, linked with the display's
// sources: every font of the display's table must be set in a face of its
// own family and style among the faces the page ships, which the page would
// otherwise swap for another without a word.
//   <display>-faces DISPLAY_NAME FACE...   (the shipped faces, file names without .ttf)
// Exit status 0 when every font has its face, 1 with one line per font
// that has not, naming the face and the FACES name that adds it.
#include <cstdio>
#include <set>
#include <string>

#include "gr_display.h"
#include "page_faces.h"

extern "C" const GrDisplay* grDisplayDescriptor(void);

namespace {

std::string describe(const FontSpec& font)
{
    std::string text = std::string("\"") + font.faceName + "\"";
    if (font.bold)
        text += " bold";
    if (font.italic)
        text += " italic";
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: page-face-check DISPLAY_NAME FACE...\n");
        return 2;
    }
    const char* target = argv[1];
    const std::set<std::string> shipped(argv + 2, argv + argc);
    const GrDisplay* display = grDisplayDescriptor();
    if (!display || !display->tables) {
        std::fprintf(stderr, "%s: the display has no descriptor or no tables\n", target);
        return 1;
    }
    const GrTables& tables = *display->tables;
    int missing = 0;
    for (int i = 0; i < tables.fontCount && tables.fonts && tables.fonts[i].faceName; ++i) {
        const FontSpec& font = tables.fonts[i];
        const std::string face = pageFaceFor(font.faceName, font.bold != 0, font.italic != 0);
        if (face.empty()) {
            std::fprintf(stderr,
                         "%s: font %d, %s, has no face of its own in the page, which would set it in %s: "
                         "pages ship Liberation Sans, Sans Narrow, Serif and Mono, named as Arial, "
                         "Arial Narrow, Times New Roman and Courier New (or Helvetica, Times, Courier, "
                         "sans-serif, serif, monospace)\n",
                         target, i, describe(font).c_str(), pageFaceFallback(font.bold, font.italic).c_str());
            ++missing;
        } else if (!shipped.count(face)) {
            std::fprintf(stderr,
                         "%s: font %d, %s, needs the face %s, which the page does not ship and would "
                         "replace by another: add FACES %s\n",
                         target, i, describe(font).c_str(), face.c_str(), face.c_str());
            ++missing;
        }
    }
    return missing == 0 ? 0 : 1;
}
