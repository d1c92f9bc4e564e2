#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "recording_fixture.h"
#include "state.h"
#include "tables.h"

namespace {

constexpr GrColor kRed = {255, 0, 0};       // colour 0
constexpr GrColor kBlue = {0, 0, 255};      // border colour 2
constexpr float kDash1 = 10.0f / 16.0f;     // a 10-unit line in pattern 1

class LineTest : public DrawingTest {
protected:

    static size_t countOf(const char* name) { return rec::callsNamed(name).size(); }
    static float startS(const rec::Draw& draw) { return draw.texCoords.at(0).x; }
    static float endS(const rec::Draw& draw) { return draw.texCoords.at(2).x; }
};

TEST_F(LineTest, SegmentCoversItsFirstPixelAndStopsShortOfItsLast)
{
    grLine(0, 0, 10, 0);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                            {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {9.5f, -0.5f}, {9.5f, 0.5f}}));
    EXPECT_FALSE(rec::draws()[0].texCoordArray);
    EXPECT_EQ(rec::callNames(), (std::vector<std::string>{"glColor3ub", "glVertexPointer", "glDrawArrays"}));

    rec::clearCalls();
    grLine(0, 0, 0, 10);
    grLine(10, 0, 0, 0);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                            {{0.5f, -0.5f}, {-0.5f, -0.5f}, {0.5f, 9.5f}, {-0.5f, 9.5f}}));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_STRIP, kRed,
                            {{10.5f, 0.5f}, {10.5f, -0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}}))
        << "drawn backwards, the line covers pixels 1..10";
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(LineTest, NothingToDrawDrawsNothing)
{
    grSetMode(GR_MODE_BORDER, 1);
    rec::clearCalls();
    grLine(3, 3, 3, 3);
    grSetLinePattern(1);
    rec::clearCalls();
    grLine(3, 3, 3, 3);
    const GrPoint points[] = {{1, 1}, {5, 5}};
    grPolyline(points, 0);
    grPolyline(points, 1);
    grPolyline(nullptr, 0);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);

    grPolyline(nullptr, 3);
    grPolyline(points, -1);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 2) << "a missing point array and a negative count are refused";
}

TEST_F(LineTest, BorderBandsRunOutsideTheLongSidesOnly)
{
    grSetLineWidth(2);
    grSetMode(GR_MODE_BORDER, 1);
    rec::clearCalls();
    grLine(0, 0, 10, 0);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                            {{-0.5f, -1}, {-0.5f, 1}, {9.5f, -1}, {9.5f, 1}}));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLES, kBlue,
                            {{-0.5f, 1}, {-0.5f, 2}, {9.5f, 1}, {-0.5f, 2}, {9.5f, 1}, {9.5f, 2},
                             {-0.5f, -2}, {-0.5f, -1}, {9.5f, -2}, {-0.5f, -1}, {9.5f, -2}, {9.5f, -1}}));
    EXPECT_EQ(countOf("glColor3ub"), 2u);
    EXPECT_EQ(countOf("glDrawArrays"), 2u);

    // Vertical, so that the bands' offsets are along x: left of the
    // direction first, then right.
    rec::clearCalls();
    grLine(0, 0, 0, 10);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLES, kBlue,
                            {{-1, -0.5f}, {-2, -0.5f}, {-1, 9.5f}, {-2, -0.5f}, {-1, 9.5f}, {-2, 9.5f},
                             {2, -0.5f}, {1, -0.5f}, {2, 9.5f}, {1, -0.5f}, {2, 9.5f}, {1, 9.5f}}));
}

TEST_F(LineTest, DashedLineMapsOneTexelPerUnit)
{
    grSetLinePattern(1);
    grSetMode(GR_MODE_BORDER, 1);
    rec::clearCalls();
    grLine(0, 0, 10, 0);
    ASSERT_EQ(rec::draws().size(), 2u);
    const rec::Draw& body = rec::draws()[0];
    EXPECT_TRUE(rec::hasTexCoords(body, {{0, 1}, {0, 0}, {kDash1, 1}, {kDash1, 0}}));
    EXPECT_TRUE(body.isEnabled(GL_TEXTURE_1D));
    EXPECT_TRUE(body.isEnabled(GL_BLEND));
    EXPECT_EQ(body.texture1D, g_draw.patternTexture->name);
    EXPECT_TRUE(rec::isDraw(body, GL_TRIANGLE_STRIP, kRed,
                            {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {9.5f, -0.5f}, {9.5f, 0.5f}}));

    const rec::Draw& border = rec::draws()[1];
    EXPECT_EQ(border.mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_TRUE(rec::hasTexCoords(border, {{0, 0}, {0, 1}, {kDash1, 0}, {0, 1}, {kDash1, 0}, {kDash1, 1},
                                           {0, 1}, {0, 0}, {kDash1, 1}, {0, 0}, {kDash1, 1}, {kDash1, 0}}));
    EXPECT_TRUE(border.isEnabled(GL_TEXTURE_1D));
    EXPECT_EQ(countOf("glColor3ub"), 2u);
    EXPECT_EQ(countOf("glDrawArrays"), 2u);
    EXPECT_TRUE(rec::atFrameBaseline());

    grSetLinePattern(2);  // twice as long a repeat
    rec::clearCalls();
    grLine(0, 0, 0, 8);
    EXPECT_FLOAT_EQ(endS(rec::draws().at(0)), 8.0f / 32.0f);
}

TEST_F(LineTest, DashPhaseRunsOnAcrossPolylineCorners)
{
    grSetLinePattern(1);
    rec::clearCalls();
    const GrPoint points[] = {{0, 0}, {10, 0}, {10, 0}, {10, 6}};
    grPolyline(points, 4);
    ASSERT_EQ(rec::draws().size(), 2u) << "the zero-length segment is skipped";
    EXPECT_FLOAT_EQ(startS(rec::draws()[0]), 0.0f);
    EXPECT_FLOAT_EQ(endS(rec::draws()[0]), kDash1);
    EXPECT_FLOAT_EQ(startS(rec::draws()[1]), kDash1);
    EXPECT_FLOAT_EQ(endS(rec::draws()[1]), 1.0f);
    EXPECT_TRUE(rec::atFrameBaseline());

    rec::clearCalls();
    grPolyline(points, 2);
    grLine(10, 0, 10, 6);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_FLOAT_EQ(startS(rec::draws()[0]), 0.0f) << "every polyline starts the pattern afresh";
    EXPECT_FLOAT_EQ(startS(rec::draws()[1]), 0.0f) << "every line starts the pattern afresh";
    EXPECT_FLOAT_EQ(endS(rec::draws()[1]), 6.0f / 16.0f);

    grSetLinePattern(0);
    rec::clearCalls();
    grPolyline(points, 4);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::draws()[1].texCoords.empty()) << "solid segments are not textured";
}

TEST_F(LineTest, OutlinesFollowThePatternSelection)
{
    grBeginFrame();  // no pattern chosen yet this frame: solid
    rec::clearCalls();
    grLine(0, 0, 5, 0);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::draws()[0].texCoords.empty());

    selectEmptyMask();
    grSetMode(GR_MODE_BORDER, 1);
    rec::clearCalls();
    const GrPoint points[] = {{0, 0}, {10, 0}, {10, 6}};
    grLine(0, 0, 5, 0);
    grPolyline(points, 3);
    EXPECT_TRUE(rec::draws().empty()) << "an empty mask hides lines and their borders";

    grPoint(4, 4);
    EXPECT_EQ(rec::draws().size(), 2u) << "points ignore the pattern";
    ASSERT_TRUE(grUseTables(&displayTables()));
}

TEST_F(LineTest, SquareDotsGrowFromThePointsPixel)
{
    struct Case {
        int widthIndex;
        float lo, hi;  // covered span, relative to the point
    };
    const Case cases[] = {{1, -0.5f, 0.5f}, {2, -0.5f, 1.5f}, {3, -1.5f, 1.5f}, {4, -1.5f, 2.5f}, {5, -2.5f, 2.5f}};
    for (const Case& c : cases) {
        grSetLineWidth(c.widthIndex);
        rec::clearCalls();
        grPoint(20, 30);
        ASSERT_EQ(rec::draws().size(), 1u) << "width " << g_draw.lineWidth;
        EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                                {{20 + c.lo, 30 + c.lo}, {20 + c.lo, 30 + c.hi}, {20 + c.hi, 30 + c.lo},
                                 {20 + c.hi, 30 + c.hi}}))
            << "width " << g_draw.lineWidth;
    }

    grSetLinePattern(1);
    grSetMode(GR_MODE_BORDER, 1);
    rec::clearCalls();
    grPoint(20, 30);
    ASSERT_EQ(rec::draws().size(), 2u) << "the border frames the dot";
    EXPECT_TRUE(rec::draws()[0].texCoords.empty());
    EXPECT_TRUE(rec::atFrameBaseline());

    rec::clearCalls();
    for (float w : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        g_draw.lineWidth = w;
        grPoint(20, 30);
    }
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    g_draw.lineWidth = std::numeric_limits<float>::infinity();
    grPoint(20, 30);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 1);
}

TEST_F(LineTest, AntialiasedPointIsADiscOfHalfTheWidth)
{
    grSetMode(GR_MODE_ANTIALIAS, 1);
    grSetLineWidth(4);
    grSetLinePattern(1);
    rec::clearCalls();
    grPoint(20, 30);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& disc = rec::draws()[0];
    EXPECT_EQ(disc.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_TRUE(disc.texCoords.empty());
    ASSERT_GE(disc.vertices.size(), 8u);
    EXPECT_FLOAT_EQ(disc.vertices[0].x, 20.0f);
    EXPECT_FLOAT_EQ(disc.vertices[0].y, 30.0f);
    for (size_t i = 1; i < disc.vertices.size(); ++i)
        EXPECT_NEAR(std::hypot(disc.vertices[i].x - 20.0f, disc.vertices[i].y - 30.0f), 2.0, 1e-4) << i;
    EXPECT_TRUE(rec::atFrameBaseline());
}

}  // namespace
