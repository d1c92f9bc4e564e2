#include <cmath>

#include "curve_recording.h"
#include "disc.h"

using ArcTest = CurveTest;
using CircleTest = CurveTest;
using SectorTest = CurveTest;
using RingTest = CurveTest;

namespace {

constexpr double kPiD = 3.14159265358979323846;

::testing::AssertionResult near(rec::Vec2 got, rec::Vec2 want, float tol = 1e-3f)
{
    if (std::fabs(got.x - want.x) <= tol && std::fabs(got.y - want.y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got << " is not " << want;
}

}  // namespace

TEST_F(ArcTest, IsOneStripBetweenTheLineEdges)
{
    grArc(20, -10, 100, 30.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& d = rec::draws()[0];
    EXPECT_EQ(d.vertices.size(), 32u) << "arcSegments(100.5, 90) = 15";
    EXPECT_TRUE(sameColor(d.color, kBody));
    EXPECT_TRUE(stripBetween(d, 99.5, 100.5, 20, -10));
    EXPECT_TRUE(sampledFromTo(d, 30, 120, 20, -10));
    EXPECT_TRUE(d.texCoords.empty());
    EXPECT_FALSE(d.isEnabled(GL_BLEND));
    EXPECT_EQ(rec::callNames(), (std::vector<std::string>{"glColor3ub", "glVertexPointer", "glDrawArrays"}));
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ArcTest, SweepIsClampedToAFullTurnAndNegativeSweepsTurnClockwise)
{
    grArc(0, 0, 50, 10.0f, 720.0f);
    grArc(0, 0, 50, 10.0f, 360.0f);
    grArc(0, 0, 50, 10.0f, INFINITY);
    grArc(0, 0, 50, 10.0f, -90.0f);
    ASSERT_EQ(rec::draws().size(), 4u);
    const rec::Draw& full = rec::draws()[1];
    EXPECT_EQ(full.vertices.size(), 86u) << "arcSegments(50.5, 360) = 42";
    EXPECT_TRUE(sampledFromTo(full, 10, 370));
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kBody, full.vertices, 0.0f));
    EXPECT_TRUE(rec::isDraw(rec::draws()[2], GL_TRIANGLE_STRIP, kBody, full.vertices, 0.0f));

    const rec::Draw& clockwise = rec::draws()[3];
    EXPECT_TRUE(sampledFromTo(clockwise, 10, -80));
    EXPECT_LT(angleOf(clockwise.vertices[3]), 10.0);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
}

TEST_F(ArcTest, DrawsNothingWithoutRadiusOrSweepAndCountsUnusableAngles)
{
    grArc(0, 0, 0, 0.0f, 90.0f);
    grArc(0, 0, -5, 0.0f, 90.0f);
    grArc(0, 0, 50, 0.0f, 0.0f);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0) << "ordinary empty arcs are not refused input";
    grArc(0, 0, 50, NAN, 90.0f);
    grArc(0, 0, 50, 0.0f, NAN);
    grArc(0, 0, 50, INFINITY, 90.0f);
    EXPECT_TRUE(rec::draws().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 3);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ArcTest, LineWiderThanTheDiameterReachesTheCentre)
{
    setWidths(5.0f, 1.0f);
    grArc(0, 0, 2, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 8u) << "arcSegments(4.5, 90) = 3";
    EXPECT_TRUE(stripBetween(rec::draws()[0], 0.0, 4.5));
}

TEST_F(ArcTest, BorderBandsLieOutsideTheLineOnBothSides)
{
    setWidths(3.0f, 2.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grArc(0, 0, 100, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 3u);
    const auto& d = rec::draws();
    for (const rec::Draw& band : d) {
        EXPECT_EQ(band.vertices.size(), 32u) << "arcSegments(103.5, 90) = 15";
        EXPECT_TRUE(sampledFromTo(band, 0, 90));
    }
    EXPECT_TRUE(sameColor(d[0].color, kBody));
    EXPECT_TRUE(stripBetween(d[0], 98.5, 101.5));
    EXPECT_TRUE(sameColor(d[1].color, kBorder));
    EXPECT_TRUE(stripBetween(d[1], 98.5, 96.5));
    EXPECT_TRUE(sameColor(d[2].color, kBorder));
    EXPECT_TRUE(stripBetween(d[2], 101.5, 103.5));
    EXPECT_TRUE(oneColourPerDraw());
}

TEST_F(ArcTest, DashesRunAlongTheCentreRadiusFromZero)
{
    setWidths(1.0f, 2.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grSetLinePattern(1);
    g_draw.patternPhase = 0.25f;
    grArc(0, 0, 100, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 3u);
    const double ds = 100.0 * (kPiD / 2) / 15.0 / 16.0;
    const float widths[3] = {1.0f, 2.0f, 2.0f};
    for (int part = 0; part < 3; ++part) {
        const rec::Draw& d = rec::draws()[part];
        ASSERT_EQ(d.texCoords.size(), 32u);
        EXPECT_TRUE(d.isEnabled(GL_TEXTURE_1D) && d.isEnabled(GL_BLEND) && d.texCoordArray);
        EXPECT_EQ(d.texture1D, g_draw.patternTexture->name);
        for (size_t k = 0; k <= 15; ++k) {
            EXPECT_NEAR(d.texCoords[2 * k].x, k * ds, 1e-4);
            EXPECT_NEAR(d.texCoords[2 * k + 1].x, k * ds, 1e-4);
            EXPECT_EQ(d.texCoords[2 * k].y, 0.0f);
            EXPECT_EQ(d.texCoords[2 * k + 1].y, widths[part]);
        }
    }
    EXPECT_NEAR(rec::draws()[0].texCoords.back().x, 100.0 * kPiD / 2 / 16.0, 1e-4);
    EXPECT_EQ(g_draw.patternPhase, 0.25f) << "arcs neither use nor change the line phase";
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(CurveTest, AnEmptyPatternHidesOutlinesButNotFills)
{
    static const LinePattern patterns[] = {{0xFFFF, 0}, {0x0000, 0}};
    static GrTables tables = displayTables();
    tables.patterns = patterns;
    tables.patternCount = 2;
    ASSERT_TRUE(grUseTables(&tables));
    grSetLinePattern(1);
    grArc(0, 0, 50, 0.0f, 90.0f);
    grCircle(0, 0, 50);
    grSector(0, 0, 50, 0.0f, 90.0f);
    grRing(0, 0, 50, 20);
    grRingSector(0, 0, 50, 20, 0.0f, 90.0f);
    EXPECT_TRUE(rec::draws().empty());
    grSetMode(GR_MODE_FILL, 1);
    grCircle(0, 0, 50);
    grSector(0, 0, 50, 0.0f, 90.0f);
    grRing(0, 0, 50, 20);
    grRingSector(0, 0, 50, 20, 0.0f, 90.0f);
    EXPECT_EQ(rec::draws().size(), 4u);
}

TEST_F(CircleTest, OutlineIsOneClosedStripWhoseSegmentsCountTheBorder)
{
    grCircle(5, 5, 10);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& d = rec::draws()[0];
    EXPECT_EQ(d.vertices.size(), 38u) << "circleSegments(10.5) = 18";
    EXPECT_TRUE(stripBetween(d, 9.5, 10.5, 5, 5));
    EXPECT_TRUE(sampledFromTo(d, 0, 360, 5, 5));

    rec::clearCalls();
    grSetMode(GR_MODE_BORDER, 1);
    grCircle(0, 0, 15);
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 50u) << "circleSegments(16.5) = 24, not circleSegments(15.5)";
    EXPECT_TRUE(stripBetween(rec::draws()[1], 14.5, 13.5));
    EXPECT_TRUE(stripBetween(rec::draws()[2], 15.5, 16.5));
}

TEST_F(CircleTest, FilledCircleIsAFanAndItsBorderABandAroundIt)
{
    grSetMode(GR_MODE_FILL, 1);
    grCircle(5, 5, 10);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& fan = rec::draws()[0];
    ASSERT_EQ(fan.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    ASSERT_EQ(fan.vertices.size(), 20u);
    EXPECT_TRUE(near(fan.vertices[0], {5, 5}));
    EXPECT_TRUE(near(fan.vertices[1], {15, 5}));
    EXPECT_TRUE(near(fan.vertices[19], {15, 5}));
    for (size_t i = 1; i < fan.vertices.size(); ++i)
        EXPECT_NEAR(radiusOf(fan.vertices[i], 5, 5), 10.0, 1e-4);

    rec::clearCalls();
    grSetMode(GR_MODE_BORDER, 1);
    grCircle(0, 0, 15);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 26u) << "circleSegments(16) = 24";
    EXPECT_TRUE(sameColor(rec::draws()[1].color, kBorder));
    EXPECT_EQ(rec::draws()[1].vertices.size(), 50u);
    EXPECT_TRUE(stripBetween(rec::draws()[1], 15.0, 16.0));
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(CircleTest, DiscForPointsHasSixSegmentsAtLeastAndRefusesNaN)
{
    fillDisc(1.0f, 2.0f, 0.5f);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 8u) << "circleSegments(0.5) = 6";
    fillDisc(0.0f, 0.0f, NAN);
    fillDisc(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(rec::draws().size(), 1u);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 1);
}

TEST_F(CircleTest, DashedOutlineRunsOnceRound)
{
    grSetLinePattern(2);
    grCircle(0, 0, 10);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& d = rec::draws()[0];
    ASSERT_EQ(d.texCoords.size(), 38u);
    EXPECT_NEAR(d.texCoords[2].x, 10.0 * 2 * kPiD / 18 / 32, 1e-5);
    EXPECT_NEAR(d.texCoords.back().x, 10.0 * 2 * kPiD / 32, 1e-4);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(SectorTest, FilledSectorIsAFanFromTheCentre)
{
    grSetMode(GR_MODE_FILL, 1);
    grSector(3, 4, 100, 30.0f, 60.0f);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& fan = rec::draws()[0];
    ASSERT_EQ(fan.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    ASSERT_EQ(fan.vertices.size(), 12u) << "arcSegments(100, 60) = 10";
    EXPECT_TRUE(near(fan.vertices[0], {3, 4}));
    EXPECT_TRUE(near(fan.vertices[1], polar(100, 30, 3, 4)));
    EXPECT_TRUE(near(fan.vertices[11], polar(100, 90, 3, 4)));
}

struct RadialCase {
    float sweep;
    int r;
    size_t vertices;
    size_t mAt;  // index of the corner point M
    rec::Vec2 m;
};

TEST_F(SectorTest, RadialBorderClosesTheCornerAccordingToTheSweep)
{
    const double q270 = 1.0 / std::sin(kPiD / 4);
    const double d350 = 6.0 / std::cos(5 * kRadPerDeg);
    const RadialCase cases[] = {
        {60.0f, 100, 18, 17, {-0.8660254f, -0.5f}},           // parallelogram C + o1 + o2
        {120.0f, 100, 18, 17, polar(1 / std::sin(60 * kRadPerDeg), 240)},  // mitre on the bisector
        {270.0f, 100, 12, 5, polar(q270, 315)},               // bands meet at bw / sin h
        {350.0f, 100, 12, 5, polar(1 / std::sin(5 * kRadPerDeg), 355)},
        {350.0f, 5, 6, 2, polar(d350, 355)},                  // cut at R / cos h
    };
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    for (const RadialCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "sweep " << c.sweep << ", radius " << c.r);
        rec::clearCalls();
        grSector(0, 0, c.r, 0.0f, c.sweep);
        ASSERT_EQ(rec::draws().size(), 3u);
        const rec::Draw& radial = rec::draws()[2];
        EXPECT_EQ(radial.mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_TRUE(sameColor(radial.color, kBorder));
        ASSERT_EQ(radial.vertices.size(), c.vertices);
        EXPECT_TRUE(near(radial.vertices[c.mAt], c.m));
        EXPECT_TRUE(stripBetween(rec::draws()[1], c.r, c.r + 1.0));
    }

    rec::clearCalls();
    grSector(0, 0, 100, 0.0f, 60.0f);
    const rec::Draw& sixty = rec::draws()[2];
    EXPECT_TRUE(near(sixty.vertices[0], {0, -1}));
    EXPECT_TRUE(near(sixty.vertices[2], {101, -1}));
    EXPECT_TRUE(near(sixty.vertices[5], {101, 0}));
    const rec::Vec2 p2 = polar(101, 60);
    EXPECT_TRUE(near(sixty.vertices[8], {p2.x - 0.8660254f, p2.y + 0.5f})) << "P2 + o2";

    rec::clearCalls();
    grSector(0, 0, 100, 60.0f, -60.0f);
    EXPECT_TRUE(rec::isDraw(rec::draws()[2], GL_TRIANGLES, kBorder, sixty.vertices, 1e-3f))
        << "a clockwise sweep has the same border as its counter-clockwise mirror";
}

TEST_F(SectorTest, OnlyPartialSectorsHaveRadialEdges)
{
    grSetMode(GR_MODE_BORDER, 1);
    const float sweeps[] = {360.0f, -360.0f, 400.0f, 359.0f};
    const size_t filled[] = {2, 2, 2, 3};
    const size_t outlined[] = {3, 3, 3, 5};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "sweep " << sweeps[i]);
        rec::clearCalls();
        grSetMode(GR_MODE_FILL, 1);
        grSector(0, 0, 50, 0.0f, sweeps[i]);
        EXPECT_EQ(rec::draws().size(), filled[i]);
        rec::clearCalls();
        grSetMode(GR_MODE_FILL, 0);
        grSector(0, 0, 50, 0.0f, sweeps[i]);
        EXPECT_EQ(rec::draws().size(), outlined[i]);
    }
}

TEST_F(SectorTest, OutlineRadiiStartHalfAUnitBehindTheCentreAndEndAtTheRim)
{
    grSector(0, 0, 50, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLES, kBody,
                            {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {50, -0.5f}, {-0.5f, 0.5f}, {50, -0.5f}, {50, 0.5f},
                             {0.5f, -0.5f}, {-0.5f, -0.5f}, {0.5f, 50}, {-0.5f, -0.5f}, {0.5f, 50}, {-0.5f, 50}},
                            1e-4f));
    EXPECT_EQ(rec::draws()[1].vertices.size(), 22u) << "arcSegments(50.5, 90) = 10";
    EXPECT_TRUE(stripBetween(rec::draws()[1], 49.5, 50.5));
    EXPECT_TRUE(sampledFromTo(rec::draws()[1], 0, 90));
}

TEST_F(SectorTest, BorderedOutlineDrawsEveryBorderBeforeTheLine)
{
    grSetMode(GR_MODE_BORDER, 1);
    grSector(0, 0, 50, 0.0f, 90.0f);
    const auto& d = rec::draws();
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(d[0].mode, static_cast<GLenum>(GL_TRIANGLES));
    ASSERT_EQ(d[0].vertices.size(), 24u);
    for (size_t i = 0; i < 12; ++i) {
        const rec::Vec2 v = d[0].vertices[i];
        EXPECT_TRUE(std::fabs(v.y) >= 0.5f - 1e-4f && std::fabs(v.y) <= 1.5f + 1e-4f) << v;
        EXPECT_TRUE(v.x >= -0.5f - 1e-4f && v.x <= 50.0f + 1e-4f) << v;
    }
    EXPECT_TRUE(sameColor(d[0].color, kBorder) && sameColor(d[1].color, kBorder) && sameColor(d[2].color, kBorder));
    EXPECT_TRUE(stripBetween(d[1], 49.5, 48.5));
    EXPECT_TRUE(stripBetween(d[2], 50.5, 51.5));
    EXPECT_EQ(d[3].vertices.size(), 12u);
    EXPECT_TRUE(sameColor(d[3].color, kBody) && sameColor(d[4].color, kBody));
    EXPECT_TRUE(stripBetween(d[4], 49.5, 50.5));
    EXPECT_TRUE(oneColourPerDraw());
}

TEST_F(SectorTest, DashedOutlineIsOneRunOutAlongTheArcAndBack)
{
    grSetLinePattern(1);
    grSector(0, 0, 48, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 2u);
    const float rim = 48.0f / 16;
    const float arc = static_cast<float>(48 * kPiD / 2 / 16);
    const float end = rim + arc;
    const float back = 2 * rim + arc;
    EXPECT_TRUE(rec::hasTexCoords(rec::draws()[0], {{0, 1}, {0, 0}, {rim, 1}, {0, 0}, {rim, 1}, {rim, 0},
                                                    {back, 1}, {back, 0}, {end, 1}, {back, 0}, {end, 1}, {end, 0}},
                                  1e-4f));
    const rec::Draw& strip = rec::draws()[1];
    EXPECT_NEAR(strip.texCoords.front().x, rim, 1e-5);
    EXPECT_NEAR(strip.texCoords.back().x, end, 1e-4);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(RingTest, EqualRadiiOutlineOneRadiusAndFillNothing)
{
    setWidths(3.0f, 1.0f);
    grRing(0, 0, 50, 50);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 86u) << "circleSegments(50) = 42";
    EXPECT_TRUE(stripBetween(rec::draws()[0], 48.5, 50.0));
    EXPECT_TRUE(stripBetween(rec::draws()[1], 50.0, 51.5));
    rec::clearCalls();
    grSetMode(GR_MODE_FILL, 1);
    grRing(0, 0, 50, 50);
    EXPECT_TRUE(rec::draws().empty());
}

TEST_F(RingTest, WithoutInnerRadiusOnlyTheOuterCircleIsOutlined)
{
    grRing(0, 0, 40, 0);
    grRing(0, 0, 40, -7);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(stripBetween(rec::draws()[0], 39.5, 40.5));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_STRIP, kBody, rec::draws()[0].vertices, 0.0f));
}

TEST_F(RingTest, LineWiderThanTheRingMeetsAtTheMiddleRadius)
{
    setWidths(5.0f, 1.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grRing(0, 0, 44, 40);
    const auto& d = rec::draws();
    ASSERT_EQ(d.size(), 6u);
    EXPECT_TRUE(sameColor(d[0].color, kBody));
    EXPECT_TRUE(stripBetween(d[0], 37.5, 42.0));
    EXPECT_TRUE(stripBetween(d[1], 37.5, 36.5));
    EXPECT_TRUE(stripBetween(d[2], 42.0, 42.0));
    EXPECT_TRUE(sameColor(d[3].color, kBody));
    EXPECT_TRUE(stripBetween(d[3], 42.0, 46.5));
    EXPECT_TRUE(stripBetween(d[4], 42.0, 42.0));
    EXPECT_TRUE(stripBetween(d[5], 46.5, 47.5));
    EXPECT_TRUE(oneColourPerDraw());
}

TEST_F(RingTest, FilledRingBordersBothEdgesUnlessTheBorderWouldFillTheHole)
{
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    grRing(0, 0, 60, 30);
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 86u) << "circleSegments(61) = 42";
    EXPECT_TRUE(stripBetween(rec::draws()[0], 30, 60));
    EXPECT_TRUE(stripBetween(rec::draws()[1], 30, 29));
    EXPECT_TRUE(stripBetween(rec::draws()[2], 60, 61));

    rec::clearCalls();
    grRing(0, 0, 60, 1);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(stripBetween(rec::draws()[1], 60, 61));

    rec::clearCalls();
    grRing(0, 0, 30, 60);
    grRing(0, 0, 0, 0);
    EXPECT_TRUE(rec::draws().empty());
}

TEST_F(RingTest, DashedCirclesEachStartFromZero)
{
    grSetLinePattern(1);
    grRing(0, 0, 40, 20);
    ASSERT_EQ(rec::draws().size(), 2u);
    const rec::Draw& inner = rec::draws()[0];
    const rec::Draw& outer = rec::draws()[1];
    EXPECT_TRUE(stripBetween(inner, 19.5, 20.5));
    EXPECT_EQ(inner.texCoords.front().x, 0.0f);
    EXPECT_EQ(outer.texCoords.front().x, 0.0f);
    EXPECT_NEAR(inner.texCoords.back().x, 20 * 2 * kPiD / 16, 1e-4);
    EXPECT_NEAR(outer.texCoords.back().x, 40 * 2 * kPiD / 16, 1e-4);
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(CurveTest, EveryShapeLeavesTheBaselineAndColoursEachPartOnce)
{
    for (int pattern = 0; pattern <= 4; ++pattern)
        for (int fill = 0; fill <= 1; ++fill)
            for (int border = 0; border <= 1; ++border) {
                SCOPED_TRACE(testing::Message() << "pattern " << pattern << " fill " << fill << " border " << border);
                grSetLinePattern(pattern);
                grSetMode(GR_MODE_FILL, fill);
                grSetMode(GR_MODE_BORDER, border);
                setWidths(3.0f, 1.0f);
                struct Shape {
                    void (*draw)();
                    bool closed;  // filled by the fill switch; an arc stays a line
                };
                const Shape shapes[] = {
                    {[] { grArc(10, 20, 40, 15.0f, 120.0f); }, false},
                    {[] { grCircle(10, 20, 40); }, true},
                    {[] { grSector(10, 20, 40, 15.0f, 300.0f); }, true},
                    {[] { grSector(10, 20, 40, 15.0f, 360.0f); }, true},
                    {[] { grRing(10, 20, 40, 35); }, true},
                    {[] { grRingSector(10, 20, 40, 20, 15.0f, 300.0f); }, true},
                    {[] { grRingSector(10, 20, 40, 38, 15.0f, -60.0f); }, true},
                };
                for (const Shape& shape : shapes) {
                    const bool dashed = pattern != 0 && !(fill && shape.closed);
                    rec::clearCalls();
                    shape.draw();
                    EXPECT_FALSE(rec::draws().empty());
                    EXPECT_TRUE(rec::atFrameBaseline());
                    EXPECT_TRUE(oneColourPerDraw());
                    for (const rec::Draw& d : rec::draws()) {
                        EXPECT_EQ(d.isEnabled(GL_TEXTURE_1D), dashed);
                        EXPECT_EQ(d.isEnabled(GL_BLEND), dashed);
                        EXPECT_EQ(d.texCoords.size(), dashed ? d.vertices.size() : 0u);
                        for (const rec::Vec2& v : d.vertices)
                            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
                    }
                }
            }
}
