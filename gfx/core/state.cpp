#include "state.h"

#include "pattern.h"
#include "texture_filter.h"

DrawState g_draw = {};

bool patternTableInUse()
{
    return g_draw.tables.patternCount > 0 && g_draw.tables.patterns[0].repeat != -1;
}

static bool validTable(const void* entries, int count)
{
    return count == 0 || (count > 0 && entries != nullptr);
}

bool grUseTables(const GrTables* tables)
{
    if (!tables || !validTable(tables->colors, tables->colorCount) ||
        !validTable(tables->borderColors, tables->borderColorCount) ||
        !validTable(tables->lineWidths, tables->lineWidthCount) ||
        !validTable(tables->borderWidths, tables->borderWidthCount) ||
        !validTable(tables->patterns, tables->patternCount) ||
        !validTable(tables->images, tables->imageCount) || !validTable(tables->fonts, tables->fontCount) ||
        tables->patternCount > GR_MAX_PATTERNS || tables->imageCount > GR_MAX_IMAGES ||
        tables->fontCount > GR_MAX_FONTS)
        return false;
    g_draw.tables = *tables;
    return true;
}

static bool acceptIndex(int index, int count)
{
    if (index >= 0 && index < count)
        return true;
    ++g_draw.diagnostics.rejectedIndices;
    return false;
}

void grSetColor(int index)
{
    if (acceptIndex(index, g_draw.tables.colorCount))
        g_draw.color = &g_draw.tables.colors[index];
}

void grSetBorderColor(int index)
{
    if (acceptIndex(index, g_draw.tables.borderColorCount))
        g_draw.borderColor = &g_draw.tables.borderColors[index];
}

void grSetLineWidth(int index)
{
    if (acceptIndex(index, g_draw.tables.lineWidthCount))
        g_draw.lineWidth = g_draw.tables.lineWidths[index];
}

void grSetBorderWidth(int index)
{
    if (acceptIndex(index, g_draw.tables.borderWidthCount))
        g_draw.borderWidth = g_draw.tables.borderWidths[index];
}

// Font and image indices are checked by the text and image routines, which
// know their tables' sizes.
void grSetFont(int index) { g_draw.font = index; }
void grSetImage(int index) { g_draw.image = index; }

void grSetTextAlign(int horizontal, int vertical)
{
    g_draw.alignHorizontal = horizontal;
    g_draw.alignVertical = vertical;
}

void grSetMode(int which, int value)
{
    switch (which) {
    case GR_MODE_ANTIALIAS:
        if (value == g_draw.antialias)
            return;
        g_draw.antialias = value;
        backend().setCapability(Capability::Antialias, value != 0);
        // The bound dash texture follows the switch at once.
        if (g_draw.pattern && g_draw.pattern->mask != 0xFFFF && g_draw.patternTexture)
            applyTextureFilter(TextureSlot::Pattern);
        break;
    case GR_MODE_FILL:
        g_draw.fill = value;
        break;
    case GR_MODE_BORDER:
        g_draw.border = value;
        break;
    default:
        break;
    }
}

GrDiagnostics grDiagnostics() { return g_draw.diagnostics; }

GrCounters grCounters() { return g_draw.counters; }

void grResetDiagnostics() { g_draw.diagnostics = {}; }

void grCheckGlErrors(const char* where)
{
    (void)where;  // a label to break on in a debugger
    g_draw.diagnostics.glErrors += backend().drainErrors();
}
