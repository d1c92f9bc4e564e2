#include <utility>

#include "quads.h"
#include "shape_recording.h"

using rec::Vec2;

namespace {

// The border draw expected for bands of width 2 on the given point pairs.
std::vector<Vec2> bands(const std::vector<GrPoint>& p, std::initializer_list<std::pair<int, int>> segments)
{
    float buffer[12 * 16];
    float* end = buffer;
    for (auto [a, b] : segments)
        appendSegmentQuad(float(p[a].x), float(p[a].y), float(p[b].x), float(p[b].y), 2.0f, &end);
    std::vector<Vec2> out;
    for (const float* f = buffer; f < end; f += 2)
        out.push_back({f[0], f[1]});
    return out;
}

std::vector<Vec2> asFloats(const std::vector<GrPoint>& p)
{
    std::vector<Vec2> out;
    for (const GrPoint& q : p)
        out.push_back({float(q.x), float(q.y)});
    return out;
}

}  // namespace

TEST_F(ShapeTest, PolygonFanIsDrawnOverBandsOnEveryFanEdgeAndDiagonal)
{
    const std::vector<GrPoint> p = {{0, 0}, {20, 0}, {25, 15}, {10, 25}, {-5, 15}};
    grPolygon(p.data(), 5);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_FAN, kRed, asFloats(p)));

    rec::clearCalls();
    grSetMode(GR_MODE_BORDER, 1);
    grPolygon(p.data(), 5);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 6u * (2 * 5 - 3));
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLES, kWhite,
                            bands(p, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 2}, {0, 3}, {0, 4}})));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_FAN, kRed, asFloats(p))) << "fill last, over the bands";
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ShapeTest, PolygonsWithFewOrRepeatedPointsDrawOnlyRealEdges)
{
    grSetMode(GR_MODE_BORDER, 1);
    const std::vector<GrPoint> repeated = {{0, 0}, {10, 0}, {10, 0}, {10, 10}};
    grPolygon(repeated.data(), 4);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLES, kWhite, bands(repeated, {{0, 1}, {2, 3}, {0, 2}, {0, 3}})));

    rec::clearCalls();
    const std::vector<GrPoint> two = {{3, 4}, {3, 14}};
    grPolygon(two.data(), 2);
    ASSERT_EQ(rec::draws().size(), 1u) << "two points: the edge's band and no fill";
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLES, kWhite, bands(two, {{0, 1}})));

    rec::clearCalls();
    grPolygon(two.data(), 1);
    grPolygon(nullptr, 0);
    grTriangleStrip(two.data(), 1);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    grPolygon(nullptr, 3);
    grPolygon(two.data(), -1);
    grTriangleStrip(nullptr, 4);
    EXPECT_EQ(grDiagnostics().rejectedShapes, 3);
    // Border bands beyond the scratch limit: the whole polygon is skipped.
    const std::vector<GrPoint> huge(1400000, GrPoint{1, 1});
    grPolygon(huge.data(), static_cast<int>(huge.size()));
    grSetMode(GR_MODE_BORDER, 0);
    grPolygon(two.data(), 2);
    EXPECT_TRUE(rec::callNames().empty());
}

TEST_F(ShapeTest, TriangleStripBordersEveryTriangleEdgeThenFills)
{
    const std::vector<GrPoint> p = {{0, 0}, {0, 10}, {10, 0}, {10, 10}, {20, 0}};
    grSetMode(GR_MODE_BORDER, 1);
    grTriangleStrip(p.data(), 5);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLES, kWhite,
                            bands(p, {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}, {2, 4}, {3, 4}})));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_STRIP, kRed, asFloats(p)));
    EXPECT_TRUE(rec::atFrameBaseline());
}
