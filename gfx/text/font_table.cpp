#include "font_table.h"

#include <string>

#include "font_manager.h"
#include "state.h"

namespace {

std::string fontError;

// The table entry as an author reads it: "font 2 (\"Arial\", 12 pt, bold)".
std::string describeEntry(int index, const FontSpec& entry)
{
    std::string text = "font " + std::to_string(index) + " (";
    if (entry.faceName)
        text.append("\"").append(entry.faceName).append("\"");
    else
        text.append("no face name");
    text.append(", ").append(std::to_string(entry.pointSize)).append(" pt");
    if (entry.bold)
        text += ", bold";
    if (entry.italic)
        text += ", italic";
    return text + ")";
}

std::string whyRefused(const FontSpec& entry)
{
    if (!entry.faceName)
        return "an entry after the first needs a face name";
    if (entry.pointSize < 1)
        return "its size is below 1 pt";
    return "the system has no font of that face, nor one to stand in for it, at that size, or cannot open it";
}

}  // namespace

const char* grFontError() { return fontError.c_str(); }

bool fontTableInUse()
{
    return g_draw.tables.fontCount > 0 && g_draw.tables.fonts[0].faceName != nullptr;
}

bool loadFontTable()
{
    fontError.clear();
    FontManager& fonts = fontManager();
    if (fonts.loadFonts(g_draw.tables.fonts, fontMetrics(), g_draw.tables.fontCount) == 1)
        return true;
    // The fonts before the failing entry stay loaded, so their count is its index.
    const int failed = fonts.fontCount();
    if (failed < g_draw.tables.fontCount) {
        const FontSpec& entry = g_draw.tables.fonts[failed];
        fontError = describeEntry(failed, entry) + ": " + whyRefused(entry);
    } else {
        fontError = "no memory for the font table";
    }
    return false;
}

void releaseFontTable() { fontManager().releaseFonts(); }
