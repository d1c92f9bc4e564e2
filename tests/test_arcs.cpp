#include "curve_recording.h"
#include "disc.h"

using ArcTest = CurveTest;

TEST_F(ArcTest, ArcIsOneStripBetweenTheLineEdgesClampedAndSigned)
{
    grArc(0, 0, 100, 30.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_EQ(draw(0).vertices.size(), 32u) << "arcSegments(100.5, 90) = 15";
    EXPECT_TRUE(stripBetween(draw(0), 99.5, 100.5));
    EXPECT_TRUE(sampledFromTo(draw(0), 30, 120));
    EXPECT_EQ(rec::callNames(), (std::vector<std::string>{"glColor3ub", "glVertexPointer", "glDrawArrays"}));

    grArc(0, 0, 50, 10.0f, 720.0f);
    grArc(0, 0, 50, 10.0f, 360.0f);
    grArc(0, 0, 50, 10.0f, -90.0f);
    EXPECT_TRUE(rec::isDraw(draw(1), GL_TRIANGLE_STRIP, kBody, draw(2).vertices, 0.0f));
    EXPECT_TRUE(sampledFromTo(draw(2), 10, 370));
    EXPECT_TRUE(sampledFromTo(draw(3), 10, -80)) << "clockwise";

    setWidths(5.0f, 1.0f);
    grArc(0, 0, 2, 0.0f, 90.0f);
    EXPECT_EQ(draw(4).vertices.size(), 8u) << "arcSegments(4.5, 90) = 3";
    EXPECT_TRUE(stripBetween(draw(4), 0.0, 4.5)) << "a line wider than the diameter reaches the centre";
}

TEST_F(ArcTest, EmptyArcsDrawNothingAndOnlyUnusableAnglesCount)
{
    grArc(0, 0, 0, 0.0f, 90.0f);
    grArc(0, 0, -5, 0.0f, 90.0f);
    grArc(0, 0, 50, 0.0f, 0.0f);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    grArc(0, 0, 50, NAN, 90.0f);
    grArc(0, 0, 50, 0.0f, NAN);
    grArc(0, 0, 50, INFINITY, 90.0f);
    EXPECT_TRUE(rec::draws().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 3);
}

TEST_F(ArcTest, BorderBandsLieOutsideTheLineAndShareItsDashes)
{
    setWidths(3.0f, 2.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grSetLinePattern(1);
    g_draw.patternPhase = 0.25f;
    grArc(0, 0, 100, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_EQ(draw(0).vertices.size(), 32u) << "arcSegments(103.5, 90) = 15";
    EXPECT_TRUE(stripBetween(draw(0), 98.5, 101.5));
    EXPECT_TRUE(stripBetween(draw(1), 98.5, 96.5, kBorder));
    EXPECT_TRUE(stripBetween(draw(2), 101.5, 103.5, kBorder));
    const float ds = static_cast<float>(100 * kPiD / 2 / 15 / 16);
    for (int part = 0; part < 3; ++part) {
        const rec::Draw& d = draw(part);
        const float w = part == 0 ? 3.0f : 2.0f;
        EXPECT_TRUE(d.isEnabled(GL_TEXTURE_1D) && d.isEnabled(GL_BLEND));
        EXPECT_EQ(d.texture1D, g_draw.patternTexture->name);
        EXPECT_TRUE(near(d.texCoords[0], {0, 0}, 1e-6f));
        EXPECT_TRUE(near(d.texCoords[3], {ds, w}, 1e-5f));
        EXPECT_TRUE(near(d.texCoords[31], {15 * ds, w}, 1e-4f));
    }
    EXPECT_EQ(g_draw.patternPhase, 0.25f) << "arcs neither use nor change the line phase";
    EXPECT_TRUE(oneColourPerDraw());
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(CurveTest, AnEmptyPatternHidesOutlinesButNotFills)
{
    static const LinePattern patterns[] = {{0xFFFF, 0}, {0x0000, 0}};
    static GrTables tables = displayTables();
    tables.patterns = patterns;
    tables.patternCount = 2;
    ASSERT_TRUE(grUseTables(&tables));
    useKnownDrawingState();  // new tables reset every selection
    rec::clearCalls();
    grSetLinePattern(1);
    for (int fill = 0; fill <= 1; ++fill) {
        grSetMode(GR_MODE_FILL, fill);
        grCircle(0, 0, 50);
        grSector(0, 0, 50, 0.0f, 90.0f);
        grRing(0, 0, 50, 20);
        grRingSector(0, 0, 50, 20, 0.0f, 90.0f);
    }
    grArc(0, 0, 50, 0.0f, 90.0f);
    EXPECT_EQ(rec::draws().size(), 4u) << "only the four filled shapes";
}

TEST_F(CurveTest, CircleOutlineIsAClosedStripAndItsFillAFan)
{
    grCircle(0, 0, 10);
    grSetLinePattern(2);
    grCircle(0, 0, 10);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(draw(0).vertices.size(), 38u) << "circleSegments(10.5) = 18";
    EXPECT_TRUE(stripBetween(draw(0), 9.5, 10.5));
    EXPECT_TRUE(sampledFromTo(draw(0), 0, 360));
    EXPECT_NEAR(draw(1).texCoords.back().x, 10 * 2 * kPiD / 32, 1e-4) << "the pattern runs once round";

    rec::clearCalls();
    grSetMode(GR_MODE_FILL, 1);
    grCircle(5, 5, 10);
    grSetMode(GR_MODE_BORDER, 1);
    grCircle(0, 0, 15);
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_EQ(draw(0).mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    ASSERT_EQ(draw(0).vertices.size(), 20u);
    EXPECT_TRUE(near(draw(0).vertices[0], {5, 5}));
    EXPECT_TRUE(near(draw(0).vertices[1], {15, 5}));
    EXPECT_TRUE(near(draw(0).vertices[19], {15, 5}));
    EXPECT_EQ(draw(1).vertices.size(), 26u) << "circleSegments(15 + 1) = 24";
    EXPECT_TRUE(stripBetween(draw(2), 15, 16, kBorder));

    grSetMode(GR_MODE_BORDER, 0);
    fillDisc(0, 0, 0.5f);
    EXPECT_EQ(rec::draws().back().vertices.size(), 8u) << "circleSegments(0.5) = 6";
    fillDisc(0, 0, NAN);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 1);
}

using SectorTest = CurveTest;

struct Corner {
    float sweep;
    int r;
    size_t vertices;
    size_t at;  // index of the corner point M
    rec::Vec2 m;
};

TEST_F(SectorTest, FilledSectorRadialBorderClosesTheCornerByTheSweep)
{
    const Corner corners[] = {
        {60, 100, 18, 17, {-0.8660254f, -0.5f}},                           // C + o1 + o2
        {120, 100, 18, 17, polar(1 / std::sin(60 * kRadPerDeg), 240)},      // mitre on the bisector
        {270, 100, 12, 5, polar(1 / std::sin(45 * kRadPerDeg), 315)},       // bands meet at bw / sin h
        {350, 5, 6, 2, polar(6 / std::cos(5 * kRadPerDeg), 355)},           // cut at R / cos h
        {359.99997f, 50, 6, 2, {51, 0}},  // the narrowest gap stays finite
    };
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    for (const Corner& c : corners) {
        SCOPED_TRACE(testing::Message() << "sweep " << c.sweep << ", radius " << c.r);
        rec::clearCalls();
        grSector(0, 0, c.r, 0.0f, c.sweep);
        ASSERT_EQ(rec::draws().size(), 3u);
        EXPECT_EQ(draw(0).mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
        EXPECT_TRUE(stripBetween(draw(1), c.r, c.r + 1.0, kBorder));
        EXPECT_EQ(draw(2).mode, static_cast<GLenum>(GL_TRIANGLES));
        ASSERT_EQ(draw(2).vertices.size(), c.vertices);
        EXPECT_TRUE(near(draw(2).vertices[c.at], c.m));
    }
    rec::clearCalls();
    grSector(0, 0, 100, 0.0f, 60.0f);
    grSector(0, 0, 100, 60.0f, -60.0f);
    EXPECT_TRUE(near(draw(2).vertices[2], {101, -1})) << "P1 + o1";
    EXPECT_TRUE(rec::isDraw(draw(5), GL_TRIANGLES, kBorder, draw(2).vertices, 1e-3f)) << "clockwise mirror";

    // Segments: arcSegments(r + bw) filled, arcSegments(r + w/2 + bw) outlined.
    rec::clearCalls();
    setWidths(3.0f, 1.0f);
    grSector(0, 0, 8, 0.0f, 90.0f);
    grSetMode(GR_MODE_BORDER, 0);
    grSector(0, 0, 8, 0.0f, 90.0f);
    grSetMode(GR_MODE_FILL, 0);
    grSector(0, 0, 8, 0.0f, 90.0f);
    EXPECT_EQ(draw(0).vertices.size(), 6u) << "sqrt(9) = 3: 4 segments";
    EXPECT_EQ(draw(3).vertices.size(), 5u) << "sqrt(8) = 2: 3 segments, the line width does not count";
    EXPECT_EQ(draw(5).vertices.size(), 10u) << "sqrt(9.5) = 3: 4 segments";
}

TEST_F(SectorTest, OnlyPartialSectorsHaveRadialEdges)
{
    grSetMode(GR_MODE_BORDER, 1);
    const struct {
        float sweep;
        size_t filled, outlined;
    } cases[] = {{360, 2, 3}, {-360, 2, 3}, {400, 2, 3}, {359, 3, 5}};
    for (const auto& c : cases) {
        rec::clearCalls();
        grSetMode(GR_MODE_FILL, 1);
        grSector(0, 0, 50, 0.0f, c.sweep);
        EXPECT_EQ(rec::draws().size(), c.filled) << c.sweep;
        rec::clearCalls();
        grSetMode(GR_MODE_FILL, 0);
        grSector(0, 0, 50, 0.0f, c.sweep);
        EXPECT_EQ(rec::draws().size(), c.outlined) << c.sweep;
    }
}

TEST_F(SectorTest, OutlineRadiiStartBehindTheCentreAndDrawAfterTheirBorders)
{
    grSector(0, 0, 50, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(draw(0), GL_TRIANGLES, kBody,
                            {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {50, -0.5f}, {-0.5f, 0.5f}, {50, -0.5f}, {50, 0.5f},
                             {0.5f, -0.5f}, {-0.5f, -0.5f}, {0.5f, 50}, {-0.5f, -0.5f}, {0.5f, 50}, {-0.5f, 50}}));
    EXPECT_TRUE(stripBetween(draw(1), 49.5, 50.5));

    rec::clearCalls();
    grSetMode(GR_MODE_BORDER, 1);
    grSector(0, 0, 50, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 5u);
    ASSERT_EQ(draw(0).vertices.size(), 24u);
    EXPECT_TRUE(sameColor(draw(0).color, kBorder));
    for (size_t i = 0; i < 12; ++i)
        EXPECT_NEAR(std::fabs(draw(0).vertices[i].y), 1.0, 0.5 + 1e-4) << "beside the first radius";
    EXPECT_TRUE(stripBetween(draw(1), 49.5, 48.5, kBorder));
    EXPECT_TRUE(stripBetween(draw(2), 50.5, 51.5, kBorder));
    EXPECT_TRUE(sameColor(draw(3).color, kBody));
    EXPECT_TRUE(stripBetween(draw(4), 49.5, 50.5));
}

TEST_F(SectorTest, DashedOutlineIsOneRunOutAlongTheArcAndBack)
{
    grSetLinePattern(1);
    grSector(0, 0, 48, 0.0f, 90.0f);
    ASSERT_EQ(rec::draws().size(), 2u);
    const float rim = 48.0f / 16;
    const float end = rim + static_cast<float>(48 * kPiD / 2 / 16);
    const float back = rim + end;
    EXPECT_TRUE(rec::hasTexCoords(draw(0), {{0, 1}, {0, 0}, {rim, 1}, {0, 0}, {rim, 1}, {rim, 0},
                                            {back, 1}, {back, 0}, {end, 1}, {back, 0}, {end, 1}, {end, 0}}));
    EXPECT_NEAR(draw(1).texCoords.front().x, rim, 1e-5);
    EXPECT_NEAR(draw(1).texCoords.back().x, end, 1e-4);
}

using RingTest = CurveTest;

TEST_F(RingTest, OutlineCirclesStopAtTheMiddleRadius)
{
    setWidths(3.0f, 1.0f);
    grRing(0, 0, 50, 50);
    EXPECT_EQ(draw(0).vertices.size(), 86u) << "circleSegments(50) = 42";
    EXPECT_TRUE(stripBetween(draw(0), 48.5, 50));
    EXPECT_TRUE(stripBetween(draw(1), 50, 51.5));
    grRing(0, 0, 40, -7);
    EXPECT_EQ(rec::draws().size(), 3u) << "no inner circle without an inner radius";
    EXPECT_TRUE(stripBetween(draw(2), 38.5, 41.5));

    rec::clearCalls();
    setWidths(5.0f, 1.0f);
    grSetMode(GR_MODE_BORDER, 1);
    grRing(0, 0, 44, 40);
    ASSERT_EQ(rec::draws().size(), 6u);
    EXPECT_TRUE(stripBetween(draw(0), 37.5, 42));
    EXPECT_TRUE(stripBetween(draw(1), 37.5, 36.5, kBorder));
    EXPECT_TRUE(stripBetween(draw(2), 42, 42, kBorder));
    EXPECT_TRUE(stripBetween(draw(3), 42, 46.5));
    EXPECT_TRUE(stripBetween(draw(4), 42, 42, kBorder));
    EXPECT_TRUE(stripBetween(draw(5), 46.5, 47.5, kBorder));
}

TEST_F(RingTest, FilledRingBordersBothEdgesUnlessTheBorderWouldFillTheHole)
{
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    grRing(0, 0, 60, 30);
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_TRUE(stripBetween(draw(0), 30, 60));
    EXPECT_TRUE(stripBetween(draw(1), 30, 29, kBorder));
    EXPECT_TRUE(stripBetween(draw(2), 60, 61, kBorder));
    grRing(0, 0, 60, 1);
    EXPECT_EQ(rec::draws().size(), 5u);
    grRing(0, 0, 50, 50);
    grRing(0, 0, 30, 60);
    grRing(0, 0, 0, 0);
    EXPECT_EQ(rec::draws().size(), 5u);
}

TEST_F(RingTest, DashedCirclesEachStartFromZero)
{
    grSetLinePattern(1);
    grRing(0, 0, 40, 20);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(draw(0).texCoords.front().x, 0.0f);
    EXPECT_NEAR(draw(0).texCoords.back().x, 20 * 2 * kPiD / 16, 1e-4);
    EXPECT_EQ(draw(1).texCoords.front().x, 0.0f);
    EXPECT_NEAR(draw(1).texCoords.back().x, 40 * 2 * kPiD / 16, 1e-4);
}

TEST_F(CurveTest, EveryShapeLeavesTheBaselineAndColoursEachPartOnce)
{
    struct Shape {
        void (*draw)();
        bool closed;  // the fill switch fills it; an arc stays a line
    };
    const Shape shapes[] = {
        {[] { grArc(10, 20, 40, 15.0f, 120.0f); }, false},
        {[] { grCircle(10, 20, 40); }, true},
        {[] { grSector(10, 20, 40, 15.0f, 300.0f); }, true},
        {[] { grRing(10, 20, 40, 35); }, true},
        {[] { grRingSector(10, 20, 40, 20, 15.0f, 300.0f); }, true},
        {[] { grRingSector(10, 20, 40, 38, 15.0f, -60.0f); }, true},
    };
    setWidths(3.0f, 1.0f);
    for (int pattern = 0; pattern <= 4; ++pattern)
        for (int modes = 0; modes < 4; ++modes)
            for (const Shape& shape : shapes) {
                grSetLinePattern(pattern);
                grSetMode(GR_MODE_FILL, modes & 1);
                grSetMode(GR_MODE_BORDER, modes >> 1);
                const bool dashed = pattern != 0 && !((modes & 1) && shape.closed);
                rec::clearCalls();
                shape.draw();
                SCOPED_TRACE(testing::Message() << "pattern " << pattern << " modes " << modes);
                EXPECT_FALSE(rec::draws().empty());
                EXPECT_TRUE(rec::atFrameBaseline());
                EXPECT_TRUE(oneColourPerDraw());
                for (const rec::Draw& d : rec::draws()) {
                    EXPECT_EQ(d.isEnabled(GL_TEXTURE_1D) && d.isEnabled(GL_BLEND), dashed);
                    EXPECT_EQ(d.texCoords.size(), dashed ? d.vertices.size() : 0u);
                    for (const rec::Vec2& v : d.vertices)
                        ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
                }
            }
}
