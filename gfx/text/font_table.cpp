#include "font_table.h"

#include "font_manager.h"
#include "state.h"

bool fontTableInUse()
{
    return g_draw.tables.fontCount > 0 && g_draw.tables.fonts[0].faceName != nullptr;
}

bool loadFontTable()
{
    return fontManager().loadFonts(g_draw.tables.fonts, fontMetrics(), g_draw.tables.fontCount) == 1;
}

void releaseFontTable() { fontManager().releaseFonts(); }
