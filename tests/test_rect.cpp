#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "recording_fixture.h"
#include "state.h"
#include "tables.h"

namespace {

constexpr GrColor kRed = {255, 0, 0};   // colour 0
constexpr GrColor kBlue = {0, 0, 255};  // border colour 2

struct Box {
    float xl, yl, xh, yh;
    bool contains(double x, double y) const { return x > xl && x < xh && y > yl && y < yh; }
    Box grown(float d) const { return {xl - d, yl - d, xh + d, yh + d}; }
};

std::vector<rec::Vec2> frameStrip(Box outer, Box inner)
{
    return {{outer.xl, outer.yl}, {inner.xl, inner.yl}, {outer.xh, outer.yl}, {inner.xh, inner.yl},
            {outer.xh, outer.yh}, {inner.xh, inner.yh}, {outer.xl, outer.yh}, {inner.xl, inner.yh},
            {outer.xl, outer.yl}, {inner.xl, inner.yl}};
}

std::vector<rec::Vec2> stripTriangles(const std::vector<rec::Vec2>& strip)
{
    std::vector<rec::Vec2> out;
    for (size_t i = 2; i < strip.size(); ++i)
        out.insert(out.end(), {strip[i - 2], strip[i - 1], strip[i]});
    return out;
}

double cross(rec::Vec2 o, rec::Vec2 a, double x, double y)
{
    return double(a.x - o.x) * (y - o.y) - double(a.y - o.y) * (x - o.x);
}

int trianglesCovering(const std::vector<rec::Vec2>& t, double x, double y)
{
    int n = 0;
    for (size_t i = 0; i + 2 < t.size(); i += 3) {
        const double d0 = cross(t[i], t[i + 1], x, y);
        const double d1 = cross(t[i + 1], t[i + 2], x, y);
        const double d2 = cross(t[i + 2], t[i], x, y);
        if ((d0 > 0 && d1 > 0 && d2 > 0) || (d0 < 0 && d1 < 0 && d2 < 0))
            ++n;
    }
    return n;
}

// Samples a fine grid (offset so that no sample falls on an edge or a
// 45-degree mitre) and checks that every point is covered by exactly as
// many triangles as expected: 1 inside the region, 0 outside. Catches gaps,
// overlaps and spill alike.
::testing::AssertionResult tiles(const std::vector<rec::Vec2>& triangles, Box area,
                                 const std::function<bool(double, double)>& inside)
{
    for (double x = area.xl + 0.037; x < area.xh; x += 0.1)
        for (double y = area.yl + 0.071; y < area.yh; y += 0.1) {
            const int expected = inside(x, y) ? 1 : 0;
            const int actual = trianglesCovering(triangles, x, y);
            if (actual != expected)
                return ::testing::AssertionFailure()
                       << "(" << x << ", " << y << ") covered " << actual << " times, expected " << expected;
        }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult tilesFrame(const std::vector<rec::Vec2>& triangles, Box outer, Box hole)
{
    return tiles(triangles, outer.grown(2), [&](double x, double y) {
        return outer.contains(x, y) && !hole.contains(x, y);
    });
}

class RectTest : public DrawingTest {
protected:

    // Draws the outline of (x1, y1)-(x2, y2) with the given line width.
    static void outline(float width, int x1, int y1, int x2, int y2)
    {
        g_draw.lineWidth = width;
        rec::clearCalls();
        grRect(x1, y1, x2, y2);
    }
};

TEST_F(RectTest, FillCoversTheFirstCornersPixelAndStopsShortOfTheSeconds)
{
    grSetMode(GR_MODE_FILL, 1);
    grSetLinePattern(1);  // fills ignore the pattern
    rec::clearCalls();
    grRect(0, 0, 10, 5);
    grRect(10, 5, 0, 0);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                            {{-0.5f, -0.5f}, {-0.5f, 4.5f}, {9.5f, -0.5f}, {9.5f, 4.5f}}));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_STRIP, kRed,
                            {{0.5f, 0.5f}, {0.5f, 5.5f}, {10.5f, 0.5f}, {10.5f, 5.5f}}));
    EXPECT_TRUE(rec::draws()[0].texCoords.empty());

    grSetMode(GR_MODE_BORDER, 1);
    rec::clearCalls();
    grRect(0, 0, 10, 5);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_STRIP, kBlue,
                            {{-1.5f, -1.5f}, {-0.5f, -0.5f}, {10.5f, -1.5f}, {9.5f, -0.5f}, {10.5f, 5.5f},
                             {9.5f, 4.5f}, {-1.5f, 5.5f}, {-0.5f, 4.5f}, {-1.5f, -1.5f}, {-0.5f, -0.5f}}));

    rec::clearCalls();
    grRect(0, 0, 0, 5);
    grRect(0, 3, 10, 3);
    grSetMode(GR_MODE_FILL, 0);
    grRect(0, 0, 0, 5);
    grRect(0, 3, 10, 3);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
}

TEST_F(RectTest, OutlineCentreLinesFollowTheWidthsParity)
{
    outline(1, 0, 0, 10, 5);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                            {{-0.5f, -0.5f}, {0.5f, 0.5f}, {9.5f, -0.5f}, {8.5f, 0.5f}, {9.5f, 4.5f},
                             {8.5f, 3.5f}, {-0.5f, 4.5f}, {0.5f, 3.5f}, {-0.5f, -0.5f}, {0.5f, 0.5f}}))
        << "centre lines x = 0, 9 and y = 0, 4";

    outline(2, 0, 0, 10, 5);
    EXPECT_TRUE(rec::isDraw(rec::draws().at(0), GL_TRIANGLE_STRIP, kRed,
                            frameStrip({-0.5f, -0.5f, 10.5f, 5.5f}, {1.5f, 1.5f, 8.5f, 3.5f})))
        << "centre lines x = 0.5, 9.5 and y = 0.5, 4.5";

    outline(1, 10, 5, 0, 0);
    EXPECT_TRUE(rec::isDraw(rec::draws().at(0), GL_TRIANGLE_STRIP, kRed,
                            frameStrip({0.5f, 0.5f, 10.5f, 5.5f}, {1.5f, 1.5f, 9.5f, 4.5f})))
        << "reversed: centre lines through the first corner's pixel, x = 10 and 1";

    outline(2, 10, 5, 0, 0);
    EXPECT_TRUE(rec::isDraw(rec::draws().at(0), GL_TRIANGLE_STRIP, kRed,
                            frameStrip({-0.5f, -0.5f, 10.5f, 5.5f}, {1.5f, 1.5f, 8.5f, 3.5f})));
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(RectTest, WideOutlineStopsItsInnerEdgesAtTheCentreLines)
{
    outline(5, 0, 0, 10, 5);  // centre lines x = 0, 9 and y = 0, 4
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                            frameStrip({-2.5f, -2.5f, 11.5f, 6.5f}, {2.5f, 2.0f, 6.5f, 2.0f})));

    outline(5, 0, 0, 4, 4);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(tiles(stripTriangles(rec::draws()[0].vertices), {-5, -5, 8, 8},
                      [](double x, double y) { return Box{-2.5f, -2.5f, 5.5f, 5.5f}.contains(x, y); }))
        << "the frame becomes a plain rectangle without overlap";
}

TEST_F(RectTest, OutlineBordersAreMitredBandsOutsideAndInside)
{
    grSetMode(GR_MODE_BORDER, 1);
    const Box outer = {-0.5f, -0.5f, 9.5f, 4.5f}, inner = {0.5f, 0.5f, 8.5f, 3.5f};
    for (int pattern : {0, 1}) {
        grSetLinePattern(pattern);
        outline(1, 0, 0, 10, 5);
        ASSERT_EQ(rec::draws().size(), 2u);
        const rec::Draw& border = rec::draws()[1];
        EXPECT_EQ(border.mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_EQ(border.vertices.size(), 48u);
        EXPECT_EQ(border.color.b, 255);
        EXPECT_TRUE(tiles(border.vertices, outer.grown(3), [&](double x, double y) {
            return (outer.grown(1).contains(x, y) && !outer.contains(x, y)) ||
                   (inner.contains(x, y) && !inner.grown(-1).contains(x, y));
        })) << "pattern " << pattern;
        EXPECT_EQ(rec::callsNamed("glDrawArrays").size(), 2u);
        EXPECT_TRUE(rec::atFrameBaseline());
    }

    // Width 3: the solid inner band would pass the centre line y = 2 and stops there.
    grSetLinePattern(0);
    outline(3, 0, 0, 10, 5);
    const Box wideOuter = {-1.5f, -1.5f, 10.5f, 5.5f}, wideInner = {1.5f, 1.5f, 7.5f, 2.5f};
    EXPECT_TRUE(tiles(rec::draws().at(1).vertices, wideOuter.grown(3), [&](double x, double y) {
        return (wideOuter.grown(1).contains(x, y) && !wideOuter.contains(x, y)) || wideInner.contains(x, y);
    }));

    grSetLinePattern(1);
    outline(3, 0, 0, 3, 3);  // sides of 2 do not exceed the width: no inner dashed band
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(rec::draws()[1].vertices.size(), 24u);
    outline(0.5f, 0, 0, 10, 5);
    ASSERT_EQ(rec::draws().size(), 1u) << "the border keeps its rows when the line has none";
    EXPECT_EQ(rec::draws()[0].color.b, 255);
}

TEST_F(RectTest, DashedOutlineIsBuiltFromOnePixelRows)
{
    grSetLinePattern(1);
    for (int width = 1; width <= 5; ++width) {
        outline(float(width), 0, 0, 10, 5);
        ASSERT_EQ(rec::draws().size(), 1u);
        const rec::Draw& rows = rec::draws()[0];
        EXPECT_EQ(rows.mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_EQ(rows.vertices.size(), 24u * width);
        EXPECT_TRUE(rows.isEnabled(GL_TEXTURE_1D));
        EXPECT_TRUE(rows.isEnabled(GL_BLEND));
        // The same area as the solid outline of this width, each point once.
        const float hw = width / 2.0f;
        const Box edges = width % 2 ? Box{0, 0, 9, 4} : Box{0.5f, 0.5f, 9.5f, 4.5f};
        const float inset = std::fmin(hw, (edges.yh - edges.yl) / 2);
        EXPECT_TRUE(tilesFrame(rows.vertices, edges.grown(hw), edges.grown(-inset))) << "width " << width;
        EXPECT_TRUE(rec::atFrameBaseline());
    }

    // Where the rows of a square meet in the middle, the mitres still close.
    for (int width : {3, 4, 5}) {
        outline(float(width), 0, 0, 4, 4);
        const Box edges = width % 2 ? Box{0, 0, 3, 3} : Box{0.5f, 0.5f, 3.5f, 3.5f};
        EXPECT_TRUE(tilesFrame(rec::draws().at(0).vertices, edges.grown(width / 2.0f), edges.grown(-2)))
            << "width " << width;
    }

    outline(0.5f, 0, 0, 10, 5);
    EXPECT_TRUE(rec::draws().empty()) << "no whole row fits a width below 1";
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(RectTest, DashRunsOnRoundTheCornersFromTheFirstCorner)
{
    grSetLinePattern(1);  // length 16
    outline(1, 0, 0, 10, 5);  // edges x 0..9, y 0..4
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& rows = rec::draws()[0];
    ASSERT_EQ(rows.vertices.size(), 24u);
    const float pw = 9 / 16.0f, ph = 4 / 16.0f;
    EXPECT_TRUE(rec::isDraw(rows, GL_TRIANGLES, kRed,
                            {{-0.5f, -0.5f}, {0.5f, 0.5f}, {9.5f, -0.5f}, {0.5f, 0.5f}, {9.5f, -0.5f}, {8.5f, 0.5f},
                             {9.5f, -0.5f}, {8.5f, 0.5f}, {9.5f, 4.5f}, {8.5f, 0.5f}, {9.5f, 4.5f}, {8.5f, 3.5f},
                             {9.5f, 4.5f}, {8.5f, 3.5f}, {-0.5f, 4.5f}, {8.5f, 3.5f}, {-0.5f, 4.5f}, {0.5f, 3.5f},
                             {-0.5f, 4.5f}, {0.5f, 3.5f}, {-0.5f, -0.5f}, {0.5f, 3.5f}, {-0.5f, -0.5f}, {0.5f, 0.5f}}));
    const float s[5] = {0, pw, pw + ph, 2 * pw + ph, 2 * pw + 2 * ph};
    for (int side = 0; side < 4; ++side) {
        const float a = s[side], b = s[side + 1];
        for (int k = 0; k < 6; ++k) {
            const bool atEnd = k == 2 || k == 4 || k == 5;
            const bool outer = k == 0 || k == 2 || k == 4;
            EXPECT_NEAR(rows.texCoords[6 * side + k].x, atEnd ? b : a, 1e-6) << "side " << side << " vertex " << k;
            EXPECT_EQ(rows.texCoords[6 * side + k].y, outer ? 1.0f : 0.0f);
        }
    }

    // Every row of a side, and the border rows, share the side's s range.
    grSetMode(GR_MODE_BORDER, 1);
    outline(3, 0, 0, 10, 5);
    ASSERT_EQ(rec::draws().size(), 2u);
    for (const rec::Draw& draw : rec::draws()) {
        const size_t perSide = draw.texCoords.size() / (&draw == &rec::draws()[0] ? 4 : 8);
        for (size_t i = 0; i < draw.texCoords.size(); ++i) {
            const int side = static_cast<int>(i / perSide) % 4;
            const float value = draw.texCoords[i].x;
            EXPECT_TRUE(std::fabs(value - s[side]) < 1e-6 || std::fabs(value - s[side + 1]) < 1e-6)
                << "vertex " << i << " has s " << value;
        }
    }
}

TEST_F(RectTest, OutlinesFollowThePatternAndRefuseUnusableWidths)
{
    selectEmptyMask();
    grSetMode(GR_MODE_BORDER, 1);
    outline(1, 0, 0, 10, 5);
    EXPECT_TRUE(rec::draws().empty()) << "an empty mask hides the outline and its border";
    grSetMode(GR_MODE_FILL, 1);
    outline(1, 0, 0, 10, 5);
    EXPECT_EQ(rec::draws().size(), 2u) << "but not a fill";
    grSetMode(GR_MODE_FILL, 0);
    ASSERT_TRUE(grUseTables(&displayTables()));

    grBeginFrame();
    outline(std::numeric_limits<float>::quiet_NaN(), 0, 0, 10, 5);
    EXPECT_TRUE(rec::draws().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 1);

    grSetLinePattern(1);
    outline(1.0e9f, 0, 0, 10, 5);
    EXPECT_TRUE(rec::draws().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 2);
    EXPECT_EQ(g_draw.vertexScratch.capacity, 0) << "nothing allocated for it";
    EXPECT_TRUE(rec::atFrameBaseline());
}

}  // namespace
