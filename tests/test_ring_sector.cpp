#include "curve_recording.h"

using RingSectorTest = CurveTest;

namespace {

bool anyTriangles()
{
    for (const rec::Draw& d : rec::draws())
        if (d.mode == GL_TRIANGLES)
            return true;
    return false;
}

}  // namespace

TEST_F(RingSectorTest, FullTurnIsOneStripWithoutStraightEdges)
{
    grSetMode(GR_MODE_FILL, 1);
    grRingSector(0, 0, 100, 50, 0.0f, 360.0f);
    grRingSector(0, 0, 100, 50, 0.0f, 400.0f);
    EXPECT_EQ(draw(0).vertices.size(), 122u) << "arcSegments(100, 360) = 60";
    EXPECT_TRUE(stripBetween(draw(0), 50, 100)) << "inner radius first";
    EXPECT_TRUE(sampledFromTo(draw(0), 0, 360));
    EXPECT_TRUE(rec::isDraw(draw(1), GL_TRIANGLE_STRIP, kBody, draw(0).vertices, 0.0f));
    grSetMode(GR_MODE_BORDER, 1);
    for (float sweep : {360.0f, -360.0f, INFINITY}) {
        rec::clearCalls();
        grRingSector(0, 0, 100, 50, 0.0f, sweep);
        EXPECT_EQ(rec::draws().size(), 3u) << sweep;
        EXPECT_FALSE(anyTriangles()) << sweep;
    }
}

TEST_F(RingSectorTest, SegmentsFollowTheOutermostEdgeDrawn)
{
    // sqrt(99) truncates to 9 and sqrt(100) to 10: 54 or 60 segments.
    const struct {
        int fill, border;
        float width;
        size_t vertices;
    } cases[] = {{1, 0, 1, 110}, {1, 1, 1, 122}, {0, 0, 1, 110}, {0, 0, 3, 122}};
    for (const auto& c : cases) {
        grSetMode(GR_MODE_FILL, c.fill);
        grSetMode(GR_MODE_BORDER, c.border);
        setWidths(c.width, 1.0f);
        grRingSector(0, 0, 99, 0, 0.0f, 360.0f);
        EXPECT_EQ(rec::draws().back().vertices.size(), c.vertices) << c.fill << c.border << c.width;
    }
}

TEST_F(RingSectorTest, ClockwiseSweepsPieSlicesAndRefusedInput)
{
    grSetMode(GR_MODE_FILL, 1);
    grRingSector(0, 0, 100, 50, 90.0f, -90.0f);
    EXPECT_TRUE(sampledFromTo(draw(0), 90, 0));
    grRingSector(0, 0, 60, -5, 0.0f, 90.0f);
    EXPECT_TRUE(stripBetween(draw(1), 0, 60)) << "a negative inner radius is 0";

    grRingSector(0, 0, 0, 0, 0.0f, 90.0f);
    grRingSector(0, 0, 50, 20, 0.0f, 0.0f);
    grRingSector(0, 0, 20, 50, 0.0f, 90.0f);
    grRingSector(0, 0, 50, 50, 0.0f, 90.0f);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    grRingSector(0, 0, 50, 20, 0.0f, NAN);
    grRingSector(0, 0, 50, 20, -INFINITY, 90.0f);
    EXPECT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 2);
}

TEST_F(RingSectorTest, OutlineBandsMeetAtTheMiddleRadius)
{
    setWidths(3.0f, 1.0f);
    grRingSector(0, 0, 50, 50, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 2u) << "equal radii: an arc, its edges of zero length draw nothing";
    EXPECT_TRUE(stripBetween(draw(0), 48.5, 50));
    EXPECT_TRUE(stripBetween(draw(1), 50, 51.5));

    rec::clearCalls();
    setWidths(5.0f, 1.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grRingSector(0, 0, 44, 40, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 8u);
    EXPECT_EQ(draw(0).vertices.size(), 24u) << "two side bands along each edge";
    EXPECT_TRUE(stripBetween(draw(1), 37.5, 36.5, kBorder));
    EXPECT_TRUE(stripBetween(draw(2), 42, 42, kBorder));
    EXPECT_TRUE(stripBetween(draw(3), 42, 42, kBorder));
    EXPECT_TRUE(stripBetween(draw(4), 46.5, 47.5, kBorder));
    EXPECT_EQ(draw(5).vertices.size(), 12u);
    EXPECT_TRUE(stripBetween(draw(6), 37.5, 42));
    EXPECT_TRUE(stripBetween(draw(7), 42, 46.5));
}

TEST_F(RingSectorTest, StraightEdgesAreUnextendedLineBands)
{
    setWidths(2.0f, 1.0f);
    grRingSector(0, 0, 80, 40, 0.0f, 90.0f);
    EXPECT_TRUE(rec::isDraw(draw(0), GL_TRIANGLES, kBody,
                            {{40, -1}, {40, 1}, {80, -1}, {40, 1}, {80, -1}, {80, 1},
                             {-1, 80}, {1, 80}, {-1, 40}, {1, 80}, {-1, 40}, {1, 40}}));
}

TEST_F(RingSectorTest, DashRunsOnceRoundTheClosedOutline)
{
    grSetLinePattern(1);
    grSetMode(GR_MODE_BORDER, 1);
    grRingSector(0, 0, 80, 40, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 8u);
    // 0 -> L -> L + Ao -> 2L + Ao -> 2L + Ao + Ai, with L = 40/16.
    const float l = 40.0f / 16;
    const float a = l + static_cast<float>(kPiD / 2 * 80 / 16);
    const float b = l + a;
    const float c = b + static_cast<float>(kPiD / 2 * 40 / 16);
    EXPECT_TRUE(rec::hasTexCoords(draw(5), {{0, 1}, {0, 0}, {l, 1}, {0, 0}, {l, 1}, {l, 0},
                                            {a, 1}, {a, 0}, {b, 1}, {a, 0}, {b, 1}, {b, 0}}));
    EXPECT_EQ(draw(0).texCoords.front().x, 0.0f);
    EXPECT_NEAR(draw(0).texCoords.back().x, b, 1e-4) << "edge borders carry their edge's run";
    for (int i : {1, 2, 6}) {  // the inner arc and its borders, from the end angle back
        EXPECT_NEAR(draw(i).texCoords.front().x, c, 1e-4) << i;
        EXPECT_NEAR(draw(i).texCoords.back().x, b, 1e-4) << i;
    }
    for (int i : {3, 4, 7}) {
        EXPECT_NEAR(draw(i).texCoords.front().x, l, 1e-4) << i;
        EXPECT_NEAR(draw(i).texCoords.back().x, a, 1e-4) << i;
    }
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(RingSectorTest, EdgeBordersMeetOnTheBisectorOfANarrowGap)
{
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    const auto edgeBorder = [](int outer, int inner, float sweep) -> const rec::Draw& {
        rec::clearCalls();
        grRingSector(0, 0, outer, inner, 0.0f, sweep);
        EXPECT_EQ(rec::draws().size(), 4u);
        EXPECT_TRUE(sameColor(rec::draws().back().color, kBorder));
        return rec::draws().back();
    };
    // A wide gap: a band outside each edge from rI = inner - bw to rO = outer + bw.
    EXPECT_TRUE(rec::isDraw(edgeBorder(100, 50, 90), GL_TRIANGLES, kBorder,
                            {{49, 0}, {101, 0}, {101, -1}, {49, 0}, {101, -1}, {49, -1},
                             {0, 49}, {0, 101}, {-1, 101}, {0, 49}, {-1, 101}, {-1, 49}}));

    // A one-degree gap near the centre, rO tan(0.5 deg) < bw: quads up to the
    // bisector at -0.5 degrees.
    const double cosG = std::cos(0.5 * kRadPerDeg);
    const rec::Draw& close = edgeBorder(50, 40, 359);
    ASSERT_EQ(close.vertices.size(), 12u);
    EXPECT_TRUE(near(close.vertices[2], polar(51 / cosG, -0.5)));
    EXPECT_TRUE(near(close.vertices[5], polar(39 / cosG, -0.5)));
    EXPECT_TRUE(near(close.vertices[6], polar(39, 359)));

    // Far out, rO tan(0.5 deg) > bw: pentagons through X at bw / sin(0.5 deg).
    const rec::Draw& far = edgeBorder(200, 100, 359);
    ASSERT_EQ(far.vertices.size(), 18u);
    EXPECT_TRUE(near(far.vertices[2], {201, -1}));
    EXPECT_TRUE(near(far.vertices[5], polar(1 / std::sin(0.5 * kRadPerDeg), -0.5), 0.02f));
    EXPECT_TRUE(near(far.vertices[8], polar(99 / cosG, -0.5)));

    for (const rec::Vec2& v : edgeBorder(100, 0, 300).vertices)
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y)) << "a pie slice has no inner radius to divide by";
}
