// The rasteriser's conversions into coverage bytes and its results on a
// real face.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "text/linux/font_face.h"
#include "text/glyph_convert.h"
#include "text/text_render_a.h"

TEST(GreyLevels, SixtyFiveLevelsMapOntoFullCoverage)
{
    EXPECT_EQ(levelCoverage(64), 255);
    EXPECT_EQ(levelCoverage(32), 127);
    EXPECT_EQ(levelCoverage(1), 3);
    EXPECT_EQ(levelCoverage(0), 0);
    EXPECT_EQ(greyLevel(255), 64);
    EXPECT_EQ(greyLevel(128), 32);
    EXPECT_EQ(greyLevel(2), 1);  // 0.502 of a level rounds up
    EXPECT_EQ(greyLevel(1), 0);
}

TEST(GreyRows, PaddedSourceRowsBecomeTightRows)
{
    // Width 5 in rows padded to 8, the padding holding junk.
    const unsigned char source[16] = {0, 4, 128, 255, 2, 9, 9, 9,  //
                                      255, 255, 0, 0, 128, 9, 9, 9};
    unsigned char out[10];
    convertGreyRows(source, 8, 5, 2, out);
    const unsigned char expected[10] = {0, 3, 127, 255, 3, 255, 255, 0, 0, 127};
    EXPECT_EQ(std::vector<unsigned char>(out, out + 10), std::vector<unsigned char>(expected, expected + 10));
}

TEST(GreyRows, NegativePitchWalksUpwardFromTheTopRow)
{
    const unsigned char source[8] = {10, 10, 10, 10, 255, 255, 255, 255};  // bottom row first in memory
    unsigned char out[8];
    convertGreyRows(source + 4, -4, 4, 2, out);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[4], levelCoverage(greyLevel(10)));
}

TEST(MonoRows, BitsReadMostSignificantFirstAcrossPaddedRows)
{
    // Width 33 in rows of 8 bytes: pixels 0, 7, 8 and 32 set, junk in the padding.
    const unsigned char row[8] = {0x81, 0x80, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF};
    unsigned char source[16];
    for (int i = 0; i < 16; ++i)
        source[i] = row[i % 8];
    unsigned char out[66];
    convertMonoRows(source, 8, 33, 2, out);
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 33; ++i) {
            const bool set = i == 0 || i == 7 || i == 8 || i == 32;
            EXPECT_EQ(out[r * 33 + i], set ? 255 : 0) << "row " << r << " pixel " << i;
        }
}

class TextRenderAFace : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(FT_Init_FreeType(&library_), 0);
        face_ = openFace(library_, "Arial", false, false, 40);
        ASSERT_NE(face_, nullptr);
    }
    void TearDown() override
    {
        if (face_)
            FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }

    struct Result {
        const unsigned char* bitmap;
        GlyphOrigin origin;
        GlyphSize size;
        int advance;
    };
    Result Render(char16_t code, bool antialiased)
    {
        Result r = {};
        EXPECT_TRUE(render_.RenderGlyph(face_, code, antialiased));
        r.bitmap = render_.GetGlyphBitmap(&r.origin, &r.size, &r.advance);
        return r;
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    TextRenderA render_;
};

TEST_F(TextRenderAFace, SpaceHasAnAdvanceButNoBitmapInEitherMode)
{
    for (bool aa : {false, true}) {
        const Result r = Render(u' ', aa);
        EXPECT_EQ(r.bitmap, nullptr) << "antialiased " << aa;
        EXPECT_GT(r.advance, 5);
        EXPECT_LT(r.advance, 20);
    }
}

TEST_F(TextRenderAFace, MonochromeGlyphIsOnlyFullOrEmpty)
{
    const Result r = Render(u'O', false);
    ASSERT_NE(r.bitmap, nullptr);
    std::set<int> values(r.bitmap, r.bitmap + r.size.cx * r.size.cy);
    EXPECT_EQ(values, (std::set<int>{0, 255}));
}

TEST_F(TextRenderAFace, GreyGlyphTakesOnlyTheSixtyFiveLevels)
{
    const Result r = Render(u'O', true);
    ASSERT_NE(r.bitmap, nullptr);
    std::set<int> values(r.bitmap, r.bitmap + r.size.cx * r.size.cy);
    EXPECT_GT(values.size(), 4u) << "edges are shaded";
    EXPECT_TRUE(values.count(255));
    for (int v : values)
        EXPECT_EQ(v, levelCoverage(greyLevel(static_cast<unsigned char>(v)))) << v << " is no level";
}

TEST_F(TextRenderAFace, OriginPlacesTheBlackBoxAgainstPenAndBaseline)
{
    const Result x = Render(u'x', false);
    EXPECT_EQ(x.origin.y, x.size.cy) << "x sits on the baseline";
    EXPECT_GE(x.origin.x, 0);
    EXPECT_LE(x.origin.x + x.size.cx, x.advance + 1);
    const Result p = Render(u'p', false);
    EXPECT_LT(p.origin.y - p.size.cy, -5) << "the descender of p reaches below the baseline";
    const Result cyrillic = Render(u'ш', true);
    EXPECT_NE(cyrillic.bitmap, nullptr);
    EXPECT_EQ(cyrillic.origin.y, cyrillic.size.cy);
}

TEST_F(TextRenderAFace, RefusesWithoutAFaceAndForgetsTheLastBitmap)
{
    Render(u'O', true);
    EXPECT_FALSE(render_.RenderGlyph(nullptr, u'O', true));
    EXPECT_EQ(render_.GetGlyphBitmap(nullptr, nullptr, nullptr), nullptr);
}
