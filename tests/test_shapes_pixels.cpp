#include <GL/gl.h>

#include "pixel_fixture.h"

namespace {

constexpr Rgb kRed = {255, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};

const GrPoint kNeedle[] = {{0, -144}, {6, -120}, {3, -120}, {3, 0}, {-3, 0}, {-3, -120}, {-6, -120}};

class ShapesPixelTest : public PixelTest {
protected:
    void SetUp() override
    {
        PixelTest::SetUp();
        grSetColor(0);
        grSetBorderColor(3);
        grSetBorderWidth(0);
        grSetLineWidth(0);
        grSetMode(GR_MODE_FILL, 0);
        grSetMode(GR_MODE_BORDER, 0);
    }

    // Checks a pixel relative to an origin, with the offset in the message.
    void Expect(int ox, int oy, int dx, int dy, const Rgb& color) const
    {
        EXPECT_EQ(At(ox + dx, oy + dy), color) << "at offset (" << dx << ", " << dy << ")";
    }

    void Needle(int x, int y)
    {
        grPushMatrix(0);
        grTranslate(x, y);
        grPolygon(kNeedle, 7);
        grPopMatrix(0);
    }
};

}  // namespace

TEST_F(ShapesPixelTest, FilledEllipseCoversItsInteriorAndItsBorderRing)
{
    grSetMode(GR_MODE_FILL, 1);
    grEllipse(100, 100, 60, 30);
    grSetMode(GR_MODE_BORDER, 1);
    grEllipse(100, 190, 40, 20);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    Capture();

    // Each edge on both axes, one pixel in and one out.
    const int inside[][2] = {{0, 0}, {59, 0}, {-60, 0}, {0, 29}, {0, -30}, {40, 18}, {-40, -18}};
    const int outside[][2] = {{60, 0}, {-61, 0}, {0, 30}, {0, -31}, {50, 25}, {-50, -25}};
    for (const auto& p : inside)
        Expect(100, 100, p[0], p[1], kRed);
    for (const auto& p : outside)
        Expect(100, 100, p[0], p[1], kClear);

    // The border ring is one unit wide all round, outside the fill.
    const int ring[][2] = {{40, 0}, {-41, 0}, {0, 20}, {0, -21}};
    for (const auto& p : ring) {
        Expect(100, 190, p[0], p[1], kWhite);
        Expect(100, 190, p[0] + (p[0] > 0) - (p[0] < 0), p[1] + (p[1] > 0) - (p[1] < 0), kClear);
        Expect(100, 190, p[0] - (p[0] > 0) + (p[0] < 0), p[1] - (p[1] > 0) + (p[1] < 0), kRed);
    }
}

TEST_F(ShapesPixelTest, NeedlePolygonCoversShaftBarbsAndTip)
{
    Needle(60, 190);
    grSetMode(GR_MODE_BORDER, 1);
    Needle(180, 190);
    Capture();

    // Shaft 6 wide and ending at y = 0; barbs 12 wide at their base.
    const int inside[][2] = {{0, -60}, {2, -60}, {-3, -60}, {0, -1}, {5, -121}, {-5, -121}, {2, -119}, {0, -143}};
    const int outside[][2] = {{3, -60}, {-4, -60}, {0, 0}, {6, -121}, {-7, -121}, {4, -119}, {-5, -119}, {0, -145}};
    for (const auto& p : inside)
        Expect(60, 190, p[0], p[1], kRed);
    for (const auto& p : outside)
        Expect(60, 190, p[0], p[1], kClear);

    // The bordered needle shows one unit of border outside its edges.
    Expect(180, 190, 2, -60, kRed);
    Expect(180, 190, 3, -60, kWhite);
    Expect(180, 190, 4, -60, kClear);
    Expect(180, 190, -4, -60, kWhite);
    Expect(180, 190, -5, -60, kClear);
    Expect(180, 190, 0, 0, kWhite);
    Expect(180, 190, 0, 1, kClear);
}

TEST_F(ShapesPixelTest, BezierBandPassesThroughItsCurve)
{
    const GrPoint arch[] = {{20, 20}, {60, 100}, {100, 20}};
    grSetLineWidth(3);
    grBezier(arch, 3, 20);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    Capture();

    // The apex at (60, 60) with the band 1.5 each side; B(1/4) = (40, 50).
    EXPECT_EQ(At(60, 60), kRed);
    EXPECT_EQ(At(60, 61), kRed);
    EXPECT_EQ(At(60, 59), kRed);
    EXPECT_EQ(At(60, 62), kClear);
    EXPECT_EQ(At(60, 58), kClear);
    EXPECT_EQ(At(40, 50), kRed);
    EXPECT_EQ(At(80, 50), kRed);
    EXPECT_EQ(At(40, 40), kClear);
    EXPECT_EQ(At(20, 20), kRed) << "the first point's pixel is covered";
    EXPECT_EQ(At(18, 17), kClear);
    EXPECT_EQ(At(60, 30), kClear);
}

TEST_F(ShapesPixelTest, SceneOfEllipsesPolygonsStripsAndCurves)
{
    // Top row: ellipse outlines solid and dashed, filled with and without border.
    grSetColor(6);
    grSetLineWidth(2);
    grEllipse(35, 215, 28, 14);
    grSetColor(3);
    grSetLineWidth(3);
    grSetLinePattern(3);
    grSetMode(GR_MODE_BORDER, 1);
    grEllipse(103, 215, 28, 20);
    grSetLinePattern(0);
    grSetMode(GR_MODE_FILL, 1);
    grSetColor(2);
    grEllipse(225, 212, 14, 26);
    grSetMode(GR_MODE_BORDER, 0);
    grSetColor(1);
    grEllipse(165, 215, 24, 24);

    // Middle row: polygons with and without border, triangle strips.
    const GrPoint hexagon[] = {{20, 120}, {40, 110}, {60, 120}, {60, 145}, {40, 158}, {20, 145}};
    grSetColor(0);
    grPolygon(hexagon, 6);
    grSetMode(GR_MODE_BORDER, 1);
    grSetColor(5);
    grPushMatrix(0);
    grTranslate(95, 175);
    grScale(0.5f, 0.5f);
    grPolygon(kNeedle, 7);
    grPopMatrix(0);
    const GrPoint strip[] = {{120, 110}, {125, 155}, {145, 115}, {150, 150}, {170, 112}, {178, 158}};
    grSetColor(3);
    grTriangleStrip(strip, 6);
    grSetMode(GR_MODE_BORDER, 0);
    const GrPoint strip2[] = {{190, 110}, {195, 155}, {215, 120}, {225, 150}, {240, 110}};
    grSetColor(1);
    grTriangleStrip(strip2, 5);
    grSetMode(GR_MODE_FILL, 0);

    // Bottom row: curves of degree 1..7, solid, dashed and bordered in turn.
    grSetLineWidth(3);
    for (int degree = 1; degree <= 7; ++degree) {
        GrPoint p[8];
        const int x0 = (degree - 1) * 34;
        for (int i = 0; i <= degree; ++i)
            p[i] = {x0 + i * 30 / degree, (i % 2 ? 90 : 10) - (i * 7) % 23};
        grSetColor(degree % 4);
        grSetLinePattern(degree % 3 == 1 ? 2 : 0);
        grSetMode(GR_MODE_BORDER, degree % 3 == 2);
        grBezier(p, degree + 1, 40);
    }
    grSetMode(GR_MODE_BORDER, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    Capture();
    Save("shapes_scene");

    EXPECT_EQ(At(40, 135), kRed) << "hexagon";
    EXPECT_EQ(At(165, 215), (Rgb{0, 255, 0})) << "filled circle";
    EXPECT_EQ(At(225, 212), (Rgb{0, 0, 255})) << "bordered filled ellipse";
    EXPECT_EQ(At(225, 238), kWhite) << "its border at the top";
    EXPECT_EQ(At(35, 215), kClear) << "inside the outline";
    EXPECT_EQ(At(35, 229), kWhite) << "on the outline";
}
