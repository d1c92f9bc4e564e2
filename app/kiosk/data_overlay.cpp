#include "data_overlay.h"

#include "display_renderer.h"

namespace {

// Pixels between the plate and the view's edges.
constexpr int kInset = 6;

int luminance(const GrColor& color) { return 299 * color.r + 587 * color.g + 114 * color.b; }

// The index of the brightest (or darkest) colour of table, or -1 for none.
int extremeColor(const GrColor* table, int count, bool brightest)
{
    int best = -1;
    for (int i = 0; i < count; ++i)
        if (best < 0 || (luminance(table[i]) > luminance(table[best])) == brightest)
            best = i;
    return best;
}

// The status is ASCII but for what a user typed into a topic; other bytes
// are shown as '?'.
std::u16string asciiText(const std::string& text)
{
    std::u16string out;
    for (const char c : text)
        out.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'?');
    return out;
}

}  // namespace

void drawDataOverlay(const std::string& status, const GrDisplay& display, int width, int height)
{
    const GrTables* tables = display.tables;
    if (status.empty() || width <= 0 || height <= 0 || !tables || tables->fontCount < 1 || !tables->fonts ||
        !tables->fonts[0].faceName)
        return;
    const int text = extremeColor(tables->colors, tables->colorCount, true);
    const int plate = extremeColor(tables->borderColors, tables->borderColorCount, false);
    if (text < 0)
        return;
    const int margin = static_cast<int>(kDisplayMargin);
    grSetFont(0);
    grSetColor(text);
    grSetMode(GR_MODE_BORDER, plate >= 0 ? GR_ON : GR_OFF);
    if (plate >= 0)
        grSetBorderColor(plate);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_TOP);
    grText(kInset - margin, height - margin - kInset, 0.0f, asciiText(status).c_str());
    // What the display finds at its next frame, as the library starts it.
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
}
