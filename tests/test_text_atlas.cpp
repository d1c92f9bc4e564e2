// Atlas pages, the packer and the glyph cache on the recording GL, with the
// display's fonts loaded.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <utility>

#include "recording_fixture.h"
#include "text/font_manager.h"

namespace {

struct TreeDeleter {
    void operator()(PackNode* node) const { freePackTree(node); }
};
using Tree = std::unique_ptr<PackNode, TreeDeleter>;

Tree page512() { return Tree(newPackNode(0, 0, 512, 512, 0)); }

// The cell packInsert gives a w x h bitmap (padded by one on every side).
::testing::AssertionResult cellIs(PackNode* root, int w, int h, int x0, int y0, int x1, int y1)
{
    const PackResult r = packInsert(root, {w + 2, h + 2});
    if (!r.ok || !r.cell)
        return ::testing::AssertionFailure() << w << "x" << h << " found no cell";
    const PackNode& c = *r.cell;
    if (c.x0 != x0 || c.y0 != y0 || c.x1 != x1 || c.y1 != y1 || !c.used)
        return ::testing::AssertionFailure() << w << "x" << h << " got (" << c.x0 << ", " << c.y0 << ", " << c.x1
                                             << ", " << c.y1 << ")";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(Packer, FillsAStripThenItsColumnsThenOpensTheNextStrip)
{
    Tree root = page512();
    EXPECT_TRUE(cellIs(root.get(), 10, 20, 0, 0, 12, 22));
    const PackNode* strip = root->first;
    EXPECT_EQ(strip->x1, 512);
    EXPECT_EQ(strip->y1, 22);
    EXPECT_TRUE(cellIs(root.get(), 8, 15, 12, 0, 22, 17));
    const PackNode* column = strip->second->first;
    EXPECT_EQ(column->x0, 12);
    EXPECT_EQ(column->x1, 22);
    EXPECT_EQ(column->y1, 22);
    EXPECT_TRUE(cellIs(root.get(), 6, 2, 12, 17, 20, 21)) << "under the second glyph, in its column";
    EXPECT_TRUE(cellIs(root.get(), 6, 28, 0, 22, 8, 52)) << "too tall for the first strip";
    EXPECT_TRUE(cellIs(root.get(), 4, 3, 22, 0, 28, 5)) << "the second column is full: a third one opens";
}

TEST(Packer, ExactFitTakesTheWholePageAndNothingMore)
{
    Tree root = page512();
    EXPECT_TRUE(cellIs(root.get(), 510, 510, 0, 0, 512, 512));
    const PackResult again = packInsert(root.get(), {3, 3});
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(again.cell, nullptr);
    for (PackSize tooBig : {PackSize{513, 512}, PackSize{512, 513}}) {
        Tree fresh = page512();
        const PackResult r = packInsert(fresh.get(), tooBig);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.cell, nullptr);
    }
}

class AtlasTest : public RecordingTest {
protected:
    void TearDown() override
    {
        releaseAtlasPages(pages_);
        RecordingTest::TearDown();
    }
    AtlasPages pages_;
};

TEST_F(AtlasTest, PageIsA512AlphaTextureOfZeros)
{
    GlyphSpace space = {};
    ASSERT_TRUE(reserveGlyphSpace(pages_, 10, 20, &space));
    ASSERT_EQ(pages_.size(), 1u);
    const rec::Texture* t = rec::texture(pages_[0]->texture);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->internalFormat, GL_ALPHA);
    EXPECT_EQ(t->width, 512);
    EXPECT_EQ(t->height, 512);
    EXPECT_EQ(std::count(t->texels.begin(), t->texels.end(), 0), 512 * 512);
    EXPECT_EQ(space.cell->x1, 12);
}

TEST_F(AtlasTest, SmallMaximumTextureSizeGivesSmallPages)
{
    rec::setMaxTextureSize(256);
    GlyphSpace space = {};
    ASSERT_TRUE(reserveGlyphSpace(pages_, 254, 254, &space));
    EXPECT_EQ(pageWidth(*pages_[0]), 256);
    EXPECT_EQ(rec::texture(pages_[0]->texture)->height, 256);
    EXPECT_FALSE(reserveGlyphSpace(pages_, 255, 10, &space));
    EXPECT_EQ(pages_.size(), 1u) << "a glyph wider than any page opens none";
    ASSERT_TRUE(reserveGlyphSpace(pages_, 10, 10, &space));
    ASSERT_EQ(pages_.size(), 2u);
    EXPECT_EQ(pageHeight(*pages_[1]), 256);
}

TEST_F(AtlasTest, GlyphLargerThanAPageOpensNoPage)
{
    GlyphSpace space = {};
    EXPECT_FALSE(reserveGlyphSpace(pages_, 511, 510, &space));
    EXPECT_FALSE(reserveGlyphSpace(pages_, 510, 511, &space));
    EXPECT_TRUE(pages_.empty());
    EXPECT_EQ(rec::liveTextureCount(), 0);
    EXPECT_TRUE(reserveGlyphSpace(pages_, 510, 510, &space));
}

TEST_F(AtlasTest, NegativeAndHugeSizesGetNoCellAndOpenNoPage)
{
    GlyphSpace space = {};
    for (const auto& [w, h] : {std::pair{-1, 4}, {4, -2}, {-2, -2}, {INT_MAX, 3}, {3, INT_MAX}, {INT_MIN, 0},
                               {kMaxGlyphSide + 1, 1}})
        EXPECT_FALSE(reserveGlyphSpace(pages_, w, h, &space)) << w << " x " << h;
    EXPECT_TRUE(pages_.empty());
    EXPECT_EQ(rec::liveTextureCount(), 0);
    ASSERT_TRUE(reserveGlyphSpace(pages_, 0, 0, &space)) << "an empty bitmap still gets its padded cell";
    EXPECT_EQ(space.cell->x1 - space.cell->x0, 2);
}

TEST_F(AtlasTest, OnlyTheNewestPageIsSearched)
{
    GlyphSpace small = {}, big = {}, later = {};
    ASSERT_TRUE(reserveGlyphSpace(pages_, 10, 10, &small));
    ASSERT_TRUE(reserveGlyphSpace(pages_, 510, 510, &big));
    ASSERT_TRUE(reserveGlyphSpace(pages_, 10, 10, &later));
    ASSERT_EQ(pages_.size(), 3u);
    EXPECT_EQ(small.page, pages_[0]);
    EXPECT_EQ(big.page, pages_[1]);
    EXPECT_EQ(later.page, pages_[2]) << "the first page still has room but is not searched";
}

TEST_F(AtlasTest, RefusedTextureAddsNoPageAndTheNextRequestTriesAgain)
{
    GlyphSpace space = {};
    rec::failNextTexImage(GL_OUT_OF_MEMORY);
    EXPECT_FALSE(reserveGlyphSpace(pages_, 10, 10, &space));
    EXPECT_TRUE(pages_.empty());
    EXPECT_EQ(rec::liveTextureCount(), 0);
    EXPECT_TRUE(reserveGlyphSpace(pages_, 10, 10, &space));
}

TEST_F(AtlasTest, UploadWritesRowsTopDownAndBindsOnlyWhenNeeded)
{
    GlyphSpace space = {};
    ASSERT_TRUE(reserveGlyphSpace(pages_, 2, 2, &space));
    rec::clearCalls();
    const unsigned char bitmap[4] = {1, 2, 3, 4};
    uploadGlyph(*pages_[0], bitmap, 1, 1, 2, 2);
    EXPECT_TRUE(rec::callsNamed("glBindTexture").empty()) << "the new page is still bound";
    const rec::Texture* t = rec::texture(pages_[0]->texture);
    EXPECT_EQ(t->texels[512 + 1], 1);
    EXPECT_EQ(t->texels[512 + 2], 2);
    EXPECT_EQ(t->texels[2 * 512 + 1], 3);
    glBindTexture(GL_TEXTURE_2D, 0);
    uploadGlyph(*pages_[0], bitmap, 1, 1, 2, 2);
    EXPECT_EQ(rec::callsNamed("glBindTexture").size(), 2u);
}

class GlyphCacheTest : public RecordingTest {
protected:
    FontManager& fonts = fontManager();
};

TEST_F(GlyphCacheTest, FirstGlyphLandsInTheFirstCellOfTheFirstPage)
{
    ASSERT_TRUE(fonts.pages().empty());
    const GlyphRecord* zero = fonts.findGlyph(0, u'0', false);
    ASSERT_NE(zero, nullptr);
    ASSERT_EQ(fonts.pages().size(), 1u);
    EXPECT_EQ(zero->texture, fonts.pages()[0]->texture);
    EXPECT_FLOAT_EQ(zero->s0, 1.0f / 512);
    EXPECT_FLOAT_EQ(zero->t0, 1.0f / 512);
    EXPECT_FLOAT_EQ(zero->s1, (zero->width + 1) / 512);
    EXPECT_FLOAT_EQ(zero->t1, (zero->height + 1) / 512);
    EXPECT_GT(zero->bottom + zero->height, 20) << "a digit stands on the baseline";
    EXPECT_NEAR(zero->bottom, 0, 1);

    // The page holds the glyph's texels inside a ring of zeros.
    const rec::Texture* t = rec::texture(zero->texture);
    const int w = static_cast<int>(zero->width), h = static_cast<int>(zero->height);
    int covered = 0, ring = 0;
    for (int y = 0; y <= h + 1; ++y)
        for (int x = 0; x <= w + 1; ++x) {
            const int texel = t->texels[y * 512 + x];
            const bool inside = x >= 1 && x <= w && y >= 1 && y <= h;
            (inside ? covered : ring) += texel != 0;
        }
    EXPECT_GT(covered, w * h / 5);
    EXPECT_EQ(ring, 0);
}

TEST_F(GlyphCacheTest, SpacesAndTabsTakeNoAtlasSpace)
{
    for (char16_t code : {u' ', u'\t'}) {
        const GlyphRecord* r = fonts.findGlyph(0, code, false);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->texture, 0u);
        EXPECT_EQ(r->s1, 0.0f);
    }
    EXPECT_GT(fonts.findGlyph(0, u' ', false)->advance, 5);
    EXPECT_TRUE(fonts.pages().empty());
}

TEST_F(GlyphCacheTest, EachModeHasItsOwnRecordOnTheSharedPage)
{
    const GlyphRecord* mono = fonts.findGlyph(2, u'ж', false);
    const GlyphRecord* grey = fonts.findGlyph(2, u'ж', true);
    ASSERT_NE(mono, nullptr);
    ASSERT_NE(grey, nullptr);
    EXPECT_NE(mono, grey);
    EXPECT_EQ(mono->texture, grey->texture);
    EXPECT_NE(mono->s0, grey->s0);
    EXPECT_EQ(fonts.findGlyph(2, u'ж', false), mono) << "cached";
    EXPECT_EQ(fonts.fontEntry(2).caches[0].size(), 1u);
    EXPECT_EQ(fonts.fontEntry(2).caches[1].size(), 1u);
}

TEST_F(GlyphCacheTest, RecordsStayPutWhileMoreGlyphsAreBuilt)
{
    const GlyphRecord* first = fonts.findGlyph(1, u'A', true);
    const GlyphRecord copy = *first;
    for (char16_t c = u'B'; c < u'z'; ++c)
        ASSERT_NE(fonts.findGlyph(1, c, true), nullptr);
    EXPECT_EQ(fonts.findGlyph(1, u'A', true), first);
    EXPECT_EQ(first->s0, copy.s0);
    EXPECT_EQ(first->advance, copy.advance);
}

TEST_F(GlyphCacheTest, IndicesOutsideTheLoadedFontsFindNothing)
{
    EXPECT_EQ(fonts.findGlyph(-1, u'0', false), nullptr);
    EXPECT_EQ(fonts.findGlyph(6, u'0', false), nullptr);
    EXPECT_EQ(fonts.measureText(6, u"00", false), 0.0f);
    EXPECT_TRUE(fonts.pages().empty());
}

TEST_F(GlyphCacheTest, MeasureSumsAdvances)
{
    EXPECT_EQ(fonts.measureText(0, u"", false), 0.0f);
    EXPECT_EQ(fonts.measureText(0, nullptr, false), 0.0f);
    const float zero = fonts.findGlyph(0, u'0', false)->advance;
    EXPECT_GT(zero, 15);
    EXPECT_EQ(fonts.measureText(0, u"00", false), 2 * zero);
    EXPECT_EQ(fonts.measureText(0, u"0 0", false), 2 * zero + fonts.findGlyph(0, u' ', false)->advance);
}

TEST_F(GlyphCacheTest, FailedPageLeavesTheGlyphUncachedUntilItWorks)
{
    rec::failNextTexImage(GL_OUT_OF_MEMORY);
    EXPECT_EQ(fonts.findGlyph(0, u'1', false), nullptr);
    EXPECT_TRUE(fonts.fontEntry(0).caches[0].empty());
    EXPECT_NE(fonts.findGlyph(0, u'1', false), nullptr);
}
