// The shader backend's grid for textured corners: corners end on odd
// sixteenths of a pixel without crossing a sampled position (even
// sixteenths), and the texture stays where it was on the window.
#include <gtest/gtest.h>

#include <cmath>

#include "backends/gles/subpixel_grid.h"

namespace {

struct Window {
    int width, height;
};

struct Corner {
    double x, y, s, t;  // window pixels, texture coordinates
};

struct GridCase {
    const char* name;
    Window window;
    Corner corners[3];
};

const GridCase kCases[] = {
    // Half of a glyph's quad between texel centres, and one whose edges lie
    // a hair off pixel centres (where a coarse rasteriser decides).
    {"glyph_quad", {778, 1034}, {{100.3, 200.7, 0.25, 0.5}, {100.3, 215.2, 0.25, 0.4}, {109.9, 215.2, 0.31, 0.4}}},
    {"near_centres", {778, 1034}, {{40.51, 60.49, 0.0, 1.0}, {40.51, 70.53, 0.0, 0.0}, {52.47, 70.53, 1.0, 0.0}}},
    // Rotated text: no edge is parallel to an axis.
    {"rotated", {800, 600}, {{310.17, 95.83, 0.1, 0.9}, {318.62, 104.91, 0.1, 0.7}, {301.05, 121.44, 0.3, 0.7}}},
    // Already on sampled positions (an image at whole and half pixels).
    {"on_samples", {800, 600}, {{10.0, 20.5, 0.0, 0.0}, {74.0, 20.5, 1.0, 0.0}, {74.0, 84.25, 1.0, 1.0}}},
};

GridCorner toClip(const Corner& c, Window w)
{
    return {static_cast<float>(c.x * 2.0 / w.width - 1.0), static_cast<float>(c.y * 2.0 / w.height - 1.0),
            static_cast<float>(c.s), static_cast<float>(c.t)};
}

Corner toWindow(const GridCorner& c, Window w)
{
    return {(c.x + 1.0) * 0.5 * w.width, (c.y + 1.0) * 0.5 * w.height, c.s, c.t};
}

// s and t at window point (x, y) as the triangle interpolates them.
void interpolate(const Corner c[3], double x, double y, double* s, double* t)
{
    const double area = (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (c[1].y - c[0].y);
    const double b1 = ((x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (y - c[0].y)) / area;
    const double b2 = ((c[1].x - c[0].x) * (y - c[0].y) - (x - c[0].x) * (c[1].y - c[0].y)) / area;
    const double b0 = 1.0 - b1 - b2;
    *s = b0 * c[0].s + b1 * c[1].s + b2 * c[2].s;
    *t = b0 * c[0].t + b1 * c[1].t + b2 * c[2].t;
}

// What float clip coordinates keep of a window position.
constexpr double kRoundTrip = 1.0 / 1024;

// The case's corners as float clip coordinates leave them (before) and
// after the grid, in window pixels.
void snapCase(const GridCase& c, Corner before[3], Corner after[3])
{
    SubpixelGrid grid;
    grid.setViewport(c.window.width, c.window.height);
    GridCorner corners[3];
    for (int i = 0; i < 3; ++i) {
        corners[i] = toClip(c.corners[i], c.window);
        before[i] = toWindow(corners[i], c.window);
    }
    grid.snapTexturedTriangle(corners);
    for (int i = 0; i < 3; ++i)
        after[i] = toWindow(corners[i], c.window);
}

class SubpixelGridOf : public ::testing::TestWithParam<GridCase> {};

TEST_P(SubpixelGridOf, CornersEndOnOddSixteenthsOnTheirOwnSideOfEverySample)
{
    Corner before[3], after[3];
    snapCase(GetParam(), before, after);
    for (int i = 0; i < 3; ++i) {
        const double from[2] = {before[i].x, before[i].y}, to[2] = {after[i].x, after[i].y};
        for (int axis = 0; axis < 2; ++axis) {
            const double nearest = std::round(to[axis] * 16.0);
            EXPECT_NEAR(to[axis] * 16.0, nearest, 16.0 * kRoundTrip) << "corner " << i << " axis " << axis;
            if (std::fabs(from[axis] * 8.0 - std::round(from[axis] * 8.0)) < kRoundTrip) {
                EXPECT_NEAR(to[axis], from[axis], kRoundTrip) << "a sampled position moved, corner " << i;
                continue;
            }
            EXPECT_EQ(std::fmod(nearest, 2.0), 1.0) << "corner " << i << " axis " << axis << " on a sample";
            EXPECT_EQ(std::floor(from[axis] * 8.0), std::floor(to[axis] * 8.0))
                << "corner " << i << " crossed a sampled position on axis " << axis;
        }
    }
}

TEST_P(SubpixelGridOf, TextureStaysWhereItWasOnTheWindow)
{
    Corner before[3], after[3];
    snapCase(GetParam(), before, after);
    // Pixel centres near the centroid and near each corner.
    const double weights[][3] = {{1.0 / 3, 1.0 / 3, 1.0 / 3}, {0.8, 0.1, 0.1}, {0.1, 0.8, 0.1}, {0.1, 0.1, 0.8}};
    for (const double* w : weights) {
        const double x = std::floor(w[0] * before[0].x + w[1] * before[1].x + w[2] * before[2].x) + 0.5;
        const double y = std::floor(w[0] * before[0].y + w[1] * before[1].y + w[2] * before[2].y) + 0.5;
        double s0, t0, s1, t1;
        interpolate(before, x, y, &s0, &t0);
        interpolate(after, x, y, &s1, &t1);
        // A hundredth of a texel of a 1024-texel page: what float clip
        // coordinates leave; a corner moved without its texture is off by
        // up to a sixteenth of a pixel's worth.
        EXPECT_NEAR(s1, s0, 1e-5) << "at " << x << ", " << y;
        EXPECT_NEAR(t1, t0, 1e-5) << "at " << x << ", " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Triangles, SubpixelGridOf, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

// A triangle without area covers no pixel: its texture coordinates stay as
// given rather than becoming the quotient of nothing.
TEST(SubpixelGrid, FlatTriangleKeepsItsTextureCoordinates)
{
    SubpixelGrid grid;
    grid.setViewport(800, 600);
    const Window window = {800, 600};
    GridCorner corners[3] = {toClip({10.3, 10.3, 0.1, 0.2}, window), toClip({20.3, 20.3, 0.3, 0.4}, window),
                             toClip({30.3, 30.3, 0.5, 0.6}, window)};
    grid.snapTexturedTriangle(corners);
    const float expected[3][2] = {{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(corners[i].s, expected[i][0]);
        EXPECT_EQ(corners[i].t, expected[i][1]);
    }
}

}  // namespace
