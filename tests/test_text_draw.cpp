// grText on the recording GL: glyph quads, alignment, rotation, the plate,
// batches and pages.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "recording_fixture.h"
#include "text/font_manager.h"

namespace {

constexpr GrColor kRed = {255, 0, 0};   // colour 0
constexpr GrColor kBlue = {0, 0, 255};  // border colour 2

class TextDrawTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        grSetFont(0);
        grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
    }

    const GlyphRecord& Glyph(char16_t c, int font = 0)
    {
        const GlyphRecord* r = fontManager().findGlyph(font, c, g_draw.antialias != 0);
        EXPECT_NE(r, nullptr);
        return *r;
    }
    FontMetrics Metrics(int font = 0) const { return fontMetrics()[font]; }

    // The first vertex of the first glyph draw minus the glyph's offset: where
    // the pen started, for text at angle 0.
    rec::Vec2 PenOfFirstGlyph(char16_t first)
    {
        const GlyphRecord& g = Glyph(first);
        const rec::Draw* glyphs = FirstGlyphDraw();
        if (!glyphs)
            return {NAN, NAN};
        return {glyphs->vertices[0].x - g.left, glyphs->vertices[0].y - g.bottom};
    }
    const rec::Draw* FirstGlyphDraw() const
    {
        for (const rec::Draw& d : rec::draws())
            if (d.mode == GL_TRIANGLES)
                return &d;
        ADD_FAILURE() << "no glyph draw";
        return nullptr;
    }
};

}  // namespace

TEST_F(TextDrawTest, UnalignedGlyphQuadStartsAtThePenOffsetFromTheAnchor)
{
    grText(100, 50, 0, u"0");
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& d = rec::draws()[0];
    const GlyphRecord& g = Glyph(u'0');
    const float x0 = 99.625f + g.left, y0 = 49.625f + g.bottom;
    const float x1 = x0 + g.width, y1 = y0 + g.height;
    EXPECT_TRUE(rec::isDraw(d, GL_TRIANGLES, kRed, {{x0, y0}, {x0, y1}, {x1, y1}, {x0, y0}, {x1, y1}, {x1, y0}}));
    EXPECT_TRUE(rec::hasTexCoords(d, {{g.s0, g.t1}, {g.s0, g.t0}, {g.s1, g.t0}, {g.s0, g.t1}, {g.s1, g.t0},
                                      {g.s1, g.t1}}));
    EXPECT_EQ(d.texture2D, g.texture);
    EXPECT_TRUE(d.isEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(d.isEnabled(GL_BLEND));
    EXPECT_TRUE(d.texCoordArray);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(TextDrawTest, PageIsClampedAndFilteredByTheAntialiasingSwitch)
{
    grText(0, 0, 0, u"0");
    const rec::Texture* t = rec::texture(Glyph(u'0').texture);
    EXPECT_EQ(t->parameters.at(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(t->parameters.at(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(t->parameters.at(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(t->parameters.at(GL_TEXTURE_MAG_FILTER), GL_NEAREST);

    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    rec::clearCalls();
    grText(0, 0, 0, u"0");
    EXPECT_EQ(t->parameters.at(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(t->parameters.at(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    const GlyphRecord& grey = Glyph(u'0');  // antialiasing is on: the grey record
    EXPECT_NE(&grey, fontManager().findGlyph(0, u'0', false));
    EXPECT_FLOAT_EQ(rec::draws()[0].texCoords[0].x, grey.s0);
}

TEST_F(TextDrawTest, PenMovesByEachAdvanceAndSkipsBlanks)
{
    grText(0, 0, 0, u"0 1");
    ASSERT_EQ(rec::draws().size(), 1u) << "one page, one draw";
    const rec::Draw& d = rec::draws()[0];
    ASSERT_EQ(d.vertices.size(), 12u) << "the space has no quad";
    const float pen = Glyph(u'0').advance + Glyph(u' ').advance;
    EXPECT_NEAR(d.vertices[6].x, -0.375f + pen + Glyph(u'1').left, 1e-4);
}

TEST_F(TextDrawTest, NinetyDegreesRunsUpwardWithTopsTowardsNegativeX)
{
    grText(100, 50, 90, u"00");
    const rec::Draw& d = rec::draws()[0];
    ASSERT_EQ(d.vertices.size(), 12u);
    const GlyphRecord& g = Glyph(u'0');
    // Pen offset rotated: (-0.375, -0.375) turned by 90 degrees is (0.375, -0.375).
    EXPECT_TRUE(near(d.vertices[0], {100.375f - g.bottom, 49.625f + g.left}));
    EXPECT_TRUE(near(d.vertices[1], {100.375f - g.bottom - g.height, 49.625f + g.left}));  // top left
    EXPECT_TRUE(near(d.vertices[6], {d.vertices[0].x, d.vertices[0].y + g.advance}));
}

TEST_F(TextDrawTest, HorizontalAlignmentShiftsByHalfOrAllOfTheWidthLessOne)
{
    const char16_t* text = u"0 ";
    const float w = fontManager().measureText(0, text, false);
    ASSERT_EQ(std::fmod(w, 2.0f), 1.0f) << "an odd width shows how the half is cut";
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BASELINE);
    grText(100, 50, 0, text);
    EXPECT_TRUE(near(PenOfFirstGlyph(u'0'), {99.625f - (w - 1) / 2, 49.625f}));
    rec::clearCalls();
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_BASELINE);
    grText(100, 50, 0, text);
    EXPECT_TRUE(near(PenOfFirstGlyph(u'0'), {99.625f - (w - 1), 49.625f}));
}

TEST_F(TextDrawTest, VerticalAlignmentPlacesTheBaselineFromTheCellMetrics)
{
    const FontMetrics m = Metrics();
    const std::pair<int, float> drops[] = {
        {GR_ALIGN_BASELINE, 0.0f},
        {GR_ALIGN_TOP, m.height - m.descent - 1},
        {GR_ALIGN_MIDDLE, std::trunc(m.height / 2 - m.descent)},
        {GR_ALIGN_BOTTOM, -m.descent},
    };
    for (auto [v, drop] : drops) {
        rec::clearCalls();
        grSetTextAlign(GR_ALIGN_LEFT, v);
        grText(100, 50, 0, u"0");
        EXPECT_TRUE(near(PenOfFirstGlyph(u'0'), {99.625f, 49.625f - drop})) << "v = " << v;
    }
}

TEST_F(TextDrawTest, AnyAlignmentOutOfRangeCancelsBothOffsets)
{
    for (auto [h, v] : {std::pair{3, 1}, std::pair{-1, 2}, std::pair{2, 4}, std::pair{1, -1}}) {
        rec::clearCalls();
        grSetTextAlign(h, v);
        grText(100, 50, 0, u"0");
        EXPECT_TRUE(near(PenOfFirstGlyph(u'0'), {99.625f, 49.625f})) << h << ", " << v;
    }
}

TEST_F(TextDrawTest, PlateSpansTheAdvanceAndTheCellPlusTheBorderWidth)
{
    grSetMode(GR_MODE_BORDER, GR_ON);
    grText(100, 50, 0, u"00");
    ASSERT_EQ(rec::draws().size(), 2u);
    const FontMetrics m = Metrics();
    const float w = 2 * Glyph(u'0').advance;
    const float x0 = 99.625f - 1, y0 = 49.625f - m.descent - 1;
    const float x1 = x0 + w + 2, y1 = y0 + m.height + 2;
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kBlue, {{x0, y0}, {x0, y1}, {x1, y0}, {x1, y1}}));
    EXPECT_FALSE(rec::draws()[0].isEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(rec::draws()[0].texCoordArray);
    EXPECT_EQ(rec::draws()[1].mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(TextDrawTest, EmptyOrBlankStringWithTheBorderDrawsOnlyThePlate)
{
    grSetMode(GR_MODE_BORDER, GR_ON);
    grText(100, 50, 0, u"");
    ASSERT_EQ(rec::draws().size(), 1u);
    const auto& empty = rec::draws()[0].vertices;
    EXPECT_NEAR(empty[2].x - empty[0].x, 2.0f, 1e-4) << "2b wide";
    rec::clearCalls();
    grText(100, 50, 0, u"   ");
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_EQ(rec::draws()[0].mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
    const auto& blank = rec::draws()[0].vertices;
    EXPECT_NEAR(blank[2].x - blank[0].x, 3 * Glyph(u' ').advance + 2, 1e-4);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(TextDrawTest, NullTextOrUnloadedFontDrawsNothing)
{
    grSetMode(GR_MODE_BORDER, GR_ON);
    grText(100, 50, 0, nullptr);
    EXPECT_TRUE(rec::calls().empty());
    grSetFont(6);
    grText(100, 50, 0, u"0");
    EXPECT_TRUE(rec::draws().empty());
    EXPECT_EQ(grDiagnostics().rejectedIndices, 1);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(TextDrawTest, LongStringIsDrawnInBatchesOf1200Vertices)
{
    const std::u16string text(450, u'0');
    grText(0, 0, 0, text.c_str());
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 1200u);
    EXPECT_EQ(rec::draws()[1].vertices.size(), 1200u);
    EXPECT_EQ(rec::draws()[2].vertices.size(), 300u);
    const float advance = Glyph(u'0').advance;
    EXPECT_NEAR(rec::draws()[1].vertices[0].x - rec::draws()[0].vertices[0].x, 200 * advance, 1e-2);
    EXPECT_NEAR(rec::draws()[2].vertices[0].x - rec::draws()[0].vertices[0].x, 400 * advance, 1e-2);
    for (const rec::Draw& d : rec::draws())
        EXPECT_EQ(d.texture2D, Glyph(u'0').texture);
}

TEST_F(TextDrawTest, GlyphsOnANewPageMidStringDrawFromTheirOwnPage)
{
    rec::setMaxTextureSize(64);  // a page holds only a few glyphs of font 0
    grText(0, 0, 0, u"0");
    const GLuint firstPage = Glyph(u'0').texture;
    rec::clearCalls();
    grText(0, 0, 0, u"0123456780");
    ASSERT_GE(fontManager().pages().size(), 2u);
    // Each draw samples the page of the glyphs it holds, in string order.
    const std::u16string text = u"0123456780";
    size_t glyph = 0;
    for (const rec::Draw& d : rec::draws()) {
        for (size_t v = 0; v < d.vertices.size(); v += 6, ++glyph) {
            ASSERT_LT(glyph, text.size());
            EXPECT_EQ(d.texture2D, Glyph(text[glyph]).texture) << "glyph " << glyph;
        }
    }
    EXPECT_EQ(glyph, text.size());
    EXPECT_EQ(rec::draws().front().texture2D, firstPage);
    EXPECT_EQ(rec::draws().back().texture2D, firstPage) << "the last 0 comes from the first page again";
    EXPECT_TRUE(rec::atFrameBaseline());
}
