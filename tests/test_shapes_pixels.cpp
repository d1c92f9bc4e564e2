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
        grSetBorderColor(3);  // white
        grSetLineWidth(3);
    }

    // Expects each offset from (ox, oy) to show color.
    void ExpectAt(int ox, int oy, std::initializer_list<std::pair<int, int>> offsets, const Rgb& color) const
    {
        for (auto [dx, dy] : offsets)
            EXPECT_EQ(At(ox + dx, oy + dy), color) << "at offset (" << dx << ", " << dy << ")";
    }

    static void Needle(int x, int y, float scale = 1)
    {
        grPushMatrix(0);
        grTranslate(x, y);
        grScale(scale, scale);
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
    Capture();
    // Each edge on both axes, a pixel in and a pixel out; pixel x covers x..x+1.
    ExpectAt(100, 100, {{0, 0}, {59, 0}, {-60, 0}, {0, 29}, {0, -30}, {40, 18}, {-40, -18}}, kRed);
    ExpectAt(100, 100, {{60, 0}, {-61, 0}, {0, 30}, {0, -31}, {50, 25}, {-50, -25}}, kClear);
    ExpectAt(100, 190, {{39, 0}, {-40, 0}, {0, 19}, {0, -20}}, kRed);
    ExpectAt(100, 190, {{40, 0}, {-41, 0}, {0, 20}, {0, -21}}, kWhite);
    ExpectAt(100, 190, {{41, 0}, {-42, 0}, {0, 21}, {0, -22}}, kClear);
}

TEST_F(ShapesPixelTest, NeedlePolygonCoversShaftBarbsAndTip)
{
    Needle(60, 190);
    grSetMode(GR_MODE_BORDER, 1);
    Needle(180, 190);
    Capture();
    // Shaft 6 wide up to y = 0; barbs 12 wide at their base, 24 below it.
    ExpectAt(60, 190, {{0, -60}, {2, -60}, {-3, -60}, {0, -1}, {5, -121}, {-5, -121}, {2, -119}, {0, -143}}, kRed);
    ExpectAt(60, 190, {{3, -60}, {-4, -60}, {0, 0}, {6, -121}, {-7, -121}, {4, -119}, {-5, -119}, {0, -145}}, kClear);
    // One unit of border outside the edges.
    ExpectAt(180, 190, {{2, -60}, {-3, -60}, {0, -1}}, kRed);
    ExpectAt(180, 190, {{3, -60}, {-4, -60}, {0, 0}}, kWhite);
    ExpectAt(180, 190, {{4, -60}, {-5, -60}, {0, 1}}, kClear);
}

TEST_F(ShapesPixelTest, BezierBandPassesThroughItsCurve)
{
    const GrPoint arch[] = {{20, 20}, {60, 100}, {100, 20}};
    grBezier(arch, 3, 20);
    Capture();
    // The apex (60, 60) with 1.5 units each side; B(1/4) = (40, 50); the first point's pixel.
    ExpectAt(0, 0, {{60, 60}, {60, 61}, {60, 59}, {40, 50}, {80, 50}, {20, 20}}, kRed);
    ExpectAt(0, 0, {{60, 62}, {60, 58}, {40, 40}, {18, 17}, {60, 30}}, kClear);
}

TEST_F(ShapesPixelTest, SceneOfEllipsesPolygonsStripsAndCurves)
{
    // Top: ellipse outlines solid and dash-dot with border, filled with and without border.
    grSetColor(6);
    grSetLineWidth(2);
    grEllipse(35, 215, 28, 14);
    grSetColor(3);
    grSetLineWidth(3);
    grSetLinePattern(3);
    grSetMode(GR_MODE_BORDER, 1);
    grEllipse(103, 215, 28, 20);
    grSetMode(GR_MODE_FILL, 1);
    grSetColor(2);
    grEllipse(225, 212, 14, 26);
    grSetMode(GR_MODE_BORDER, 0);
    grSetColor(1);
    grEllipse(165, 215, 24, 24);

    // Middle: a hexagon, a bordered half-size needle, strips with and without border.
    const GrPoint hexagon[] = {{20, 120}, {40, 110}, {60, 120}, {60, 145}, {40, 158}, {20, 145}};
    const GrPoint strip[] = {{120, 110}, {125, 155}, {145, 115}, {150, 150}, {170, 112}, {178, 158}};
    const GrPoint strip2[] = {{190, 110}, {195, 155}, {215, 120}, {225, 150}, {240, 110}};
    grSetColor(0);
    grPolygon(hexagon, 6);
    grSetMode(GR_MODE_BORDER, 1);
    grSetColor(5);
    Needle(95, 175, 0.5f);
    grSetColor(3);
    grTriangleStrip(strip, 6);
    grSetMode(GR_MODE_BORDER, 0);
    grSetColor(1);
    grTriangleStrip(strip2, 5);
    grSetMode(GR_MODE_FILL, 0);

    // Bottom: curves of degree 1..7, dashed, bordered and solid in turn.
    for (int degree = 1; degree <= 7; ++degree) {
        GrPoint p[8];
        for (int i = 0; i <= degree; ++i)
            p[i] = {(degree - 1) * 34 + i * 30 / degree, (i % 2 ? 90 : 10) - (i * 7) % 23};
        grSetColor(degree % 4);
        grSetLinePattern(degree % 3 == 1 ? 2 : 0);
        grSetMode(GR_MODE_BORDER, degree % 3 == 2);
        grBezier(p, degree + 1, 40);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    Capture();
    Save("shapes_scene");
    ExpectAt(0, 0, {{40, 135}}, kRed);
    ExpectAt(0, 0, {{35, 229}, {225, 238}}, kWhite);  // the outline; the filled ellipse's border
    ExpectAt(0, 0, {{35, 215}}, kClear);
    EXPECT_EQ(At(225, 212), (Rgb{0, 0, 255}));
}
