#include <vector>

#include "shape_recording.h"

namespace {

using rec::Vec2;

// The curve by de Casteljau's construction, in double.
Vec2 deCasteljau(std::vector<GrPoint> const& p, double t)
{
    std::vector<double> x, y;
    for (const GrPoint& q : p) {
        x.push_back(q.x);
        y.push_back(q.y);
    }
    for (size_t level = p.size() - 1; level > 0; --level)
        for (size_t i = 0; i < level; ++i) {
            x[i] = (1 - t) * x[i] + t * x[i + 1];
            y[i] = (1 - t) * y[i] + t * y[i + 1];
        }
    return {float(x[0]), float(y[0])};
}

Vec2 mid(Vec2 a, Vec2 b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }
Vec2 minus(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
float cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }

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

TEST_F(ShapeTest, BezierBodyFollowsTheCurveOfEveryDegree)
{
    grSetLineWidth(4);
    for (int count = 2; count <= 8; ++count) {
        std::vector<GrPoint> p;
        for (int i = 0; i < count; ++i)
            p.push_back({i * 20, (i % 2 ? 50 : -30) + i * 3});
        rec::clearCalls();
        grBezier(p.data(), count, 10);
        ASSERT_EQ(rec::draws().size(), 1u) << "degree " << count - 1;
        const std::vector<Vec2>& v = rec::draws()[0].vertices;
        ASSERT_EQ(v.size(), 22u);
        ASSERT_TRUE(allFinite(v));
        for (int k = 0; k <= 10; ++k) {
            const Vec2 right = v[2 * k], left = v[2 * k + 1];
            EXPECT_NEAR(distance(left, right), 4.0f, 1e-3f) << "degree " << count - 1 << " sample " << k;
            const Vec2 q = deCasteljau(p, k / 10.0);
            if (k == 0 || k == 10) {
                // The end pairs stand across the end chord, moved back half a unit along it.
                const Vec2 other = deCasteljau(p, k == 0 ? 0.1 : 0.9);
                Vec2 u = k == 0 ? minus(other, q) : minus(q, other);
                const float len = std::hypot(u.x, u.y);
                u = {u.x / len, u.y / len};
                EXPECT_NEAR(distance(mid(left, right), {q.x - u.x / 2, q.y - u.y / 2}), 0.0f, 2e-3f);
                EXPECT_NEAR(dot(minus(left, right), u), 0.0f, 1e-3f);
                EXPECT_GT(cross(u, minus(left, right)), 0.0f) << "left lies to the left";
            } else {
                EXPECT_NEAR(distance(mid(left, right), q), 0.0f, 2e-3f) << "degree " << count - 1 << " sample " << k;
                const Vec2 along = minus(deCasteljau(p, (k + 1) / 10.0), deCasteljau(p, (k - 1) / 10.0));
                EXPECT_GT(cross(along, minus(left, right)), 0.0f) << "sample " << k;
            }
        }
    }
}

TEST_F(ShapeTest, BezierBorderStripsLieOutsideBothSidesOfTheBody)
{
    const GrPoint p[] = {{0, 0}, {30, 60}, {70, -60}, {100, 0}};
    grSetLineWidth(4);
    grSetMode(GR_MODE_BORDER, 1);  // border width 1
    grBezier(p, 4, 20);
    ASSERT_EQ(rec::draws().size(), 3u);
    const rec::Draw& body = rec::draws()[0];
    const rec::Draw& left = rec::draws()[1];
    const rec::Draw& right = rec::draws()[2];
    EXPECT_EQ(body.vertices.size() + left.vertices.size() + right.vertices.size(), 126u);
    ASSERT_EQ(left.vertices.size(), 42u);
    ASSERT_EQ(right.vertices.size(), 42u);
    EXPECT_TRUE(sameColor(body.color, kRed));
    for (const rec::Draw* d : {&left, &right}) {
        EXPECT_EQ(d->mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
        EXPECT_TRUE(sameColor(d->color, kWhite));
    }
    for (int k = 0; k <= 20; ++k) {
        const Vec2 r = body.vertices[2 * k], l = body.vertices[2 * k + 1];
        const Vec2 c = mid(l, r);
        EXPECT_NEAR(distance(left.vertices[2 * k], l), 0.0f, 1e-4f);
        EXPECT_NEAR(distance(right.vertices[2 * k], r), 0.0f, 1e-4f);
        // The outer edge 3 units out along the body's own offset direction.
        const Vec2 lOut = {c.x + (l.x - c.x) * 1.5f, c.y + (l.y - c.y) * 1.5f};
        const Vec2 rOut = {c.x + (r.x - c.x) * 1.5f, c.y + (r.y - c.y) * 1.5f};
        EXPECT_NEAR(distance(left.vertices[2 * k + 1], lOut), 0.0f, 1e-3f) << "sample " << k;
        EXPECT_NEAR(distance(right.vertices[2 * k + 1], rOut), 0.0f, 1e-3f) << "sample " << k;
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
        for (int k = 0; k <= 8; ++k) {
            const float s = 2.0f * (k / 8.0f) * (k / 8.0f);
            EXPECT_NEAR(d.texCoords[2 * k].x, s, 1e-5f) << "sample " << k;
            EXPECT_NEAR(d.texCoords[2 * k + 1].x, s, 1e-5f) << "sample " << k;
        }
    }
    EXPECT_FLOAT_EQ(rec::draws()[0].texCoords.back().x, 2.0f);
    EXPECT_EQ(g_draw.patternPhase, 0.7f) << "the curve keeps its own pattern run";
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ShapeTest, DegenerateBezierInputIsRefusedAndCounted)
{
    const GrPoint line[] = {{0, 0}, {10, 5}, {20, 0}, {30, 5}, {40, 0}, {50, 5}, {60, 0}, {70, 5}, {80, 0}};
    const GrPoint still[] = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
    // Comes to rest: the last samples round to the same point.
    const GrPoint resting[] = {{0, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}};
    grSetMode(GR_MODE_BORDER, 1);
    grBezier(line, 1, 10);
    grBezier(line, 9, 10);
    grBezier(line, 3, 1);
    grBezier(line, 3, 100001);
    grBezier(nullptr, 3, 10);
    grBezier(still, 4, 10);
    grBezier(resting, 8, 1000);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 7);

    // Curves that turn back on themselves still draw, without NaN.
    const GrPoint back[] = {{0, 0}, {10, 0}, {0, 0}};
    const GrPoint zigzag[] = {{0, 0}, {100, 0}, {-50, 0}, {50, 0}};
    grBezier(back, 3, 2);
    grBezier(zigzag, 4, 30);
    grBezier(line, 8, 100000);
    ASSERT_EQ(rec::draws().size(), 9u);
    for (const rec::Draw& d : rec::draws())
        EXPECT_TRUE(allFinite(d.vertices));
    EXPECT_EQ(rec::draws()[8].vertices.size(), 200002u);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 7);
}
