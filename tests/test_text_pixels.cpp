// The display's texts drawn on Mesa: where their pixels land, their
// colours in both antialiasing modes, upright and rotated, with a plate.
#include <gtest/gtest.h>

#include <vector>

#include "pixel_fixture.h"
#include "text/font_manager.h"
#include "text/text_render_a.h"

namespace {

constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kGreen = {0, 255, 0};
constexpr Rgb kYellow = {255, 255, 0};
constexpr Rgb kBlue = {0, 0, 255};

struct Box {
    int x0, y0, x1, y1;  // display units, inclusive
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

class TextPixels : public PixelTest {
protected:
    void SetUp() override
    {
        PixelTest::SetUp();
        grSetTextAlign(0, 0);
        grSetBorderColor(2);
    }

    // Draws text on the baseline at (x, y) and returns the box its cells span.
    Box Text(int x, int y, int font, int color, bool antialiased, const char16_t* text)
    {
        grSetFont(font);
        grSetColor(color);
        grSetMode(GR_MODE_ANTIALIAS, antialiased);
        grText(x, y, 0, text);
        const FontMetrics m = fontMetrics()[font];
        const int w = static_cast<int>(fontManager().measureText(font, text, antialiased));
        return {x - 2, y - static_cast<int>(m.descent) - 1, x + w + 2, y + static_cast<int>(m.height - m.descent) + 1};
    }

    bool Lit(int x, int y) const
    {
        const Rgb c = At(x, y);
        return c.r > 0 || c.g > 0 || c.b > 0;  // outside the image reads negative
    }

    int LitIn(const Box& b) const
    {
        int n = 0;
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x)
                n += Lit(x, y);
        return n;
    }

    int LitOutside(const std::vector<Box>& boxes) const
    {
        int n = 0;
        for (int y = -10; y < 246; ++y)
            for (int x = -10; x < 246; ++x) {
                bool inside = false;
                for (const Box& b : boxes)
                    inside = inside || b.contains(x, y);
                n += !inside && Lit(x, y);
            }
        return n;
    }

    // Pixels in the box that are lit with a colour other than color.
    int OtherColoursIn(const Box& b, const Rgb& color) const
    {
        int n = 0;
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x)
                n += Lit(x, y) && !(At(x, y) == color);
        return n;
    }

    // Lowest and highest lit row between columns x0 and x1.
    std::pair<int, int> LitRows(int x0, int x1, int y0, int y1) const
    {
        int low = 1000, high = -1000;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (Lit(x, y)) {
                    low = std::min(low, y);
                    high = std::max(high, y);
                }
        return {low, high};
    }
};

}  // namespace

TEST_F(TextPixels, DisplayTextsLandInTheirCellsUprightAndReadable)
{
    const Box temperature = Text(0, 200, 0, 6, false, u"x100C°");
    const Box percent = Text(0, 150, 3, 1, true, u"тк%");
    const Box oil = Text(90, 150, 4, 3, false, u"масло");
    const Box digits = Text(0, 110, 5, 6, true, u"0123456789");
    grSetFont(2);
    grSetColor(1);
    grSetMode(GR_MODE_ANTIALIAS, 0);
    grText(220, 10, 90, u"об/м");
    const FontMetrics m2 = fontMetrics()[2];
    const int upW = static_cast<int>(fontManager().measureText(2, u"об/м", false));
    const Box upward = {220 - static_cast<int>(m2.height - m2.descent) - 1, 8,
                        220 + static_cast<int>(m2.descent) + 1, 10 + upW + 2};
    grSetFont(1);
    grSetColor(0);
    grSetTextAlign(1, 2);
    grSetMode(GR_MODE_BORDER, 1);
    grText(100, 60, 0, u"Мкр%");
    grSetMode(GR_MODE_BORDER, 0);
    const FontMetrics m1 = fontMetrics()[1];
    const int plateW = static_cast<int>(fontManager().measureText(1, u"Мкр%", false));
    Capture();
    Save("text_scene");

    for (const Box& b : {temperature, percent, oil, digits, upward})
        EXPECT_GT(LitIn(b), (b.x1 - b.x0) * (b.y1 - b.y0) / 12) << "text at (" << b.x0 << ", " << b.y0 << ")";
    const int plateLeft = 100 - plateW / 2 - 1;
    const Box plate = {plateLeft - 1, 60 - static_cast<int>(m1.height / 2) - 2, plateLeft + plateW + 3,
                       60 + static_cast<int>(m1.height / 2) + 2};
    EXPECT_EQ(LitOutside({temperature, percent, oil, digits, upward, plate}), 0);

    // Monochrome glyphs are drawn in their colour alone; antialiased ones shade their edges.
    EXPECT_EQ(OtherColoursIn(temperature, kWhite), 0);
    EXPECT_EQ(OtherColoursIn(oil, kYellow), 0);
    EXPECT_GT(OtherColoursIn(percent, kGreen), 10);

    // Upright: the degree sign sits high in its line, the x on the baseline.
    const float degreeX = fontManager().measureText(0, u"x100C", false);
    const auto [degreeLow, degreeHigh] = LitRows(static_cast<int>(degreeX) + 1, temperature.x1, 180, 245);
    EXPECT_GT(degreeLow, 200 + 15);
    EXPECT_LE(degreeHigh, 200 + 30);
    const auto [xLow, xHigh] = LitRows(0, 18, 180, 245);
    EXPECT_EQ(xLow, 200);
    EXPECT_LT(xHigh, 200 + 25);

    // Rotated by 90 degrees: glyph tops point to -x, so the glyphs lie left of the anchor.
    EXPECT_GT(LitIn({upward.x0, upward.y0, 219, upward.y1}), 5 * LitIn({220, upward.y0, upward.x1, upward.y1}));

    // The plate: border colour at its corners, the text inside it.
    EXPECT_EQ(At(plateLeft + 1, 60 - static_cast<int>(m1.height / 2) + 1), kBlue);
    EXPECT_GT(Count({255, 0, 0}), 30);
}

TEST_F(TextPixels, BatchesAndPagesShowNoDifference)
{
    // The same line once alone and once at the end of a string long enough
    // to need several batches.
    std::u16string text(230, u' ');
    text += u"тк%0";
    grSetFont(4);
    grSetColor(6);
    grText(0, 40, 0, u"тк%0");
    const float lead = fontManager().measureText(4, std::u16string(230, u' ').c_str(), false);
    grText(-static_cast<int>(lead), 140, 0, text.c_str());
    Capture();
    int differences = 0;
    for (int y = 30; y < 80; ++y)
        for (int x = -5; x < 120; ++x)
            differences += !(At(x, y) == At(x, y + 100));
    EXPECT_EQ(differences, 0);
    EXPECT_GT(Count(kWhite), 200);
}

TEST_F(TextPixels, MonochromeGlyphsShowTheirBitmapsPixelForPixelUpright)
{
    const char16_t* text = u"т к % 7 ф";
    grSetFont(3);
    grSetColor(6);
    grText(20, 100, 0, text);
    Capture();
    TextRenderA render;
    const FT_Face face = fontManager().fontEntry(3).face->face;
    int pen = 20, checked = 0;
    for (const char16_t* p = text; *p; ++p) {
        ASSERT_TRUE(render.RenderGlyph(face, *p, false));
        GlyphOrigin origin;
        GlyphSize size;
        int advance = 0;
        const unsigned char* bitmap = render.GetGlyphBitmap(&origin, &size, &advance);
        for (int row = 0; bitmap && row < size.cy; ++row)
            for (int i = 0; i < size.cx; ++i, ++checked) {
                const Rgb want = bitmap[row * size.cx + i] ? kWhite : kClear;
                ASSERT_EQ(At(pen + origin.x + i, 100 + origin.y - 1 - row), want)
                    << "glyph " << int(*p) << " row " << row << " column " << i;
            }
        pen += advance;
    }
    EXPECT_GT(checked, 500);
}
