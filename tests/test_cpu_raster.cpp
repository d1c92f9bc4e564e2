// The CPU rasteriser against the GL's rules, independently of any GL:
// coverage at the standard sample positions, the top-left fill rule (a
// tiled area covered exactly once), stencil, texture sampling and blending.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "backends/cpu/band_pool.h"
#include "backends/cpu/draw_list.h"
#include "backends/cpu/pixel_ops.h"
#include "backends/cpu/polygon_clip.h"
#include "backends/cpu/sample_merge.h"
#include "backends/cpu/shape_raster.h"

namespace {

using cpu::CpuFrame;
using cpu::Paint;
using cpu::RasterVertex;

constexpr int kSide = 48;
constexpr uint32_t kBlack = cpu::packRgba(0, 0, 0, 255);
constexpr uint32_t kRed = cpu::packRgba(255, 0, 0, 255);
constexpr uint32_t kBlue = cpu::packRgba(0, 0, 255, 255);

// The published positions, in pixels from the pixel's top left corner,
// turned to the frame's rows, which count from the bottom as the GL's do.
struct Position {
    double x, y;
};
std::vector<Position> publishedPattern(int samples)
{
    std::vector<Position> fromTop;
    switch (samples) {
    case 0:
        fromTop = {{0.5, 0.5}};
        break;
    case 2:
        fromTop = {{0.75, 0.75}, {0.25, 0.25}};
        break;
    case 4:
        fromTop = {{0.375, 0.125}, {0.875, 0.375}, {0.125, 0.625}, {0.625, 0.875}};
        break;
    default:
        fromTop = {{0.5625, 0.3125}, {0.4375, 0.6875}, {0.8125, 0.5625}, {0.3125, 0.1875},
                   {0.1875, 0.8125}, {0.0625, 0.4375}, {0.6875, 0.9375}, {0.9375, 0.0625}};
    }
    for (Position& p : fromTop)
        p.y = 1.0 - p.y;
    return fromTop;
}

// The colour of one sample, whether its pixel is split or not.
uint32_t sampleColor(CpuFrame& frame, int x, int y, int s)
{
    const size_t p = static_cast<size_t>(y) * frame.Width() + x;
    if (frame.Samples() == 0 || !frame.Split().Test(x, y))
        return frame.Pixels()[p];
    return frame.SampleColors()[p * frame.Samples() + s];
}

void draw(CpuFrame& frame, const std::vector<RasterVertex>& triangles, const Paint& paint)
{
    for (size_t i = 0; i + 2 < triangles.size(); i += 3)
        cpu::rasterTriangle(frame, &triangles[i], paint, 0, frame.Height());
}

CpuFrame clearedFrame(int samples, uint32_t color)
{
    CpuFrame frame;
    EXPECT_TRUE(frame.Resize(kSide, kSide, samples));
    frame.ClearColor(0, kSide, color);
    frame.ClearStencil(0, kSide, 0);
    return frame;
}

// A rectangle cut into triangles between jittered grid points.
std::vector<RasterVertex> tiledRectangle(unsigned seed, double x0, double y0, double x1, double y1)
{
    constexpr int kCells = 5;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> jitter(-20, 20);
    RasterVertex grid[kCells + 1][kCells + 1];
    for (int j = 0; j <= kCells; ++j)
        for (int i = 0; i <= kCells; ++i) {
            const bool edgeX = i == 0 || i == kCells, edgeY = j == 0 || j == kCells;
            // Inner corners on whole pixels plus sixteenths: edges between
            // them run through sample positions, where the fill rule decides.
            const double x = edgeX ? (i ? x1 : x0) : std::round(x0 + (x1 - x0) * i / kCells) + jitter(random) / 16.0;
            const double y = edgeY ? (j ? y1 : y0) : std::round(y0 + (y1 - y0) * j / kCells) + jitter(random) / 16.0;
            grid[j][i] = {static_cast<float>(x), static_cast<float>(y), 0, 0};
        }
    std::vector<RasterVertex> out;
    for (int j = 0; j < kCells; ++j)
        for (int i = 0; i < kCells; ++i) {
            const RasterVertex a = grid[j][i], b = grid[j][i + 1], c = grid[j + 1][i], d = grid[j + 1][i + 1];
            // Both diagonals, and both windings, occur.
            if ((i + j) % 2)
                out.insert(out.end(), {a, b, d, a, d, c});
            else
                out.insert(out.end(), {a, c, b, b, c, d});
        }
    return out;
}

// Corners snap to the nearest 1/256 pixel, ties to even as lrintf rounds
// them, up to the largest coordinate taken; NaN, the infinities and
// anything beyond it leave the triangle out.
TEST(CpuSnap, CornersRoundToNearestEvenAndOutOfRangeIsSkipped)
{
    const float limit = cpu::kMaxRasterCoordinate;
    const float values[] = {0.0f, 1.5f / 256, 2.5f / 256, -1.5f / 256, -2.5f / 256, 37.123f, -5.998f,
                            limit - 0.5f / 256, -limit, 1234.5f + 0.5f / 256};
    for (float a : values)
        for (float b : values) {
            if (a == b)
                continue;
            const RasterVertex triangle[] = {{a, b, 0, 0}, {b, b, 0, 0}, {a, a, 0, 0}};
            int64_t x[3], y[3];
            // Two values snapping to one (1.5 and 2.5 both to 2) leave no area.
            const bool apart = std::lrintf(a * 256) != std::lrintf(b * 256);
            ASSERT_EQ(cpu::snapTriangle(triangle, x, y), apart) << a << " " << b;
            if (!apart)
                continue;
            for (int i = 0; i < 3; ++i) {
                const long wantX = std::lrintf(triangle[i].x * 256), wantY = std::lrintf(triangle[i].y * 256);
                // Reordered to wind one way: the corner is among the three.
                bool found = false;
                for (int k = 0; k < 3; ++k)
                    found = found || (x[k] == wantX && y[k] == wantY);
                EXPECT_TRUE(found) << triangle[i].x << "," << triangle[i].y;
            }
        }
    for (float bad : {std::nanf(""), INFINITY, -INFINITY, limit * 1.01f}) {
        const RasterVertex triangle[] = {{0, 0, 0, 0}, {bad, 1, 0, 0}, {1, 1, 0, 0}};
        int64_t x[3], y[3];
        EXPECT_FALSE(cpu::snapTriangle(triangle, x, y)) << bad;
    }
}

class SampleCounts : public testing::TestWithParam<int> {};

// Every sample inside the tiled rectangle is hit exactly once, none
// outside: blending a quarter-white once gives 64, twice more.
TEST_P(SampleCounts, TiledAreaIsCoveredExactlyOnce)
{
    const int samples = GetParam();
    const std::vector<Position> pattern = publishedPattern(samples);
    // Corners away from any sample row or column of the patterns.
    const double x0 = 3.03125, y0 = 4.03125, x1 = 41.96875, y1 = 43.96875;
    // A half-plane cuts some tiles too, as clip planes do.
    const cpu::HalfPlane cut{1.0, -0.6, -3.1};
    for (unsigned seed = 1; seed <= 4; ++seed) {
        CpuFrame frame = clearedFrame(samples, kBlack);
        Paint paint;
        paint.color = cpu::packRgba(255, 255, 255, 64);
        paint.blend = true;
        const std::vector<RasterVertex> tiles = tiledRectangle(seed, x0, y0, x1, y1);
        for (size_t i = 0; i < tiles.size(); i += 3) {
            RasterVertex polygon[cpu::kMaxClippedVertices];
            const int corners = cpu::clipTriangle(&tiles[i], &cut, 1, polygon);
            for (int k = 1; k + 1 < corners; ++k) {
                const RasterVertex fan[] = {polygon[0], polygon[k], polygon[k + 1]};
                cpu::rasterTriangle(frame, fan, paint, 0, kSide);
            }
        }
        int inside = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                for (size_t s = 0; s < pattern.size(); ++s) {
                    const double px = x + pattern[s].x, py = y + pattern[s].y;
                    const double side = cut.a * px + cut.b * py + cut.c;
                    if (std::fabs(side) < 0.01)
                        continue;  // on the cut: either side is right
                    const bool expected = px > x0 && px < x1 && py > y0 && py < y1 && side > 0;
                    const uint32_t red = sampleColor(frame, x, y, static_cast<int>(s)) & 0xFF;
                    ASSERT_EQ(red, expected ? 64u : 0u)
                        << "seed " << seed << " pixel " << x << "," << y << " sample " << s;
                    inside += expected;
                }
        EXPECT_GT(inside, 0);
    }
}

// Coverage at the published positions, and a pixel's colour the rounded
// mean of its samples.
TEST_P(SampleCounts, CoverageIsThatOfThePublishedPositionsResolvedByTheMean)
{
    const int samples = GetParam();
    const std::vector<Position> pattern = publishedPattern(samples);
    // Corners on the 1/256 grid the rasteriser snaps to, so that its
    // coverage and the exact one below agree but for ties.
    const RasterVertex triangle[] = {{2.125f, 1.3125f, 0, 0}, {45.6875f, 9.1875f, 0, 0}, {11.375f, 46.59375f, 0, 0}};
    CpuFrame frame = clearedFrame(samples, kBlack);
    Paint paint;
    paint.color = kRed;
    cpu::rasterTriangle(frame, triangle, paint, 0, kSide);
    auto edge = [&](int i, double px, double py) {
        const RasterVertex& a = triangle[i];
        const RasterVertex& b = triangle[(i + 1) % 3];
        return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
    };
    int partial = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            int covered = 0;
            bool tie = false;
            for (const Position& s : pattern) {
                const double px = x + s.x, py = y + s.y;
                bool in = true;
                for (int i = 0; i < 3; ++i) {
                    in = in && edge(i, px, py) > 0;
                    tie = tie || edge(i, px, py) == 0;
                }
                covered += in;
            }
            if (tie)
                continue;  // the fill rule's business, tested above
            const int n = static_cast<int>(pattern.size());
            const uint32_t expected = (covered * 255 + n / 2) / n;
            ASSERT_EQ(frame.Pixels()[y * kSide + x] & 0xFF, expected) << "pixel " << x << "," << y;
            partial += covered > 0 && covered < n;
        }
    EXPECT_EQ(partial > 0, samples > 0);
}

// A mask written into the stencil and drawn through, inside and outside,
// gives sample for sample the picture of the masking shape drawn directly.
TEST_P(SampleCounts, StencilMaskMatchesTheShapeSampleForSample)
{
    const int samples = GetParam();
    const RasterVertex mask[] = {{5.3f, 7.1f, 0, 0}, {40.2f, 3.9f, 0, 0}, {22.6f, 44.4f, 0, 0}};
    const RasterVertex screen[] = {{0, 0, 0, 0},          {kSide, 0, 0, 0}, {0, kSide, 0, 0},
                                   {kSide, 0, 0, 0}, {kSide, kSide, 0, 0}, {0, kSide, 0, 0}};
    const std::vector<RasterVertex> whole(screen, screen + 6);

    CpuFrame masked = clearedFrame(samples, kBlack);
    // A stencil cleared after an earlier mask forgets it.
    Paint write;
    write.stencil = cpu::StencilMode::Write;
    write.stencilRef = 1;
    draw(masked, whole, write);
    masked.ClearStencil(0, kSide, 0);
    cpu::rasterTriangle(masked, mask, write, 0, kSide);
    Paint inside;
    inside.color = kRed;
    inside.stencil = cpu::StencilMode::Test;
    inside.stencilRef = 1;
    draw(masked, whole, inside);
    Paint outside = inside;
    outside.color = kBlue;
    outside.stencilRef = 0;
    draw(masked, whole, outside);

    CpuFrame direct = clearedFrame(samples, kBlue);
    Paint red;
    red.color = kRed;
    cpu::rasterTriangle(direct, mask, red, 0, kSide);

    const int count = samples == 0 ? 1 : samples;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            ASSERT_EQ(masked.Pixels()[y * kSide + x], direct.Pixels()[y * kSide + x]) << x << "," << y;
            for (int s = 0; s < count; ++s)
                ASSERT_EQ(sampleColor(masked, x, y, s), sampleColor(direct, x, y, s));
        }
}

// With multisampling switched off for a draw, a multisampled frame takes
// the pixel centre's coverage for every sample, as the GL does with
// GL_MULTISAMPLE disabled: the picture of a frame without samples, and no
// pixel left split.
TEST_P(SampleCounts, DrawWithoutMultisamplingCoversWholePixelsByTheirCentres)
{
    const int samples = GetParam();
    const std::vector<RasterVertex> tiles = tiledRectangle(7, 3.03125, 4.03125, 41.96875, 43.96875);
    CpuFrame single = clearedFrame(0, kBlack);
    CpuFrame multi = clearedFrame(samples, kBlack);
    Paint paint;
    paint.color = kRed;
    paint.multisample = false;
    draw(single, tiles, paint);
    draw(multi, tiles, paint);
    for (int p = 0; p < kSide * kSide; ++p) {
        ASSERT_EQ(multi.Pixels()[p], single.Pixels()[p]) << p % kSide << "," << p / kSide;
        ASSERT_TRUE(samples == 0 || !multi.Split().Test(p % kSide, p / kSide));
    }
}

// Triangles wholly beside the frame, flat edges among them (a flat edge
// empties a sample row's span where the row lies beyond it), leave every
// sample as it was: a span running on past a row's end would paint the
// start of the next row (or past the frame, at its last row).
TEST_P(SampleCounts, TrianglesBesideTheFrameTouchNothing)
{
    CpuFrame frame = clearedFrame(GetParam(), kBlack);
    Paint paint;
    paint.color = kRed;
    std::vector<RasterVertex> beside;
    const float right = kSide + 3.0f, far = kSide + 140.0f, left = -140.0f, near = -3.0f;
    for (int k = 0; k < 16; ++k) {
        const float y = 2.0f + 2.5f * k + k / 16.0f;
        // Flat tops and flat bottoms, right of the frame and left of it.
        beside.insert(beside.end(), {{right, y, 0, 0}, {far, y, 0, 0}, {(right + far) / 2, y + 2.3f, 0, 0},
                                     {right, y, 0, 0}, {far, y, 0, 0}, {(right + far) / 2, y - 2.3f, 0, 0},
                                     {left, y, 0, 0}, {near, y, 0, 0}, {(left + near) / 2, y + 2.3f, 0, 0}});
    }
    for (const bool multisample : {true, false}) {
        paint.multisample = multisample;
        draw(frame, beside, paint);
    }
    const int samples = std::max(1, frame.Samples());
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            for (int s = 0; s < samples; ++s)
                ASSERT_EQ(sampleColor(frame, x, y, s), kBlack) << x << "," << y << " sample " << s;
}

INSTANTIATE_TEST_SUITE_P(Patterns, SampleCounts, testing::Values(0, 2, 4, 8));

// Shapes as the backend hands them over: fans, strips, clipped pieces.
std::vector<RasterVertex> fanDisc(float cx, float cy, float r, int n)
{
    std::vector<RasterVertex> out;
    for (int i = 0; i < n; ++i) {
        const double a0 = 2 * M_PI * i / n, a1 = 2 * M_PI * (i + 1) / n;
        out.insert(out.end(), {{cx, cy, 0, 0},
                               {cx + r * static_cast<float>(std::cos(a0)), cy + r * static_cast<float>(std::sin(a0)), 0, 0},
                               {cx + r * static_cast<float>(std::cos(a1)), cy + r * static_cast<float>(std::sin(a1)), 0, 0}});
    }
    return out;
}

std::vector<RasterVertex> clippedTiles()
{
    const std::vector<RasterVertex> tiles = tiledRectangle(5, 3.03125, 4.03125, 41.96875, 43.96875);
    const cpu::HalfPlane cut{1.0, -0.6, -3.1};
    std::vector<RasterVertex> out;
    for (size_t i = 0; i < tiles.size(); i += 3) {
        RasterVertex polygon[cpu::kMaxClippedVertices];
        const int corners = cpu::clipTriangle(&tiles[i], &cut, 1, polygon);
        for (int k = 1; k + 1 < corners; ++k)
            out.insert(out.end(), {polygon[0], polygon[k], polygon[k + 1]});
    }
    return out;
}

// A strip folding over itself: samples covered two and three times.
std::vector<RasterVertex> foldedStrip()
{
    const RasterVertex points[] = {{5.2f, 5.1f, 0, 0},   {40.7f, 8.3f, 0, 0}, {8.4f, 40.2f, 0, 0},
                                   {42.1f, 38.6f, 0, 0}, {6.3f, 20.7f, 0, 0}, {30.5f, 44.9f, 0, 0},
                                   {47.5f, 2.5f, 0, 0}};
    std::vector<RasterVertex> out;
    for (size_t i = 0; i + 2 < std::size(points); ++i)
        out.insert(out.end(), {points[i], points[i + 1], points[i + 2]});
    return out;
}

// A ring as a strip between two circles: most rows cross it twice. A thin
// one puts both of a side's edges into one pixel, where some samples lie
// between them and others do not.
std::vector<RasterVertex> ringStrip(float cx, float cy, float inner, float outer, int n)
{
    std::vector<RasterVertex> points;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * M_PI * i / n;
        const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
        points.push_back({cx + outer * c, cy + outer * s, 0, 0});
        points.push_back({cx + inner * c, cy + inner * s, 0, 0});
    }
    std::vector<RasterVertex> out;
    for (size_t i = 0; i + 2 < points.size(); ++i)
        out.insert(out.end(), {points[i], points[i + 1], points[i + 2]});
    return out;
}

// Two discs in one draw, overlapping and apart.
std::vector<RasterVertex> twoDiscs()
{
    std::vector<RasterVertex> out = fanDisc(14.2f, 20.6f, 10.4f, 24);
    const std::vector<RasterVertex> second = fanDisc(31.7f, 26.3f, 12.1f, 24);
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

enum class ShapePaint { Opaque, Translucent, Centres, Stencil };

class ShapeScan : public testing::TestWithParam<std::tuple<int, int, ShapePaint>> {};

// A draw's triangles drawn as one shape give, sample for sample, what
// drawing them one by one gives (the GL's picture): no seam where shared
// edges are dropped, overlaps blended as often as they are covered, the
// frame's borders kept.
TEST_P(ShapeScan, GivesTheSamplesOfItsTrianglesDrawnOneByOne)
{
    const auto [samples, shapeIndex, kind] = GetParam();
    const std::vector<RasterVertex> shapes[] = {fanDisc(23.7f, 24.2f, 19.3f, 48), fanDisc(3.3f, 44.1f, 9.6f, 13),
                                                clippedTiles(), foldedStrip(),
                                                ringStrip(24.3f, 23.8f, 12.6f, 21.2f, 40),
                                                ringStrip(40.1f, 22.7f, 15.05f, 15.4f, 36), twoDiscs()};
    const std::vector<RasterVertex>& triangles = shapes[shapeIndex];
    Paint paint;
    paint.color = kind == ShapePaint::Opaque ? kRed : cpu::packRgba(40, 200, 90, 100);
    paint.blend = kind != ShapePaint::Opaque;
    paint.multisample = kind != ShapePaint::Centres;
    if (kind == ShapePaint::Stencil) {
        paint.stencil = cpu::StencilMode::Write;
        paint.stencilRef = 1;
    }
    CpuFrame shape = clearedFrame(samples, kBlue);
    std::vector<cpu::ShapeEdge> edges;
    cpu::appendShapeEdges(triangles.data(), static_cast<int>(triangles.size()), edges);
    cpu::ShapeScratch scratch;
    // In two bands, as threads draw it.
    cpu::rasterShape(shape, edges.data(), edges.size(), paint, 0, kSide / 3, scratch);
    cpu::rasterShape(shape, edges.data(), edges.size(), paint, kSide / 3, kSide, scratch);
    CpuFrame reference = clearedFrame(samples, kBlue);
    draw(reference, triangles, paint);
    if (kind == ShapePaint::Stencil) {
        const std::vector<RasterVertex> whole = {{0, 0, 0, 0}, {kSide, 0, 0, 0}, {0, kSide, 0, 0},
                                                 {kSide, 0, 0, 0}, {kSide, kSide, 0, 0}, {0, kSide, 0, 0}};
        Paint through;
        through.color = kRed;
        through.stencil = cpu::StencilMode::Test;
        through.stencilRef = 1;
        draw(shape, whole, through);
        draw(reference, whole, through);
    }
    // Fewer edges than the triangles have: shared ones are gone.
    EXPECT_LT(edges.size(), triangles.size());
    const int count = samples == 0 ? 1 : samples;
    int drawn = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            for (int s = 0; s < count; ++s)
                ASSERT_EQ(sampleColor(shape, x, y, s), sampleColor(reference, x, y, s))
                    << "pixel " << x << "," << y << " sample " << s;
            ASSERT_EQ(shape.Pixels()[y * kSide + x], reference.Pixels()[y * kSide + x]) << x << "," << y;
            drawn += shape.Pixels()[y * kSide + x] != kBlue;
        }
    EXPECT_GT(drawn, 0);
}

INSTANTIATE_TEST_SUITE_P(Draws, ShapeScan,
                         testing::Combine(testing::Values(0, 2, 4, 8), testing::Range(0, 7),
                                          testing::Values(ShapePaint::Opaque, ShapePaint::Translucent,
                                                          ShapePaint::Centres, ShapePaint::Stencil)));

// Clearing a span of split flags clears exactly its pixels, within a word
// and across words, and leaves the rows around it alone.
TEST(CpuSplitFlags, ClearingASpanClearsExactlyItsPixels)
{
    constexpr int kWidth = 200, kHeight = 3;
    const std::pair<int, int> spans[] = {{3, 5}, {0, 64}, {60, 130}, {63, 65}, {128, 200}, {190, 191}, {7, 7}};
    for (const auto& [x0, x1] : spans) {
        cpu::SplitFlags flags;
        flags.Resize(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                flags.Set(x, y, true);
        flags.ClearSpan(1, x0, x1);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                ASSERT_EQ(flags.Test(x, y), y != 1 || x < x0 || x >= x1) << "span " << x0 << "-" << x1 << " at " << x << "," << y;
    }
}

// Shapes moved down by dy rows.
std::vector<RasterVertex> movedDown(std::vector<RasterVertex> triangles, float dy)
{
    for (RasterVertex& v : triangles)
        v.y += dy;
    return triangles;
}

class ThreadCounts : public testing::TestWithParam<int> {};

// Threads draw bands of rows; the picture, samples and stencil included, is
// the same for any count: shapes crossing bands, rings, overlaps, a stencil
// mask drawn through, a textured quad.
TEST_P(ThreadCounts, PictureDoesNotDependOnThreadCount)
{
    const int samples = GetParam();
    constexpr int kTall = 5 * kSide;
    cpu::CpuTexture texture;
    const uint8_t texels[] = {0, 90, 255, 40, 200, 255, 0, 130, 60};
    texture.Define(cpu::TexelFormat::Alpha, 3, 3, texels);
    texture.filter = cpu::TextureFilter::Linear;
    std::vector<uint32_t> first, firstSamples;
    for (int threads : {1, 2, 3, 4}) {
        cpu::BandPool pool;
        pool.SetThreads(threads);
        CpuFrame frame;
        ASSERT_TRUE(frame.Resize(kSide, kTall, samples));
        cpu::DrawList list;
        list.Clear(true, kBlack, true, 0);
        Paint translucent;
        translucent.color = cpu::packRgba(40, 200, 90, 100);
        translucent.blend = true;
        for (unsigned seed = 1; seed <= 3; ++seed) {
            const std::vector<RasterVertex> tiles = tiledRectangle(seed, 1.1 * seed, 2.2, 40.3, 45.6 - seed);
            list.Triangles(tiles.data(), static_cast<int>(tiles.size()), translucent);
        }
        Paint mask;
        mask.stencil = cpu::StencilMode::Write;
        mask.stencilRef = 1;
        const std::vector<RasterVertex> disc = fanDisc(24.1f, 80.3f, 30.2f, 48);
        list.Triangles(disc.data(), static_cast<int>(disc.size()), mask);
        Paint through;
        through.color = kRed;
        through.stencil = cpu::StencilMode::Test;
        through.stencilRef = 1;
        const std::vector<RasterVertex> ring = movedDown(ringStrip(24.3f, 23.8f, 12.6f, 21.2f, 40), 60.0f);
        list.Triangles(ring.data(), static_cast<int>(ring.size()), through);
        const std::vector<RasterVertex> discs = movedDown(twoDiscs(), 140.0f);
        list.Triangles(discs.data(), static_cast<int>(discs.size()), translucent);
        Paint textured = translucent;
        textured.texture = &texture;
        const std::vector<RasterVertex> quad = {{3.2f, 170.4f, 0, 0},  {44.7f, 175.1f, 1, 0}, {6.1f, 230.8f, 0, 1},
                                                {44.7f, 175.1f, 1, 0}, {41.9f, 236.6f, 1, 1}, {6.1f, 230.8f, 0, 1}};
        list.Triangles(quad.data(), static_cast<int>(quad.size()), textured);
        list.Execute(frame, pool);
        std::vector<uint32_t> pixels(frame.Pixels(), frame.Pixels() + kSide * kTall), sampleColors;
        for (int y = 0; y < kTall; ++y)
            for (int x = 0; x < kSide; ++x)
                for (int s = 0; s < frame.Pattern().count; ++s)
                    sampleColors.push_back(sampleColor(frame, x, y, s));
        if (first.empty()) {
            first = pixels;
            firstSamples = sampleColors;
            // Every part drew something.
            for (int y : {20, 65, 160, 200})
                EXPECT_NE(pixels[static_cast<size_t>(y) * kSide + 24], kBlack) << "row " << y;
        } else {
            EXPECT_EQ(pixels, first) << threads << " threads";
            EXPECT_EQ(sampleColors, firstSamples) << threads << " threads";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, ThreadCounts, testing::Values(0, 2, 4, 8, cpu::kExactCoverage));

struct SampleCase {
    const char* name;
    cpu::TextureFilter filter;
    cpu::TextureWrap wrap;
    float s;
    uint32_t alpha;
};

class TextureSampling : public testing::TestWithParam<SampleCase> {};

// A 4-texel pattern 0, 255, 255, 200 sampled as the GL samples it.
TEST_P(TextureSampling, PatternTexelsAsTheGlFiltersThem)
{
    const SampleCase& c = GetParam();
    const uint8_t texels[] = {0, 255, 255, 200};
    cpu::CpuTexture texture;
    texture.Define(cpu::TexelFormat::Alpha, 4, 1, texels);
    texture.oneDimensional = true;
    texture.filter = c.filter;
    texture.wrap = c.wrap;
    EXPECT_EQ(texture.SampleAlpha(c.s, 0.9f), c.alpha) << c.name;
}

using cpu::TextureFilter;
using cpu::TextureWrap;
INSTANTIATE_TEST_SUITE_P(
    Cases, TextureSampling,
    testing::Values(SampleCase{"nearest inside", TextureFilter::Nearest, TextureWrap::Clamp, 0.3f, 255},
                    SampleCase{"nearest past the end clamps", TextureFilter::Nearest, TextureWrap::Clamp, 1.7f, 200},
                    SampleCase{"nearest repeats", TextureFilter::Nearest, TextureWrap::Repeat, 1.3f, 255},
                    SampleCase{"nearest repeats below 0", TextureFilter::Nearest, TextureWrap::Repeat, -0.6f, 255},
                    SampleCase{"linear between texels", TextureFilter::Linear, TextureWrap::Clamp, 0.25f, 128},
                    SampleCase{"linear at a texel centre", TextureFilter::Linear, TextureWrap::Clamp, 0.375f, 255},
                    SampleCase{"linear clamp edge takes the border", TextureFilter::Linear, TextureWrap::Clamp,
                               1.0f, 100},
                    SampleCase{"linear repeat wraps to the far texel", TextureFilter::Linear, TextureWrap::Repeat,
                               0.0f, 100},
                    SampleCase{"linear repeat past the end", TextureFilter::Linear, TextureWrap::Repeat, 1.25f,
                               128}),
    [](const testing::TestParamInfo<SampleCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// An image drawn one texel a pixel, as grImage draws it, arrives texel for
// texel, tinted by the colour it is modulated with, blended by its alpha.
TEST(CpuTexture, ImageQuadIsCopiedTexelForTexelAndBlended)
{
    constexpr int kImage = 8;
    std::vector<uint32_t> texels(kImage * kImage);
    for (int i = 0; i < kImage * kImage; ++i)
        texels[i] = cpu::packRgba(i * 3, 255 - i * 2, i * 4 % 256, i % 2 ? 255 : 51);
    cpu::CpuTexture texture;
    texture.Define(cpu::TexelFormat::Rgba, kImage, kImage, texels.data());
    CpuFrame frame = clearedFrame(0, kBlack);
    Paint paint;
    paint.color = cpu::packRgba(255, 255, 255, 255);
    paint.texture = &texture;
    paint.blend = true;
    const float x0 = 10, y0 = 20, x1 = x0 + kImage, y1 = y0 + kImage;
    const std::vector<RasterVertex> quad = {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x0, y1, 0, 1},
                                            {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x0, y1, 0, 1}};
    draw(frame, quad, paint);
    for (int j = 0; j < kImage; ++j)
        for (int i = 0; i < kImage; ++i) {
            const uint32_t texel = texels[j * kImage + i];
            ASSERT_EQ(frame.Pixels()[(20 + j) * kSide + 10 + i] & 0xFFFFFF,
                      cpu::blendOver(texel, kBlack) & 0xFFFFFF)
                << i << "," << j;
        }
}

// A blended glyph (an upright alpha texture, linearly filtered, off whole
// texels) is written a span at a time with the stencil off; with a stencil
// test every sample passes it takes the writer's general path. Both give
// the same samples over a background whose edge pixels are split, at the
// glyph's edges (partly covered pixels) and across its transparent texels.
TEST_P(SampleCounts, GlyphSpansEqualTheGeneralPath)
{
    constexpr int kGlyph = 12;
    std::mt19937 random(7);
    std::vector<uint8_t> texels(kGlyph * kGlyph);
    for (uint8_t& texel : texels)
        texel = random() % 3 == 0 ? 0 : static_cast<uint8_t>(random());
    cpu::CpuTexture texture;
    texture.Define(cpu::TexelFormat::Alpha, kGlyph, kGlyph, texels.data());
    texture.filter = cpu::TextureFilter::Linear;
    const float x0 = 5.3f, y0 = 6.6f, x1 = 40.7f, y1 = 41.2f;
    const std::vector<RasterVertex> quad = {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x0, y1, 0, 1},
                                            {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x0, y1, 0, 1}};
    CpuFrame frames[2] = {clearedFrame(GetParam(), kBlack), clearedFrame(GetParam(), kBlack)};
    for (int general = 0; general < 2; ++general) {
        CpuFrame& frame = frames[general];
        Paint background;
        background.color = cpu::packRgba(30, 200, 90, 255);
        draw(frame, tiledRectangle(3, 9.4, 2.2, 30.6, 35.9), background);
        Paint glyph;
        glyph.color = cpu::packRgba(250, 240, 20, 220);
        glyph.texture = &texture;
        glyph.blend = true;
        glyph.stencil = general ? cpu::StencilMode::Test : cpu::StencilMode::Off;
        draw(frame, quad, glyph);
    }
    const int samples = std::max(GetParam(), 1);
    int changed = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            ASSERT_EQ(frames[0].Pixels()[y * kSide + x], frames[1].Pixels()[y * kSide + x]) << x << "," << y;
            for (int s = 0; s < samples; ++s)
                ASSERT_EQ(sampleColor(frames[0], x, y, s), sampleColor(frames[1], x, y, s)) << x << "," << y;
            changed += frames[0].Pixels()[y * kSide + x] != kBlack;
        }
    EXPECT_GT(changed, kSide * kSide / 2);
}

// Quads whose two triangles form an axis-aligned rectangle are drawn as
// one rectangle at one sample a pixel. rasterTriangles gives, sample for
// sample and stencil value for value, what drawing the triangles one by
// one gives: corners on pixel centres (where the fill rule decides), off
// them, beside the frame's borders; both diagonals and windings; a glyph
// (upright alpha, linear), an image (RGBA, nearest), a sheared texture
// (not upright), a warped one (a plane a half) and a pair that is no
// rectangle; blended, stencil-tested, stencil-written; in two bands.
TEST_P(SampleCounts, QuadsDrawnTogetherEqualTheirTrianglesOneByOne)
{
    const int samples = GetParam();
    std::mt19937 random(11);
    std::vector<uint8_t> alphas(9 * 7);
    for (uint8_t& texel : alphas)
        texel = random() % 3 == 0 ? 0 : static_cast<uint8_t>(random());
    cpu::CpuTexture glyph;
    glyph.Define(cpu::TexelFormat::Alpha, 9, 7, alphas.data());
    glyph.filter = cpu::TextureFilter::Linear;
    std::vector<uint32_t> colors(5 * 6);
    for (uint32_t& texel : colors)
        texel = static_cast<uint32_t>(random());
    cpu::CpuTexture image;
    image.Define(cpu::TexelFormat::Rgba, 5, 6, colors.data());
    // Corners on whole pixels, on pixel centres, on sixteenths, anywhere.
    auto coordinate = [&](int step) {
        const float whole = static_cast<float>(static_cast<int>(random() % (kSide + 8)) - 4);
        switch (step % 4) {
        case 0:
            return whole;
        case 1:
            return whole + 0.5f;
        case 2:
            return whole + static_cast<float>(random() % 16) / 16.0f;
        default:
            return whole + static_cast<float>(random() % 1000) / 1000.0f;
        }
    };
    std::vector<RasterVertex> quads;
    for (int q = 0; q < 24; ++q) {
        float x0 = coordinate(q), x1 = coordinate(q / 4), y0 = coordinate(q + 1), y1 = coordinate(q / 4 + 2);
        if (x0 == x1 || y0 == y1)
            continue;
        const RasterVertex tl{x0, y0, 0, 0}, tr{x1, y0, 1, 0}, bl{x0, y1, 0, 1}, br{x1, y1, 1, 1};
        switch (q % 4) {
        case 0:  // as glyphs are laid out
            quads.insert(quads.end(), {bl, tl, tr, bl, tr, br});
            break;
        case 1:  // as images are
            quads.insert(quads.end(), {tl, tr, bl, tr, br, bl});
            break;
        case 2:  // the other diagonal, the other winding
            quads.insert(quads.end(), {tl, br, tr, br, tl, bl});
            break;
        default:  // no rectangle: the second half mirrored
            quads.insert(quads.end(), {tl, tr, bl, tr, {x1, y1 + 1.5f, 1, 1}, bl});
            break;
        }
    }
    // Sheared: one plane, not upright. Warped: a plane a half.
    std::vector<RasterVertex> sheared = quads, warped = quads;
    for (RasterVertex& v : sheared)
        v.s += v.t * 0.25f;
    for (RasterVertex& v : warped)
        v.s = v.s == 1 && v.t == 1 ? 0.8f : v.s;
    for (int kind = 0; kind < 5; ++kind)
        for (bool multisample : {false, true}) {
            Paint paint;
            paint.color = cpu::packRgba(250, 240, 20, 200);
            paint.blend = true;
            paint.multisample = multisample;
            paint.texture = kind == 1 ? &image : &glyph;
            paint.stencil = kind == 2 ? cpu::StencilMode::Test : cpu::StencilMode::Off;
            paint.stencilRef = 1;
            Paint mask = paint;
            mask.stencil = cpu::StencilMode::Write;
            const std::vector<RasterVertex>& triangles = kind == 3 ? sheared : (kind == 4 ? warped : quads);
            CpuFrame frames[2] = {clearedFrame(samples, kBlue), clearedFrame(samples, kBlue)};
            for (int together = 0; together < 2; ++together) {
                CpuFrame& frame = frames[together];
                for (const Paint* p : {&mask, &paint}) {
                    if (!together) {
                        draw(frame, triangles, *p);
                        continue;
                    }
                    cpu::rasterTriangles(frame, triangles.data(), triangles.size(), *p, 0, kSide / 3);
                    cpu::rasterTriangles(frame, triangles.data(), triangles.size(), *p, kSide / 3, kSide);
                }
            }
            const int count = std::max(samples, 1);
            int drawn = 0;
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x) {
                    const size_t p = static_cast<size_t>(y) * kSide + x;
                    for (int s = 0; s < count; ++s) {
                        ASSERT_EQ(sampleColor(frames[1], x, y, s), sampleColor(frames[0], x, y, s))
                            << "kind " << kind << " pixel " << x << "," << y << " sample " << s;
                        ASSERT_EQ(frames[1].Stencil()[p * count + s], frames[0].Stencil()[p * count + s])
                            << "kind " << kind << " pixel " << x << "," << y << " sample " << s;
                    }
                    ASSERT_EQ(frames[1].Pixels()[p], frames[0].Pixels()[p]) << "kind " << kind << " " << x << "," << y;
                    drawn += frames[0].Pixels()[p] != kBlue;
                }
            EXPECT_GT(drawn, kSide * kSide / 4) << "kind " << kind;
        }
}

// Blending and modulation round as the GL's unorm arithmetic does: to the
// nearest level of the exact product.
TEST(CpuPixelOps, BlendAndModulateRoundToTheNearestLevel)
{
    for (uint32_t a = 0; a < 256; a += 3)
        for (uint32_t s = 0; s < 256; s += 5)
            for (uint32_t d = 0; d < 256; d += 7) {
                const uint32_t out = cpu::blendOver(cpu::packRgba(s, 0, s, a), cpu::packRgba(d, d, 0, 255));
                const auto round = [](double v) { return static_cast<uint32_t>(std::lround(v)); };
                ASSERT_EQ(out & 0xFF, round((s * a + d * (255.0 - a)) / 255.0)) << s << " " << d << " " << a;
                ASSERT_EQ(out >> 8 & 0xFF, round(d * (255.0 - a) / 255.0));
                ASSERT_EQ(out >> 16 & 0xFF, round(s * a / 255.0));
                ASSERT_EQ(cpu::modulate(cpu::packRgba(s, d, a, 255), cpu::packRgba(d, a, s, 255)) & 0xFFFFFF,
                          cpu::packRgba(round(s * d / 255.0), round(d * a / 255.0), round(a * s / 255.0), 0));
            }
}

// A split pixel's samples merged with a fragment in registers give, to the
// bit, what blending each covered sample and averaging them gives: every
// alpha class (0, 255, between), replacing or blending, any mask.
template <int F>
void expectMergeMatchesScalar()
{
    std::mt19937 random(F);
    const uint32_t alphas[] = {0, 1, 128, 254, 255};
    for (int round = 0; round < 20000; ++round) {
        uint32_t samples[F], expected[F];
        for (int s = 0; s < F; ++s)
            samples[s] = round % 7 == 0 ? 0x80402010u : static_cast<uint32_t>(random());
        const uint32_t src = cpu::withAlpha(static_cast<uint32_t>(random()),
                                            round % 2 ? alphas[round / 2 % 5] : static_cast<uint32_t>(random() & 0xFF));
        const uint32_t mask = static_cast<uint32_t>(random()) & ((1u << F) - 1);
        const bool opaque = round % 3 == 0;
        bool uniform = true;
        for (int s = 0; s < F; ++s) {
            expected[s] = mask >> s & 1 ? (opaque ? src : cpu::blendOver(src, samples[s])) : samples[s];
            uniform = uniform && expected[s] == expected[0];
        }
        const cpu::Merged merged = cpu::mergeSamples<F>(samples, src, mask, opaque);
        for (int s = 0; s < F; ++s)
            ASSERT_EQ(samples[s], expected[s]) << "round " << round << " sample " << s;
        ASSERT_EQ(merged.uniform, uniform) << "round " << round;
        ASSERT_EQ(merged.color, uniform ? expected[0] : cpu::averageSamples(expected, F, F == 8 ? 3 : 2))
            << "round " << round;
    }
}

TEST(CpuPixelOps, MergedSamplesEqualBlendingEachSample)
{
    expectMergeMatchesScalar<4>();
    expectMergeMatchesScalar<8>();
}

#if defined(__SSE2__)
// The SIMD mix of exact coverage's runs gives the scalar path's levels for
// every pair of channel values and every weight, and with the colour's
// alpha as weight it is the blend.
TEST(CpuPixelOps, MixedLanesEqualTheScalarMix)
{
    int wrong = 0;
    for (uint32_t w = 0; w < 256; ++w) {
        const __m128i weight = _mm_set1_epi16(static_cast<short>(w));
        for (uint32_t a = 0; a < 256; ++a) {
            for (uint32_t b = 0; b < 256; b += 8) {
                alignas(16) uint16_t as[8], bs[8], out[8];
                for (uint32_t i = 0; i < 8; ++i) {
                    as[i] = static_cast<uint16_t>(a);
                    bs[i] = static_cast<uint16_t>(b + i);
                }
                _mm_store_si128(reinterpret_cast<__m128i*>(out),
                                cpu::mixEpi16(_mm_load_si128(reinterpret_cast<const __m128i*>(as)),
                                         _mm_load_si128(reinterpret_cast<const __m128i*>(bs)), weight));
                for (uint32_t i = 0; i < 8; ++i)
                    wrong += out[i] != (cpu::mixBytes(a, b + i, w) & 0xFF);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    for (uint32_t alpha : {0u, 1u, 128u, 254u, 255u}) {
        const uint32_t src = cpu::packRgba(200, 17, 255, alpha), dst = cpu::packRgba(3, 250, 90, 128);
        const __m128i zero = _mm_setzero_si128();
        const __m128i mixed = cpu::mixEpi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(src)), zero),
                                       _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(dst)), zero),
                                       _mm_set1_epi16(static_cast<short>(alpha)));
        EXPECT_EQ(static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(mixed, zero))), cpu::blendOver(src, dst))
            << "alpha " << alpha;
    }
}

// A colour blended through four glyph texels at once gives each pixel what
// blending it alone gives: every colour alpha, every texel value.
TEST(CpuPixelOps, CoverageBlendedOverFourPixelsEqualsEachBlended)
{
    std::mt19937 random(5);
    int wrong = 0;
    for (uint32_t alpha = 0; alpha < 256; ++alpha)
        for (uint32_t texel = 0; texel < 256; texel += 4) {
            const uint32_t rgb = static_cast<uint32_t>(random());
            uint32_t pixels[4], expected[4];
            alignas(16) uint16_t coverage[8] = {};
            for (uint32_t i = 0; i < 4; ++i) {
                pixels[i] = static_cast<uint32_t>(random());
                coverage[i] = static_cast<uint16_t>(texel + i);
                const auto source = static_cast<uint32_t>(std::lround(alpha * (texel + i) / 255.0));
                expected[i] = cpu::blendOver(cpu::withAlpha(rgb, source), pixels[i]);
            }
            cpu::blendCoverageOverFour(pixels, rgb, alpha, _mm_load_si128(reinterpret_cast<const __m128i*>(coverage)));
            for (uint32_t i = 0; i < 4; ++i)
                wrong += pixels[i] != expected[i];
        }
    EXPECT_EQ(wrong, 0);
}
#endif

}  // namespace
