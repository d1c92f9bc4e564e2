#include <cmath>

#include "curve_recording.h"

using RingSectorTest = CurveTest;

namespace {

constexpr double kPiD = 3.14159265358979323846;

::testing::AssertionResult near(rec::Vec2 got, rec::Vec2 want, float tol = 1e-3f)
{
    if (std::fabs(got.x - want.x) <= tol && std::fabs(got.y - want.y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got << " is not " << want;
}

bool hasTriangles()
{
    for (const rec::Draw& d : rec::draws())
        if (d.mode == GL_TRIANGLES)
            return true;
    return false;
}

}  // namespace

TEST_F(RingSectorTest, FullFilledSectorIsOneStripAndHasNoStraightEdges)
{
    grSetMode(GR_MODE_FILL, 1);
    grRingSector(0, 0, 100, 50, 0.0f, 360.0f);
    grRingSector(0, 0, 100, 50, 0.0f, 400.0f);
    ASSERT_EQ(rec::draws().size(), 2u);
    const rec::Draw& full = rec::draws()[0];
    EXPECT_EQ(full.vertices.size(), 122u) << "arcSegments(100, 360) = 60";
    EXPECT_TRUE(stripBetween(full, 50, 100)) << "the wrapper passes the inner radius first";
    EXPECT_TRUE(sampledFromTo(full, 0, 360));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_STRIP, kBody, full.vertices, 0.0f));

    grSetMode(GR_MODE_BORDER, 1);
    for (float sweep : {360.0f, 400.0f, -360.0f}) {
        rec::clearCalls();
        grRingSector(0, 0, 100, 50, 0.0f, sweep);
        EXPECT_EQ(rec::draws().size(), 3u) << sweep;
        EXPECT_FALSE(hasTriangles()) << sweep;
    }
    EXPECT_TRUE(oneColourPerDraw());
}

TEST_F(RingSectorTest, SegmentsFollowTheOutermostEdgeDrawn)
{
    // sqrt(99) truncates to 9, sqrt(100) to 10: 54 or 60 segments.
    grSetMode(GR_MODE_FILL, 1);
    grRingSector(0, 0, 99, 0, 0.0f, 360.0f);
    EXPECT_EQ(rec::draws().back().vertices.size(), 110u);
    grSetMode(GR_MODE_BORDER, 1);
    grRingSector(0, 0, 99, 0, 0.0f, 360.0f);
    EXPECT_EQ(rec::draws().back().vertices.size(), 122u) << "the border widens the fill";
    grSetMode(GR_MODE_FILL, 0);
    grSetMode(GR_MODE_BORDER, 0);
    grRingSector(0, 0, 99, 0, 0.0f, 360.0f);
    EXPECT_EQ(rec::draws().back().vertices.size(), 110u);
    setWidths(3.0f, 1.0f);
    grRingSector(0, 0, 99, 0, 0.0f, 360.0f);
    EXPECT_EQ(rec::draws().back().vertices.size(), 122u) << "half the line width widens the outline";
}

TEST_F(RingSectorTest, NegativeSweepTurnsClockwiseAndNegativeInnerIsAPie)
{
    grSetMode(GR_MODE_FILL, 1);
    grRingSector(0, 0, 100, 50, 90.0f, -90.0f);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(sampledFromTo(rec::draws()[0], 90, 0));
    EXPECT_LT(angleOf(rec::draws()[0].vertices[3]), 90.0);

    rec::clearCalls();
    grRingSector(0, 0, 60, -5, 0.0f, 90.0f);
    grRingSector(0, 0, 60, 0, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(stripBetween(rec::draws()[0], 0, 60));
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kBody, rec::draws()[1].vertices, 0.0f));
}

TEST_F(RingSectorTest, RefusesEmptyAndUnusableInput)
{
    grRingSector(0, 0, 0, 0, 0.0f, 90.0f);
    grRingSector(0, 0, 50, 20, 0.0f, 0.0f);
    grRingSector(0, 0, 20, 50, 0.0f, 90.0f);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    grRingSector(0, 0, 50, 20, 0.0f, NAN);
    grRingSector(0, 0, 50, 20, -INFINITY, 90.0f);
    EXPECT_TRUE(rec::draws().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 2);
    grRingSector(0, 0, 50, 20, 0.0f, INFINITY);
    EXPECT_FALSE(hasTriangles()) << "an infinite sweep is a full turn";
    EXPECT_EQ(rec::draws().size(), 2u);
}

TEST_F(RingSectorTest, EqualRadiiOutlineIsAnArcWithoutEdgesAndFillsNothing)
{
    setWidths(3.0f, 1.0f);
    grRingSector(0, 0, 50, 50, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(stripBetween(rec::draws()[0], 48.5, 50));
    EXPECT_TRUE(stripBetween(rec::draws()[1], 50, 51.5));
    EXPECT_TRUE(sampledFromTo(rec::draws()[1], 0, 90));

    rec::clearCalls();
    grSetMode(GR_MODE_BORDER, 1);
    grRingSector(0, 0, 50, 50, 0.0f, 90.0f);
    EXPECT_EQ(rec::draws().size(), 6u);
    EXPECT_FALSE(hasTriangles()) << "edges of zero length have no band and no border";

    rec::clearCalls();
    grSetMode(GR_MODE_FILL, 1);
    grRingSector(0, 0, 50, 50, 0.0f, 90.0f);
    EXPECT_TRUE(rec::draws().empty());
}

TEST_F(RingSectorTest, LineWiderThanTheRingMeetsAtTheMiddleRadius)
{
    setWidths(5.0f, 1.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grRingSector(0, 0, 44, 40, 0.0f, 90.0f);
    const auto& d = rec::draws();
    ASSERT_EQ(d.size(), 8u);
    EXPECT_EQ(d[0].vertices.size(), 24u) << "two side bands along each edge";
    EXPECT_TRUE(stripBetween(d[1], 37.5, 36.5));
    EXPECT_TRUE(stripBetween(d[2], 42, 42));
    EXPECT_TRUE(stripBetween(d[3], 42, 42));
    EXPECT_TRUE(stripBetween(d[4], 46.5, 47.5));
    EXPECT_EQ(d[5].vertices.size(), 12u);
    EXPECT_TRUE(stripBetween(d[6], 37.5, 42));
    EXPECT_TRUE(stripBetween(d[7], 42, 46.5));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(sameColor(d[i].color, kBorder)) << i;
    for (int i = 5; i < 8; ++i)
        EXPECT_TRUE(sameColor(d[i].color, kBody)) << i;
}

TEST_F(RingSectorTest, StraightEdgesAreUnextendedLineBandsWithSideBorders)
{
    setWidths(2.0f, 1.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grRingSector(0, 0, 80, 40, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 8u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[5], GL_TRIANGLES, kBody,
                            {{40, -1}, {40, 1}, {80, -1}, {40, 1}, {80, -1}, {80, 1},
                             {-1, 80}, {1, 80}, {-1, 40}, {1, 80}, {-1, 40}, {1, 40}},
                            1e-4f));
    const rec::Draw& sides = rec::draws()[0];
    for (size_t i = 0; i < 12; ++i) {
        const rec::Vec2 v = sides.vertices[i];
        EXPECT_TRUE(std::fabs(std::fabs(v.y) - 1.5f) <= 0.5f + 1e-4f) << "from 1 to 2 off the start edge: " << v;
        EXPECT_TRUE(v.x >= 40 - 1e-4f && v.x <= 80 + 1e-4f) << v;
    }
}

TEST_F(RingSectorTest, DashRunsOnceRoundTheClosedOutline)
{
    grSetLinePattern(1);
    grSetMode(GR_MODE_BORDER, 1);
    grRingSector(0, 0, 80, 40, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 8u);
    const float edge = 40.0f / 16;
    const float outerArc = static_cast<float>(kPiD / 2 * 80 / 16);
    const float innerArc = static_cast<float>(kPiD / 2 * 40 / 16);
    const float a = edge + outerArc;
    const float b = 2 * edge + outerArc;
    const float c = b + innerArc;
    EXPECT_TRUE(rec::hasTexCoords(rec::draws()[5], {{0, 1}, {0, 0}, {edge, 1}, {0, 0}, {edge, 1}, {edge, 0},
                                                    {a, 1}, {a, 0}, {b, 1}, {a, 0}, {b, 1}, {b, 0}},
                                  1e-4f));
    // The borders of each arc share its dash coordinates.
    for (int i : {1, 2, 6}) {
        const rec::Draw& inner = rec::draws()[i];
        EXPECT_NEAR(inner.texCoords.front().x, c, 1e-4) << i;
        EXPECT_NEAR(inner.texCoords.back().x, b, 1e-4) << i;
    }
    for (int i : {3, 4, 7}) {
        const rec::Draw& outer = rec::draws()[i];
        EXPECT_NEAR(outer.texCoords.front().x, edge, 1e-4) << i;
        EXPECT_NEAR(outer.texCoords.back().x, a, 1e-4) << i;
    }
    const rec::Draw& sides = rec::draws()[0];
    EXPECT_EQ(sides.texCoords[0].x, 0.0f);
    EXPECT_NEAR(sides.texCoords[23].x, b, 1e-4);
    for (const rec::Draw& d : rec::draws())
        EXPECT_TRUE(d.isEnabled(GL_TEXTURE_1D) && d.isEnabled(GL_BLEND));
    EXPECT_TRUE(rec::atFrameBaseline());
}

// Filled, bordered ring sectors: the edge border bands in the three ways a
// gap can leave room for them.
class EdgeBorderTest : public CurveTest {
protected:
    const rec::Draw& edgeBorder(int outer, int inner, float sweep)
    {
        grSetMode(GR_MODE_FILL, 1);
        grSetMode(GR_MODE_BORDER, 1);
        grRingSector(0, 0, outer, inner, 0.0f, sweep);
        EXPECT_EQ(rec::draws().size(), 4u);
        const rec::Draw& d = rec::draws().back();
        EXPECT_EQ(d.mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_TRUE(sameColor(d.color, kBorder));
        return d;
    }
};

TEST_F(EdgeBorderTest, WideGapTakesABandOutsideEachEdge)
{
    const rec::Draw& d = edgeBorder(100, 50, 90.0f);
    EXPECT_TRUE(rec::isDraw(d, GL_TRIANGLES, kBorder,
                            {{49, 0}, {101, 0}, {101, -1}, {49, 0}, {101, -1}, {49, -1},
                             {0, 49}, {0, 101}, {-1, 101}, {0, 49}, {-1, 101}, {-1, 49}},
                            1e-3f));
}

TEST_F(EdgeBorderTest, NarrowGapNearTheCentreMeetsOnTheBisector)
{
    // Gap of 1 degree: rO tan(0.5 deg) = 0.45 < bw, so the bands end on the
    // bisector at -0.5 degrees.
    const rec::Draw& d = edgeBorder(50, 40, 359.0f);
    ASSERT_EQ(d.vertices.size(), 12u);
    const double cosG = std::cos(0.5 * kRadPerDeg);
    EXPECT_TRUE(near(d.vertices[0], {39, 0}));
    EXPECT_TRUE(near(d.vertices[1], {51, 0}));
    EXPECT_TRUE(near(d.vertices[2], polar(51 / cosG, -0.5)));
    EXPECT_TRUE(near(d.vertices[5], polar(39 / cosG, -0.5)));
    EXPECT_TRUE(near(d.vertices[6], polar(39, 359)));
    EXPECT_TRUE(near(d.vertices[8], polar(51 / cosG, -0.5)));
}

TEST_F(EdgeBorderTest, NarrowGapFarOutMitresWhereTheOffsetEdgesCross)
{
    // rO tan(0.5 deg) = 1.75 > bw: the outer part keeps its offset band up
    // to the crossing point X at bw / sin(0.5 deg).
    const rec::Draw& d = edgeBorder(200, 100, 359.0f);
    ASSERT_EQ(d.vertices.size(), 18u);
    const double cosG = std::cos(0.5 * kRadPerDeg);
    EXPECT_TRUE(near(d.vertices[2], {201, -1}));
    EXPECT_TRUE(near(d.vertices[5], polar(1 / std::sin(0.5 * kRadPerDeg), -0.5), 0.02f));
    EXPECT_TRUE(near(d.vertices[8], polar(99 / cosG, -0.5)));
    EXPECT_TRUE(near(d.vertices[9], polar(99, 359)));
}

TEST_F(EdgeBorderTest, PieSliceWithNarrowGapStaysFinite)
{
    const rec::Draw& d = edgeBorder(100, 0, 300.0f);
    ASSERT_EQ(d.vertices.size(), 18u);
    for (const rec::Vec2& v : d.vertices)
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y)) << v;
}
