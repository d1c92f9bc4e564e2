#include "shape_recording.h"

using rec::Vec2;

namespace {

// The curve by de Casteljau's construction, in double.
Vec2 deCasteljau(const std::vector<GrPoint>& p, double t)
{
    std::vector<double> x, y;
    for (const GrPoint& q : p) {
        x.push_back(q.x);
        y.push_back(q.y);
    }
    for (size_t level = p.size() - 1; level > 0; --level)
        for (size_t i = 0; i < level; ++i) {
            x[i] += t * (x[i + 1] - x[i]);
            y[i] += t * (y[i + 1] - y[i]);
        }
    return {float(x[0]), float(y[0])};
}

Vec2 mid(Vec2 a, Vec2 b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }
float cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

}  // namespace

TEST_F(ShapeTest, TwoControlPointsGiveAStraightBandWithLineEnds)
{
    const GrPoint p[] = {{0, 0}, {10, 0}};
    grBezier(p, 2, 2);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_STRIP, kRed,
                            {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {5, -0.5f}, {5, 0.5f}, {9.5f, -0.5f}, {9.5f, 0.5f}}));
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ShapeTest, BezierBodyStraddlesTheCurveOfEveryDegree)
{
    grSetLineWidth(4);
    for (int count = 2; count <= 8; ++count) {
        std::vector<GrPoint> p;
        for (int i = 0; i < count; ++i)
            p.push_back({i * 20, (i % 2 ? 50 : -30) + i * 3});
        rec::clearCalls();
        grBezier(p.data(), count, 10);
        ASSERT_EQ(rec::draws().size(), 1u);
        const std::vector<Vec2>& v = rec::draws()[0].vertices;
        ASSERT_EQ(v.size(), 22u);
        for (int k = 1; k < 10; ++k) {
            const Vec2 right = v[2 * k], left = v[2 * k + 1];
            const Vec2 a = deCasteljau(p, (k - 1) / 10.0), b = deCasteljau(p, (k + 1) / 10.0);
            EXPECT_NEAR(distance(mid(left, right), deCasteljau(p, k / 10.0)), 0, 2e-3f) << "degree " << count - 1;
            EXPECT_NEAR(distance(left, right), 4, 1e-3f);
            EXPECT_GT(cross({b.x - a.x, b.y - a.y}, {left.x - right.x, left.y - right.y}), 0) << "left on the left";
        }
    }
}

TEST_F(ShapeTest, BezierBorderStripsRunOutsideBothSidesOfTheBody)
{
    const GrPoint p[] = {{0, 0}, {30, 60}, {70, -60}, {100, 0}};
    grSetLineWidth(4);
    grSetMode(GR_MODE_BORDER, 1);  // border width 1
    grBezier(p, 4, 20);
    ASSERT_EQ(rec::draws().size(), 3u);
    const rec::Draw &body = rec::draws()[0], &left = rec::draws()[1], &right = rec::draws()[2];
    ASSERT_EQ(body.vertices.size() + left.vertices.size() + right.vertices.size(), 126u);
    ASSERT_TRUE(left.vertices.size() == 42 && right.vertices.size() == 42);
    EXPECT_TRUE(sameColor(left.color, kWhite) && sameColor(right.color, kWhite) && right.mode == GL_TRIANGLE_STRIP);
    for (int k = 0; k <= 20; ++k) {
        const Vec2 r = body.vertices[2 * k], l = body.vertices[2 * k + 1], c = mid(l, r);
        EXPECT_NEAR(distance(left.vertices[2 * k], l) + distance(right.vertices[2 * k], r), 0, 1e-4f);
        // Outer edges 3 units from the centre line, along the body's own offsets.
        EXPECT_NEAR(distance(left.vertices[2 * k + 1], {c.x + 1.5f * (l.x - c.x), c.y + 1.5f * (l.y - c.y)}), 0, 1e-3f);
        EXPECT_NEAR(distance(right.vertices[2 * k + 1], {c.x + 1.5f * (r.x - c.x), c.y + 1.5f * (r.y - c.y)}), 0, 1e-3f);
    }
}

TEST_F(ShapeTest, DashedBezierCoordinatesGrowByChordLength)
{
    // x = 32 t^2: uneven chords adding up to 32, twice the pattern length.
    const GrPoint p[] = {{0, 0}, {0, 0}, {32, 0}};
    grSetLinePattern(1);
    grSetMode(GR_MODE_BORDER, 1);
    g_draw.patternPhase = 0.7f;
    grBezier(p, 3, 8);
    ASSERT_EQ(rec::draws().size(), 3u);
    for (const rec::Draw& d : rec::draws()) {
        ASSERT_EQ(d.texCoords.size(), 18u);
        EXPECT_TRUE(d.isEnabled(GL_TEXTURE_1D) && d.isEnabled(GL_BLEND));
        for (int k = 0; k < 18; ++k)
            EXPECT_NEAR(d.texCoords[k].x, 2.0f * (k / 2 / 8.0f) * (k / 2 / 8.0f), 1e-5f) << "vertex " << k;
    }
    EXPECT_FLOAT_EQ(rec::draws()[0].texCoords.back().x, 2.0f);
    EXPECT_EQ(g_draw.patternPhase, 0.7f) << "the curve keeps its own pattern run";
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ShapeTest, DegenerateBezierInputIsRefusedAndCounted)
{
    const GrPoint wave[] = {{0, 0}, {10, 5}, {20, 0}, {30, 5}, {40, 0}, {50, 5}, {60, 0}, {70, 5}, {80, 0}};
    const GrPoint still[] = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
    grSetMode(GR_MODE_BORDER, 1);
    grBezier(wave, 1, 10);
    grBezier(wave, 9, 10);
    grBezier(wave, 3, 1);
    grBezier(wave, 3, 100001);
    grBezier(nullptr, 3, 10);
    grBezier(still, 4, 10);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 6);

    // Curves that turn back on themselves still draw, without NaN.
    const GrPoint back[] = {{0, 0}, {10, 0}, {0, 0}};
    const GrPoint zigzag[] = {{0, 0}, {100, 0}, {-50, 0}, {50, 0}};
    grBezier(back, 3, 2);
    grBezier(zigzag, 4, 30);
    grBezier(wave, 8, 100000);
    ASSERT_EQ(rec::draws().size(), 9u);
    for (const rec::Draw& d : rec::draws())
        EXPECT_TRUE(allFinite(d.vertices));
    // Samples finer than a thousandth of a unit merge; the rest all draw.
    EXPECT_GT(rec::draws()[8].vertices.size(), 100000u);
    EXPECT_LE(rec::draws()[8].vertices.size(), 200002u);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 6);
}

TEST_F(ShapeTest, ABezierComingToRestDropsItsRepeatedSamples)
{
    // Its last samples round to the same point and carry no direction.
    const GrPoint resting[] = {{0, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}};
    grBezier(resting, 8, 1000);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& body = rec::draws()[0];
    EXPECT_TRUE(allFinite(body.vertices));
    EXPECT_LT(body.vertices.size(), 2002u);
    EXPECT_EQ(body.vertices.size() % 2, 0u);
    // The band stays horizontal and one unit wide to its end, moved back half a unit.
    for (size_t i = 0; i < body.vertices.size(); i += 2)
        EXPECT_NEAR(body.vertices[i + 1].y - body.vertices[i].y, 1.0f, 1e-4f) << "pair " << i / 2;
    EXPECT_NEAR(body.vertices.back().x, 9.5f, 1.0f / 1024);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
}
