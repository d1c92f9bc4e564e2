// GDI text on Windows: the table's fonts as CreateFontW gets them, and the
// two GDI rasterisers.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "recording_fixture.h"
#include "text/font_manager.h"
#include "text/glyph_convert.h"
#include "text/text_render_a.h"
#include "text_render_b.h"

namespace {

GrTables tablesWithFonts(const FontSpec* fonts, int count)
{
    GrTables t = displayTables();
    t.fonts = fonts;
    t.fontCount = count;
    return t;
}

LOGFONTW logFontOf(HFONT font)
{
    LOGFONTW logFont = {};
    EXPECT_EQ(GetObjectW(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    return logFont;
}

// A screen DC with one of the library's fonts selected while it lives.
class FontDc {
public:
    explicit FontDc(HFONT font) : dc_(GetWindowDC(nullptr)), previous_(SelectObject(dc_, font)) {}
    ~FontDc()
    {
        SelectObject(dc_, previous_);
        ReleaseDC(nullptr, dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

struct Glyph {
    bool rendered = false;
    const unsigned char* bitmap = nullptr;
    GlyphOrigin origin = {};
    GlyphSize size = {};
    int advance = 0;
};

Glyph render(ITextRender& renderer, HDC dc, char16_t code, bool antialiased)
{
    Glyph glyph;
    glyph.rendered = renderer.RenderGlyph(dc, code, antialiased);
    if (glyph.rendered)
        glyph.bitmap = renderer.GetGlyphBitmap(&glyph.origin, &glyph.size, &glyph.advance);
    return glyph;
}

class GdiTextTest : public RecordingTest {
protected:
    FontManager& fonts = fontManager();
    HFONT font(int index) const { return fonts.fontEntry(index).face; }
};

}  // namespace

TEST_F(GdiTextTest, TableFontsAreCreatedWithTheirEmHeightWeightAndFace)
{
    ASSERT_EQ(fonts.fontCount(), 6);
    HDC screen = GetWindowDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const FontSpec* table = displayTables().fonts;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("font " + std::to_string(i));
        const LOGFONTW logFont = logFontOf(font(i));
        EXPECT_EQ(logFont.lfHeight, -MulDiv(table[i].pointSize, dpi, 72)) << "a negative em height";
        EXPECT_EQ(logFont.lfWeight, table[i].bold ? 700 : 400);
        EXPECT_EQ(logFont.lfItalic, 0);
        EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(logFont.lfOutPrecision, OUT_TT_PRECIS);
        EXPECT_EQ(logFont.lfClipPrecision, CLIP_CHARACTER_PRECIS);
        EXPECT_EQ(logFont.lfQuality, DEFAULT_QUALITY);
        wchar_t face[LF_FACESIZE] = {};
        MultiByteToWideChar(CP_ACP, 0, table[i].faceName, -1, face, LF_FACESIZE);
        EXPECT_STREQ(logFont.lfFaceName, face);

        // The metrics are the cell height and descent of the selected font.
        FontDc dc(font(i));
        TEXTMETRICW text = {};
        ASSERT_TRUE(GetTextMetricsW(dc.get(), &text));
        EXPECT_EQ(fontMetrics()[i].height, static_cast<float>(text.tmHeight));
        EXPECT_EQ(fontMetrics()[i].descent, static_cast<float>(text.tmDescent));
        EXPECT_GT(text.tmHeight, -logFont.lfHeight) << "the cell is taller than the em";
    }
}

TEST_F(GdiTextTest, AnyNonZeroBoldOrItalicCountsAndAMissingFaceNameFails)
{
    const FontSpec table[] = {
        {"Arial", 12, 255, 7, u"arial.ttf"},
        {"Arial", 12, 1, 1, u"arial.ttf"},
        {"Arial", 12, 0, 0, nullptr},
        {nullptr, 12, 0, 0, nullptr},
        {"Arial", 12, 0, 0, nullptr},
    };
    grShutdown();
    const GrTables tables = tablesWithFonts(table, 5);
    ASSERT_TRUE(grUseTables(&tables));
    EXPECT_EQ(grInit(1.5f), GR_INIT_FONTS_FAILED) << "entry 3 has no face";
    ASSERT_EQ(fonts.fontCount(), 3) << "the fonts before the failure stay until release";
    const LOGFONTW a = logFontOf(font(0)), b = logFontOf(font(1)), plain = logFontOf(font(2));
    EXPECT_EQ(a.lfWeight, 700);
    EXPECT_EQ(a.lfItalic, 1);
    EXPECT_EQ(a.lfWeight, b.lfWeight);
    EXPECT_EQ(a.lfItalic, b.lfItalic);
    EXPECT_EQ(plain.lfWeight, 400);
    EXPECT_EQ(plain.lfItalic, 0);
    EXPECT_EQ(fontMetrics()[3].height, 0.0f);
    EXPECT_EQ(fontMetrics()[4].height, 0.0f);
    grShutdown();
    EXPECT_EQ(fonts.fontCount(), 0);
    ASSERT_TRUE(grUseTables(&displayTables()));
    ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
}

TEST_F(GdiTextTest, RasteriserAGivesSixtyFiveGreyLevelsOrFullAndEmptyPixels)
{
    TextRenderA renderer;
    FontDc dc(font(0));
    std::set<int> levels;
    for (int level = 0; level <= 64; ++level)
        levels.insert(levelCoverage(level));
    for (char16_t code : {u'A', u'g', u'Ж', u'%'}) {
        SCOPED_TRACE(static_cast<int>(code));
        const Glyph grey = render(renderer, dc.get(), code, true);
        ASSERT_TRUE(grey.rendered);
        ASSERT_NE(grey.bitmap, nullptr);
        std::set<int> seen(grey.bitmap, grey.bitmap + grey.size.cx * grey.size.cy);
        for (int value : seen)
            EXPECT_TRUE(levels.count(value)) << value << " is no grey level";
        EXPECT_TRUE(seen.count(255)) << "a glyph this large covers some pixels fully";
        EXPECT_GT(seen.size(), 2u) << "grey glyphs have intermediate levels";

        const Glyph mono = render(renderer, dc.get(), code, false);
        ASSERT_TRUE(mono.rendered);
        ASSERT_NE(mono.bitmap, nullptr);
        std::set<int> bits(mono.bitmap, mono.bitmap + mono.size.cx * mono.size.cy);
        EXPECT_EQ(bits, (std::set<int>{0, 255}));
    }
}

TEST_F(GdiTextTest, SpaceHasAnAdvanceButNoBitmap)
{
    TextRenderA renderer;
    FontDc dc(font(0));
    for (bool antialiased : {true, false}) {
        const Glyph space = render(renderer, dc.get(), u' ', antialiased);
        ASSERT_TRUE(space.rendered);
        EXPECT_EQ(space.bitmap, nullptr);
        EXPECT_GT(space.advance, 0);
    }
}

// Both rasterisers measure with the same outline, so they place every glyph
// alike; only their pixels may differ. Wine hints a monochrome bitmap
// horizontally on its own (GGO_BITMAP), so there widths, left edges and
// advances may move by up to 3 pixels (measured: 3 at most); heights and
// tops stay exact.
constexpr int kMonoHintingSlack = 3;

TEST_F(GdiTextTest, BothRasterisersAgreeOnSizeAndOriginForEveryFont)
{
    TextRenderA a;
    TextRenderB b;
    for (int f = 0; f < fonts.fontCount(); ++f) {
        FontDc dc(font(f));
        for (char16_t code : {u'A', u'g', u'7', u'Ж', u'%', u'j'}) {
            for (bool antialiased : {false, true}) {
                SCOPED_TRACE("font " + std::to_string(f) + " code " + std::to_string(code) +
                             (antialiased ? " grey" : " mono"));
                const Glyph ga = render(a, dc.get(), code, antialiased);
                const Glyph gb = render(b, dc.get(), code, antialiased);
                ASSERT_TRUE(ga.rendered);
                ASSERT_TRUE(gb.rendered);
                EXPECT_EQ(ga.size.cy, gb.size.cy);
                EXPECT_EQ(ga.origin.y, gb.origin.y);
                const int slack = antialiased ? 0 : kMonoHintingSlack;
                EXPECT_NEAR(ga.size.cx, gb.size.cx, slack);
                EXPECT_NEAR(ga.origin.x, gb.origin.x, slack);
                EXPECT_NEAR(ga.advance, gb.advance, slack);
                ASSERT_NE(gb.bitmap, nullptr);
                // B's pixels are the drawn character: some covered, some not.
                const int n = gb.size.cx * gb.size.cy;
                int covered = 0;
                for (int i = 0; i < n; ++i)
                    covered += gb.bitmap[i] > 128;
                EXPECT_GT(covered, 0);
                EXPECT_LT(covered, n);
            }
        }
    }
}

TEST(GdiGlyphRows, GreyLevelsAndMonoBitsBecomeCoverageWithoutThePadding)
{
    // Five pixels a row, GDI pads grey rows to 8 bytes; the pad bytes hold
    // values that must not show.
    const unsigned char grey[16] = {0, 1, 32, 64, 63, 99, 99, 99, 64, 0, 0, 0, 70, 99, 99, 99};
    unsigned char out[10] = {};
    convertGlyphRows(grey, 8, 5, 2, GlyphRows::GreyLevels, out);
    const unsigned char wantGrey[10] = {0, 3, 127, 255, 251, 255, 0, 0, 0, 255};
    EXPECT_EQ(std::basic_string<unsigned char>(out, 10), std::basic_string<unsigned char>(wantGrey, 10))
        << "levels above 64 count as full";

    // 33 pixels a row take 8 bytes in 1-bit rows.
    unsigned char mono[16] = {};
    mono[0] = 0x81;  // pixels 0 and 7
    mono[4] = 0x80;  // pixel 32
    mono[5] = 0xFF;  // padding
    mono[8] = 0x40;  // second row, pixel 1
    unsigned char bits[66] = {};
    convertGlyphRows(mono, 8, 33, 2, GlyphRows::MonoBits, bits);
    for (int i = 0; i < 66; ++i)
        EXPECT_EQ(bits[i], (i == 0 || i == 7 || i == 32 || i == 34) ? 255 : 0) << "pixel " << i;
}
