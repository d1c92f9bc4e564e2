#include <algorithm>

#include "shape_recording.h"

using rec::Vec2;

namespace {

// No triangle of a mirrored quadrant piece reaches across an axis through c.
bool staysInOneQuadrant(const Vec2* t, Vec2 c)
{
    auto spans = [](float a, float b, float d) { return std::min({a, b, d}) < -1e-3f && std::max({a, b, d}) > 1e-3f; };
    return !spans(t[0].x - c.x, t[1].x - c.x, t[2].x - c.x) && !spans(t[0].y - c.y, t[1].y - c.y, t[2].y - c.y);
}

}  // namespace

// Each quadrant's first wedge repeats the start point and has no area; its
// last spans two angle steps to the axis end.
TEST_F(ShapeTest, FilledCircleIsSevenWedgesPerQuadrantFromAnEmptyOneAndZeroAxesDrawNothing)
{
    grSetMode(GR_MODE_FILL, 1);
    grEllipse(50, 40, 0, 5);
    grEllipse(50, 40, 5, -1);
    EXPECT_TRUE(rec::callNames().empty());

    grEllipse(50, 40, 16, 16);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& fill = rec::draws()[0];
    EXPECT_EQ(fill.mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_TRUE(sameColor(fill.color, kRed));
    ASSERT_EQ(fill.vertices.size(), 84u);
    const float dt = float(M_PI) / 14;
    for (size_t i = 0; i < 84; i += 3) {
        const Vec2* t = &fill.vertices[i];
        const float area = std::fabs((t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y)) / 2;
        const size_t step = i / 12;  // each step writes one wedge into each of the four quadrants
        const float angle = step == 0 ? 0.0f : step == 6 ? 2 * dt : dt;
        EXPECT_NEAR(area, 128 * std::sin(angle), 0.02f) << "step " << step << ", wedge " << i / 3;
        EXPECT_NEAR(distance(t[0], {50, 40}) + distance(t[1], {50, 40}) + distance(t[2], {50, 40}), 32, 1e-3f);
    }
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ShapeTest, ThickEllipseOutlineKeepsItsInnerEdgesOnTheirSideOfTheCentre)
{
    g_draw.lineWidth = 20;
    grSetMode(GR_MODE_BORDER, 1);
    for (const auto& axes : {std::pair{30, 8}, std::pair{8, 30}, std::pair{6, 6}}) {
        rec::clearCalls();
        grEllipse(100, 50, axes.first, axes.second);
        ASSERT_EQ(rec::draws().size(), 3u);
        for (const rec::Draw& d : rec::draws())
            for (size_t i = 0; i < d.vertices.size(); i += 3)
                ASSERT_TRUE(staysInOneQuadrant(&d.vertices[i], {100, 50}))
                    << axes.first << "x" << axes.second << " triangle at " << d.vertices[i];
    }
    float closest = 1e9f;
    for (const Vec2& v : rec::draws()[0].vertices)
        closest = std::min(closest, distance(v, {100, 50}));
    EXPECT_LT(closest, 1e-3f) << "a circle's inner edge ends at the centre";
}

TEST_F(ShapeTest, FilledEllipseBorderIsTheBorderWidthAlongTheNormalsAllRound)
{
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    g_draw.borderWidth = 4;
    grEllipse(100, 80, 60, 20);
    ASSERT_EQ(rec::draws().size(), 2u);
    // ellipseSegments(64, 24) = 78: 20 steps per quadrant, counted with the border.
    EXPECT_EQ(rec::draws()[0].vertices.size(), 240u);
    const rec::Draw& border = rec::draws()[1];
    EXPECT_TRUE(sameColor(border.color, kWhite));
    ASSERT_EQ(border.vertices.size(), 480u);
    for (size_t i = 0; i < border.vertices.size(); i += 6) {
        const Vec2 out = border.vertices[i], rim = {border.vertices[i + 1].x - 100, border.vertices[i + 1].y - 80};
        EXPECT_NEAR((rim.x / 60) * (rim.x / 60) + (rim.y / 20) * (rim.y / 20), 1, 1e-4f);
        EXPECT_NEAR(distance(out, border.vertices[i + 1]), 4, 1e-3f);
        const Vec2 normal = {rim.x / 3600, rim.y / 400};
        EXPECT_NEAR((out.x - 100 - rim.x) * normal.y - (out.y - 80 - rim.y) * normal.x, 0, 1e-5f) << "at " << rim;
    }
}

TEST_F(ShapeTest, DashedEllipseOutlineRunsOnceRoundWithoutAJump)
{
    grSetLinePattern(1);  // length 16
    grSetLineWidth(2);
    grSetMode(GR_MODE_BORDER, 1);
    grEllipse(0, 0, 40, 20);
    ASSERT_EQ(rec::draws().size(), 3u);
    EXPECT_TRUE(rec::atFrameBaseline());
    const rec::Draw& body = rec::draws()[0];
    float full = 0, half = 0;
    for (size_t i = 0; i < body.vertices.size(); ++i) {
        full = std::max(full, body.texCoords[i].x);
        if (body.vertices[i].x == -41 && body.vertices[i].y == 0)
            half = body.texCoords[i].x;
    }
    // Ramanujan's perimeter of the rim, over the pattern length.
    EXPECT_NEAR(full, M_PI * (180 - std::sqrt(14000.0)) / 16, 0.03f);
    EXPECT_NEAR(full, 2 * half, 1e-4f) << "the -x axis is half way round";

    // Where pieces meet, so does the pattern; only the start on +x carries both ends.
    for (const rec::Draw& d : rec::draws()) {
        ASSERT_TRUE(d.isEnabled(GL_TEXTURE_1D) && d.texCoordArray);
        for (size_t i = 0; i < d.vertices.size(); ++i)
            for (size_t j = i + 1; j < d.vertices.size(); ++j) {
                const float ds = std::fabs(d.texCoords[i].x - d.texCoords[j].x);
                if (distance(d.vertices[i], d.vertices[j]) < 1e-4f && ds > 1e-4f) {
                    ASSERT_TRUE(d.vertices[i].x > 0 && d.vertices[i].y == 0 && std::fabs(ds - full) < 1e-4f)
                        << "jump of " << ds << " at " << d.vertices[i];
                }
            }
    }
}

// A dashed circle of radius 16 and a pattern 16 long: its quadrant length Q
// is five chords of one angle step and one of two, so the pattern runs to
// 4Q / 16; the first step of each quadrant has no length.
TEST_F(ShapeTest, DashedCircleRunsItsPatternOverTheLaggingRimPoints)
{
    grSetLinePattern(1);
    grEllipse(0, 0, 16, 16);
    ASSERT_EQ(rec::draws().size(), 1u);
    const rec::Draw& body = rec::draws()[0];
    ASSERT_EQ(body.vertices.size(), 24u * 7);
    float full = 0;
    for (const Vec2& t : body.texCoords)
        full = std::max(full, t.x);
    const double dt = M_PI / 14;
    const double quadrant = 16 * (5 * 2 * std::sin(dt / 2) + 2 * std::sin(dt));
    EXPECT_NEAR(full, 4 * quadrant / 16, 1e-4);
    EXPECT_NEAR(full, 6.25875, 1e-4);
    // The first step of the first quadrant: outer and inner edge at the start
    // on both ends, texture coordinate 0 on both.
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(std::fabs(body.vertices[i].y), 0, 1e-5f) << i;
        EXPECT_EQ(body.texCoords[i].x, 0.0f) << i;
    }

    // A solid outline keeps its evenly spaced steps: no empty first step.
    rec::clearCalls();
    grSetLinePattern(0);
    grEllipse(0, 0, 16, 16);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_GT(rec::draws()[0].vertices[2].y, 1.0f) << "the first step's far end is off the axis";
}
