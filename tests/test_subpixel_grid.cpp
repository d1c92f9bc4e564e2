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

class SubpixelGridOf : public ::testing::TestWithParam<GridCase> {};

TEST_P(SubpixelGridOf, CornersEndOnOddSixteenthsOnTheirOwnSideOfEverySample)
{
    const GridCase& c = GetParam();
    SubpixelGrid grid;
    grid.setViewport(c.window.width, c.window.height);
    GridCorner snapped[3];
    for (int i = 0; i < 3; ++i)
        snapped[i] = toClip(c.corners[i], c.window);
    grid.snapTexturedTriangle(snapped);
    for (int i = 0; i < 3; ++i) {
        const Corner moved = toWindow(snapped[i], c.window);
        const double before[2] = {c.corners[i].x, c.corners[i].y}, after[2] = {moved.x, moved.y};
        for (int axis = 0; axis < 2; ++axis) {
            const double sixteenths = after[axis] * 16.0;
            const double nearest = std::round(sixteenths);
            EXPECT_NEAR(sixteenths, nearest, 16.0 * kRoundTrip) << "corner " << i << " axis " << axis;
            const bool wasSampled = std::fabs(before[axis] * 8.0 - std::round(before[axis] * 8.0)) < kRoundTrip;
            if (wasSampled) {
                EXPECT_NEAR(after[axis], before[axis], kRoundTrip) << "a sampled position moved, corner " << i;
            } else {
                EXPECT_EQ(std::fmod(nearest, 2.0), 1.0) << "corner " << i << " axis " << axis << " on a sample";
                EXPECT_EQ(std::floor(before[axis] * 8.0), std::floor(after[axis] * 8.0))
                    << "corner " << i << " crossed a sampled position on axis " << axis;
            }
        }
    }
}

TEST_P(SubpixelGridOf, TextureStaysWhereItWasOnTheWindow)
{
    const GridCase& c = GetParam();
    SubpixelGrid grid;
    grid.setViewport(c.window.width, c.window.height);
    GridCorner snapped[3];
    Corner original[3];
    for (int i = 0; i < 3; ++i) {
        snapped[i] = toClip(c.corners[i], c.window);
        original[i] = toWindow(snapped[i], c.window);
    }
    grid.snapTexturedTriangle(snapped);
    Corner moved[3];
    for (int i = 0; i < 3; ++i)
        moved[i] = toWindow(snapped[i], c.window);
    // Pixel centres inside the triangle, and its centroid.
    const double weights[][3] = {{1.0 / 3, 1.0 / 3, 1.0 / 3}, {0.8, 0.1, 0.1}, {0.1, 0.8, 0.1}, {0.1, 0.1, 0.8}};
    for (const double* w : weights) {
        const double x = std::floor(w[0] * original[0].x + w[1] * original[1].x + w[2] * original[2].x) + 0.5;
        const double y = std::floor(w[0] * original[0].y + w[1] * original[1].y + w[2] * original[2].y) + 0.5;
        double s0, t0, s1, t1;
        interpolate(original, x, y, &s0, &t0);
        interpolate(moved, x, y, &s1, &t1);
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
