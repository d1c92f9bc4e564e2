#include <algorithm>
#include <cmath>

#include "shape_recording.h"

namespace {

using rec::Vec2;

float triangleArea(Vec2 a, Vec2 b, Vec2 c) { return std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2; }

// Distance from p to the ellipse of semi-axes (rx, ry) centred at c, by
// dense sampling of the rim.
float distanceToEllipse(Vec2 p, Vec2 c, float rx, float ry)
{
    double best = 1e30;
    for (int i = 0; i < 20000; ++i) {
        const double t = i * (2 * M_PI / 20000);
        best = std::min(best, std::hypot(p.x - c.x - rx * std::cos(t), p.y - c.y - ry * std::sin(t)));
    }
    return static_cast<float>(best);
}

// A triangle of one quadrant piece never reaches across an axis through the centre.
bool staysInOneQuadrant(const Vec2* t, Vec2 c)
{
    const float eps = 1e-3f;
    auto side = [&](auto coord) {
        bool neg = false, pos = false;
        for (int i = 0; i < 3; ++i) {
            neg |= coord(t[i]) < -eps;
            pos |= coord(t[i]) > eps;
        }
        return !(neg && pos);
    };
    return side([&](Vec2 v) { return v.x - c.x; }) && side([&](Vec2 v) { return v.y - c.y; });
}

float angleOf(Vec2 p, Vec2 c)
{
    const float a = std::atan2(p.y - c.y, p.x - c.x);
    return a < 0 ? a + static_cast<float>(2 * M_PI) : a;
}

}  // namespace

TEST_F(ShapeTest, FilledCircleIsSevenEqualWedgesPerQuadrant)
{
    grSetMode(GR_MODE_FILL, 1);
    grEllipse(50, 40, 16, 16);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& fill = rec::draws()[0];
    EXPECT_EQ(fill.mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_TRUE(sameColor(fill.color, kRed));
    ASSERT_EQ(fill.vertices.size(), 84u);

    const Vec2 c = {50, 40};
    const float wedge = 16.0f * 16.0f * std::sin(static_cast<float>(M_PI) / 14) / 2;
    for (size_t i = 0; i < 84; i += 3) {
        const Vec2* t = &fill.vertices[i];
        EXPECT_NEAR(triangleArea(t[0], t[1], t[2]), wedge, 0.02f) << "wedge " << i / 3;
        int onRim = 0;
        for (int j = 0; j < 3; ++j)
            onRim += std::fabs(distance(t[j], c) - 16.0f) < 1e-3f;
        EXPECT_EQ(onRim, 2) << "wedge " << i / 3 << " spans centre and rim";
    }
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ShapeTest, EllipseWithoutAreaOrVisibleOutlineDrawsNothing)
{
    for (int fill : {0, 1}) {
        grSetMode(GR_MODE_FILL, fill);
        grEllipse(10, 10, 0, 5);
        grEllipse(10, 10, 5, 0);
        grEllipse(10, 10, -5, 5);
    }
    EXPECT_TRUE(rec::callNames().empty());

    const LinePattern invisible = {0x0000, 0};
    g_draw.pattern = &invisible;
    g_draw.patternTexture = nullptr;
    grSetMode(GR_MODE_FILL, 0);
    grEllipse(10, 10, 8, 5);
    EXPECT_TRUE(rec::draws().empty()) << "a pattern without dashes hides the outline";
    grSetMode(GR_MODE_FILL, 1);
    grEllipse(10, 10, 8, 5);
    EXPECT_EQ(rec::draws().size(), 1u) << "but not the fill";
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
}

TEST_F(ShapeTest, OutlineBandIsTheLineWidthAndItsInnerEdgeStopsAtTheCentre)
{
    grSetLineWidth(4);  // 4 units
    grEllipse(0, 0, 20, 20);
    ASSERT_EQ(rec::draws().size(), 1u);
    for (const Vec2& v : rec::draws()[0].vertices) {
        const float r = distance(v, {0, 0});
        EXPECT_TRUE(std::fabs(r - 18) < 1e-3f || std::fabs(r - 22) < 1e-3f) << v;
    }

    // Lines wider than the minor semi-axis, wide and tall ellipses and a circle.
    g_draw.lineWidth = 20;
    grSetMode(GR_MODE_BORDER, 1);
    const int shapes[][2] = {{30, 8}, {8, 30}, {6, 6}};
    for (const auto& s : shapes) {
        rec::clearCalls();
        grEllipse(100, 50, s[0], s[1]);
        ASSERT_EQ(rec::draws().size(), 3u);
        for (const rec::Draw& d : rec::draws()) {
            ASSERT_EQ(d.vertices.size() % 3, 0u);
            EXPECT_TRUE(allFinite(d.vertices));
            for (size_t i = 0; i < d.vertices.size(); i += 3)
                ASSERT_TRUE(staysInOneQuadrant(&d.vertices[i], {100, 50}))
                    << s[0] << "x" << s[1] << " triangle " << i / 3 << " at " << d.vertices[i];
        }
    }
    float closest = 1e9f;
    for (const Vec2& v : rec::draws()[0].vertices)
        closest = std::min(closest, distance(v, {100, 50}));
    EXPECT_LT(closest, 1e-3f) << "the circle's inner edge reaches the centre";
}

TEST_F(ShapeTest, FilledEllipseBorderKeepsItsWidthAllRound)
{
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    g_draw.borderWidth = 4;
    grEllipse(100, 80, 60, 20);
    ASSERT_EQ(rec::draws().size(), 2u);
    const rec::Draw& fill = rec::draws()[0];
    const rec::Draw& border = rec::draws()[1];
    // ellipseSegments(64, 24) = 78: 20 steps per quadrant, counted with the border.
    EXPECT_EQ(fill.vertices.size(), 240u);
    EXPECT_EQ(border.vertices.size(), 480u);
    EXPECT_TRUE(sameColor(fill.color, kRed));
    EXPECT_TRUE(sameColor(border.color, kWhite));

    const Vec2 c = {100, 80};
    for (size_t i = 0; i < border.vertices.size(); i += 3) {
        int onRim = 0, outside = 0;
        for (size_t j = i; j < i + 3; ++j) {
            const float d = distanceToEllipse(border.vertices[j], c, 60, 20);
            onRim += d < 0.01f;
            outside += std::fabs(d - 4) < 0.01f;
        }
        ASSERT_EQ(onRim + outside, 3) << "triangle " << i / 3 << " at " << border.vertices[i];
        EXPECT_TRUE(onRim > 0 && outside > 0) << "triangle " << i / 3 << " spans the band";
    }
}

TEST_F(ShapeTest, DashedOutlineRunsOnceRoundWithoutAJump)
{
    grSetLinePattern(1);  // length 16
    grSetLineWidth(2);
    grSetMode(GR_MODE_BORDER, 1);
    const float patternPhase = g_draw.patternPhase;
    grEllipse(0, 0, 40, 20);
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_TRUE(rec::atFrameBaseline());
    EXPECT_EQ(g_draw.patternPhase, patternPhase);

    float full = 0;
    for (const Vec2& t : rec::draws()[0].texCoords)
        full = std::max(full, t.x);
    // Ramanujan's perimeter of the 40 x 20 rim, over the pattern length.
    const float perimeter = static_cast<float>(M_PI * (180 - std::sqrt(140.0 * 100.0)));
    EXPECT_NEAR(full, perimeter / 16, 0.005f * perimeter / 16);

    for (const rec::Draw& d : rec::draws()) {
        ASSERT_TRUE(d.isEnabled(GL_TEXTURE_1D) && d.isEnabled(GL_BLEND) && d.texCoordArray);
        ASSERT_EQ(d.texCoords.size(), d.vertices.size());
        const auto& v = d.vertices;
        const auto& t = d.texCoords;
        for (size_t i = 0; i < v.size(); i += 3) {
            const float lo = std::min({t[i].x, t[i + 1].x, t[i + 2].x});
            const float hi = std::max({t[i].x, t[i + 1].x, t[i + 2].x});
            EXPECT_LT(hi - lo, 0.5f) << "triangle " << i / 3 << " spans a jump";
        }
        // Where mirrored pieces meet, the coordinate agrees; only the start
        // on the +x axis carries both ends of the run.
        for (size_t i = 0; i < v.size(); ++i)
            for (size_t j = i + 1; j < v.size(); ++j) {
                if (distance(v[i], v[j]) > 1e-4f)
                    continue;
                const bool start = std::fabs(v[i].y) < 1e-4f && v[i].x > 0;
                if (start && std::fabs(t[i].x - t[j].x) > 1e-4f) {
                    EXPECT_NEAR(std::fabs(t[i].x - t[j].x), full, 1e-4f);
                } else {
                    EXPECT_NEAR(t[i].x, t[j].x, 1e-4f) << "at " << v[i];
                }
            }
    }

    // Along the outer edge of the line the coordinate grows counter-clockwise,
    // reaching half the run on the -x axis.
    const rec::Draw& body = rec::draws()[0];
    std::vector<std::pair<float, float>> outer;  // (angle, s)
    for (size_t i = 0; i < body.vertices.size(); ++i) {
        if (body.texCoords[i].y != 2.0f)
            continue;
        if (std::fabs(body.vertices[i].y) > 1e-4f) {
            outer.push_back({angleOf(body.vertices[i], {0, 0}), body.texCoords[i].x});
        } else if (body.vertices[i].x < 0) {
            EXPECT_NEAR(body.texCoords[i].x, full / 2, 1e-4f);
        }
    }
    std::sort(outer.begin(), outer.end());
    ASSERT_GT(outer.size(), 100u);
    for (size_t i = 1; i < outer.size(); ++i)
        ASSERT_GE(outer[i].second, outer[i - 1].second - 1e-5f) << "at angle " << outer[i].first;
}
