#include <set>
#include <utility>

#include "shape_recording.h"

namespace {

using rec::Vec2;
using Segment = std::pair<int, int>;

// The point pairs whose bands a border draw holds: each group of 6 vertices
// is matched to the segment (a, b) it is the width-2 band of, both ends
// moved half a unit back along the segment; coinciding points match the
// first of them.
std::multiset<Segment> bandSegments(const rec::Draw& d, const std::vector<GrPoint>& p)
{
    std::multiset<Segment> found;
    EXPECT_EQ(d.vertices.size() % 6, 0u);
    for (size_t i = 0; i + 5 < d.vertices.size(); i += 6) {
        const Vec2* v = &d.vertices[i];
        const Vec2 start = {(v[0].x + v[1].x) / 2, (v[0].y + v[1].y) / 2};
        const Vec2 end = {(v[4].x + v[5].x) / 2, (v[4].y + v[5].y) / 2};
        EXPECT_NEAR(distance(v[0], v[1]), 2.0f, 1e-4f) << "band width";
        bool matched = false;
        for (int a = 0; a < static_cast<int>(p.size()) && !matched; ++a)
            for (int b = 0; b < static_cast<int>(p.size()) && !matched; ++b) {
                const float len = std::hypot(float(p[b].x - p[a].x), float(p[b].y - p[a].y));
                if (a == b || len == 0)
                    continue;
                const Vec2 back = {(p[b].x - p[a].x) / len / 2, (p[b].y - p[a].y) / len / 2};
                if (distance(start, {p[a].x - back.x, p[a].y - back.y}) < 1e-4f &&
                    distance(end, {p[b].x - back.x, p[b].y - back.y}) < 1e-4f) {
                    found.insert({a, b});
                    matched = true;
                }
            }
        EXPECT_TRUE(matched) << "band " << i / 6 << " from " << start << " to " << end;
    }
    return found;
}

std::vector<Vec2> asFloats(const std::vector<GrPoint>& p)
{
    std::vector<Vec2> out;
    for (const GrPoint& q : p)
        out.push_back({float(q.x), float(q.y)});
    return out;
}

}  // namespace

TEST_F(ShapeTest, PolygonFanIsDrawnOverBandsOnEveryFanEdge)
{
    const std::vector<GrPoint> p = {{0, 0}, {20, 0}, {25, 15}, {10, 25}, {-5, 15}};
    grPolygon(p.data(), 5);
    ASSERT_EQ(rec::draws().size(), 1u);
    EXPECT_TRUE(rec::isDraw(rec::draws()[0], GL_TRIANGLE_FAN, kRed, asFloats(p)));

    rec::clearCalls();
    grSetMode(GR_MODE_BORDER, 1);
    grPolygon(p.data(), 5);
    ASSERT_EQ(rec::draws().size(), 2u);
    const rec::Draw& border = rec::draws()[0];
    EXPECT_EQ(border.mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_TRUE(sameColor(border.color, kWhite));
    EXPECT_EQ(border.vertices.size(), 6u * (2 * 5 - 3));
    EXPECT_EQ(bandSegments(border, p), (std::multiset<Segment>{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 2}, {0, 3}, {0, 4}}));
    rec::Draw firstBand = border;
    firstBand.vertices.resize(6);
    EXPECT_TRUE(rec::isDraw(firstBand, GL_TRIANGLES, kWhite,
                            {{-0.5f, -1}, {-0.5f, 1}, {19.5f, -1}, {-0.5f, 1}, {19.5f, -1}, {19.5f, 1}}));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_FAN, kRed, asFloats(p))) << "fill last, over the bands";
    EXPECT_TRUE(rec::atFrameBaseline());
}

TEST_F(ShapeTest, PolygonsWithFewOrRepeatedPointsDrawOnlyRealEdges)
{
    grSetMode(GR_MODE_BORDER, 1);
    const std::vector<GrPoint> repeated = {{0, 0}, {10, 0}, {10, 0}, {10, 10}};
    grPolygon(repeated.data(), 4);
    ASSERT_EQ(rec::draws().size(), 2u);
    EXPECT_EQ(rec::draws()[0].vertices.size(), 24u) << "the zero-length edge adds no band";
    EXPECT_EQ(bandSegments(rec::draws()[0], repeated), (std::multiset<Segment>{{0, 1}, {0, 1}, {1, 3}, {0, 3}}))
        << "edges 0-1, 2-3 and the diagonals 0-2, 0-3";

    rec::clearCalls();
    const std::vector<GrPoint> two = {{3, 4}, {3, 14}};
    grPolygon(two.data(), 2);
    ASSERT_EQ(rec::draws().size(), 1u) << "two points: the edge's band and no fill";
    EXPECT_EQ(bandSegments(rec::draws()[0], two), (std::multiset<Segment>{{0, 1}}));

    rec::clearCalls();
    grPolygon(two.data(), 1);
    grPolygon(two.data(), 0);
    grPolygon(nullptr, 0);
    grTriangleStrip(two.data(), 1);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 0);
    grPolygon(nullptr, 3);
    grPolygon(two.data(), -1);
    grTriangleStrip(nullptr, 4);
    EXPECT_TRUE(rec::callNames().empty());
    EXPECT_EQ(grDiagnostics().rejectedShapes, 3);

    // Border bands beyond the scratch limit: the whole polygon is skipped.
    const std::vector<GrPoint> huge(1400000, GrPoint{1, 1});
    grPolygon(huge.data(), static_cast<int>(huge.size()));
    EXPECT_TRUE(rec::draws().empty());

    grSetMode(GR_MODE_BORDER, 0);
    grPolygon(two.data(), 2);
    EXPECT_TRUE(rec::draws().empty());
}

TEST_F(ShapeTest, TriangleStripBordersEveryTriangleEdgeThenFills)
{
    const std::vector<GrPoint> p = {{0, 0}, {0, 10}, {10, 0}, {10, 10}, {20, 0}};
    grSetMode(GR_MODE_BORDER, 1);
    grTriangleStrip(p.data(), 5);
    ASSERT_EQ(rec::draws().size(), 2u);
    const rec::Draw& border = rec::draws()[0];
    EXPECT_TRUE(sameColor(border.color, kWhite));
    EXPECT_EQ(border.vertices.size(), 6u * (2 * 5 - 3));
    EXPECT_EQ(bandSegments(border, p), (std::multiset<Segment>{{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}, {2, 4}, {3, 4}}));
    EXPECT_TRUE(rec::isDraw(rec::draws()[1], GL_TRIANGLE_STRIP, kRed, asFloats(p)));
    EXPECT_TRUE(rec::atFrameBaseline());
}
