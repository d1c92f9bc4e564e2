// The CPU backend's exact coverage against a reference drawn by the same
// backend 16 times larger with centre sampling and averaged over each
// 16 x 16 block (256 samples a pixel on a regular grid), on thin lines at
// many angles, discs and rings; and a steady frame that allocates nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "backends/cpu/band_pool.h"
#include "backends/cpu/draw_list.h"
#include "backends/cpu/pixel_ops.h"
#include "counting_allocator.h"

namespace {

using cpu::CpuFrame;
using cpu::Paint;
using cpu::RasterVertex;

constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr int kScale = 16;
constexpr uint32_t kBlack = cpu::packRgba(0, 0, 0, 255);
constexpr uint32_t kWhite = cpu::packRgba(255, 255, 255, 255);

using Triangles = std::vector<RasterVertex>;

// A bar of the given width from (x0, y0) to (x1, y1), as two triangles.
Triangles bar(double x0, double y0, double x1, double y1, double width)
{
    const double length = std::hypot(x1 - x0, y1 - y0);
    const double nx = -(y1 - y0) / length * width / 2, ny = (x1 - x0) / length * width / 2;
    auto at = [](double x, double y) { return RasterVertex{static_cast<float>(x), static_cast<float>(y), 0, 0}; };
    const RasterVertex a = at(x0 + nx, y0 + ny), b = at(x1 + nx, y1 + ny), c = at(x1 - nx, y1 - ny),
                       d = at(x0 - nx, y0 - ny);
    return {a, b, c, a, c, d};
}

Triangles fanDisc(double cx, double cy, double r, int n)
{
    Triangles out;
    for (int i = 0; i < n; ++i) {
        const double a0 = 2 * M_PI * i / n, a1 = 2 * M_PI * (i + 1) / n;
        out.push_back({static_cast<float>(cx), static_cast<float>(cy), 0, 0});
        out.push_back({static_cast<float>(cx + r * std::cos(a0)), static_cast<float>(cy + r * std::sin(a0)), 0, 0});
        out.push_back({static_cast<float>(cx + r * std::cos(a1)), static_cast<float>(cy + r * std::sin(a1)), 0, 0});
    }
    return out;
}

Triangles ringStrip(double cx, double cy, double inner, double outer, int n)
{
    std::vector<RasterVertex> points;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * M_PI * i / n;
        for (double r : {outer, inner})
            points.push_back({static_cast<float>(cx + r * std::cos(a)), static_cast<float>(cy + r * std::sin(a)), 0, 0});
    }
    Triangles out;
    for (size_t i = 0; i + 2 < points.size(); ++i)
        out.insert(out.end(), {points[i], points[i + 1], points[i + 2]});
    return out;
}

// Each a draw of its own, none overlapping another or itself.
std::vector<Triangles> scene(const char* name)
{
    std::vector<Triangles> draws;
    const std::string which = name;
    if (which == "lines") {
        // 24 angles over half a turn, widths 0.4, 1 and 2.3 pixels.
        for (int i = 0; i < 24; ++i) {
            const double angle = M_PI * i / 24, cx = 8.3 + (i % 6) * 15.9, cy = 8.1 + (i / 6) * 15.2;
            const double width = i % 3 == 0 ? 0.4 : (i % 3 == 1 ? 1.0 : 2.3);
            draws.push_back(bar(cx - 6.1 * std::cos(angle), cy - 6.1 * std::sin(angle), cx + 6.1 * std::cos(angle),
                                cy + 6.1 * std::sin(angle), width));
        }
    } else if (which == "discs") {
        draws.push_back(fanDisc(20.37, 30.81, 17.6, 64));
        draws.push_back(fanDisc(52.5, 14.25, 4.3, 24));
        draws.push_back(fanDisc(52.9, 41.6, 1.7, 12));
        draws.push_back(ringStrip(78.2, 33.4, 9.1, 15.7, 48));
    } else {
        // Reaching past every border of the frame.
        draws.push_back(fanDisc(3.4, 60.2, 11.3, 32));
        draws.push_back(bar(-20.3, 20.7, 130.1, 34.9, 5.3));
        draws.push_back(fanDisc(93.6, 4.1, 9.8, 32));
    }
    return draws;
}

std::vector<uint32_t> render(int width, int height, int samples, double scale, const std::vector<Triangles>& draws,
                             int threads)
{
    CpuFrame frame;
    EXPECT_TRUE(frame.Resize(width, height, samples));
    cpu::BandPool pool;
    pool.SetThreads(threads);
    cpu::DrawList list;
    list.Clear(true, kBlack, true, 0);
    Paint white;
    white.color = kWhite;
    for (const Triangles& draw : draws) {
        Triangles scaled = draw;
        for (RasterVertex& v : scaled) {
            v.x = static_cast<float>(v.x * scale);
            v.y = static_cast<float>(v.y * scale);
        }
        list.Triangles(scaled.data(), static_cast<int>(scaled.size()), white);
    }
    list.Execute(frame, pool);
    return std::vector<uint32_t>(frame.Pixels(), frame.Pixels() + static_cast<size_t>(width) * height);
}

class ExactCoverage : public testing::TestWithParam<const char*> {};

// The reference's own error for an edge crossing a pixel is at most one
// row or column of its 16 x 16 samples: 16 of 256, 16 levels. A pixel of a
// thin bar is crossed by two edges, whose errors rarely add up (6 levels at
// most measured here), so 16 levels bound any pixel; over the frame the
// errors cancel, and the mean stays under a quarter of a level (measured:
// 0.03 to 0.07). A coverage off by a sliver of an edge fails both.
TEST_P(ExactCoverage, MatchesSixteenBySixteenSamples)
{
    const std::vector<Triangles> draws = scene(GetParam());
    const std::vector<uint32_t> exact = render(kWidth, kHeight, cpu::kExactCoverage, 1.0, draws, 1);
    const std::vector<uint32_t> big = render(kWidth * kScale, kHeight * kScale, 0, kScale, draws, 2);
    int worst = 0;
    long total = 0, partial = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            int covered = 0;
            for (int j = 0; j < kScale; ++j)
                for (int i = 0; i < kScale; ++i)
                    covered += (big[static_cast<size_t>(y * kScale + j) * kWidth * kScale + x * kScale + i] & 0xFF) != 0;
            const int reference = (covered * 255 + 128) / 256;
            const uint32_t pixel = exact[static_cast<size_t>(y) * kWidth + x];
            const int level = static_cast<int>(pixel & 0xFF);
            ASSERT_EQ(pixel, cpu::packRgba(level, level, level, 255)) << x << ", " << y;
            const int difference = std::abs(level - reference);
            worst = std::max(worst, difference);
            total += difference;
            partial += level != 0 && level != 255;
        }
    EXPECT_LE(worst, 16);
    EXPECT_LT(static_cast<double>(total) / (kWidth * kHeight), 0.25);
    EXPECT_GT(partial, 100) << "edges drew partly covered pixels";
}

INSTANTIATE_TEST_SUITE_P(Shapes, ExactCoverage, testing::Values("lines", "discs", "borders"));

// A draw's triangles overlapping one another blend once where the GL, at
// any sample count, blends once for each.
TEST(ExactCoverageOverlaps, ADrawBlendsOncePerPixel)
{
    Triangles twice = fanDisc(30.2, 30.7, 12.3, 32);
    const Triangles again = fanDisc(33.1, 29.4, 12.3, 32);
    twice.insert(twice.end(), again.begin(), again.end());
    CpuFrame frame;
    ASSERT_TRUE(frame.Resize(kWidth, kHeight, cpu::kExactCoverage));
    cpu::BandPool pool;
    cpu::DrawList list;
    list.Clear(true, kBlack, true, 0);
    Paint translucent;
    translucent.color = cpu::packRgba(255, 255, 255, 128);
    translucent.blend = true;
    list.Triangles(twice.data(), static_cast<int>(twice.size()), translucent);
    list.Execute(frame, pool);
    const uint32_t once = cpu::blendOver(translucent.color, kBlack);
    EXPECT_EQ(frame.Pixels()[30 * kWidth + 31], once);  // inside both discs
    EXPECT_EQ(frame.Pixels()[30 * kWidth + 19], once);  // inside the first alone
}

// A background drawn right after the clear is not cleared under: the frame
// is the same, to the bit, as with the clear drawn alone first, for upright
// rectangles on pixel borders or between them, past the frame's borders,
// thinner than a pixel, wound either way, and for draws whose pixels
// depend on what was there (translucent, stencil-tested). The frame starts
// stale, so that a pixel left uncleared by mistake shows.
TEST(ExactCoverageClear, BackgroundAfterTheClearKeepsEveryPixel)
{
    auto rectangle = [](float x0, float y0, float x1, float y1) {
        return Triangles{{x0, y0, 0, 0}, {x1, y0, 0, 0}, {x1, y1, 0, 0}, {x0, y0, 0, 0}, {x1, y1, 0, 0}, {x0, y1, 0, 0}};
    };
    const Triangles reversed = {{70, 3, 0, 0}, {70.5f, 60, 0, 0}, {90, 60, 0, 0}};  // not upright: drawn as it is
    struct Case {
        Triangles triangles;
        uint32_t color;
        bool blend;
        cpu::StencilMode stencil;
    };
    const uint32_t grey = cpu::packRgba(120, 130, 140, 255);
    const std::vector<Case> cases = {
        {rectangle(8, 4, 88, 60), grey, false, cpu::StencilMode::Off},
        {rectangle(7.3f, 3.6f, 88.7f, 60.2f), grey, false, cpu::StencilMode::Off},
        {rectangle(-30.5f, -9.25f, 130.1f, 75.4f), grey, true, cpu::StencilMode::Off},
        {rectangle(88.7f, 60.2f, 7.3f, 3.6f), grey, false, cpu::StencilMode::Off},
        {rectangle(10.2f, 5.1f, 10.8f, 50.9f), grey, false, cpu::StencilMode::Off},
        {rectangle(7.3f, 3.6f, 88.7f, 60.2f), cpu::packRgba(120, 130, 140, 100), true, cpu::StencilMode::Off},
        {rectangle(7.3f, 3.6f, 88.7f, 60.2f), grey, false, cpu::StencilMode::Test},
        {reversed, grey, false, cpu::StencilMode::Off},
    };
    const Triangles disc = fanDisc(40.3, 30.2, 9.6, 24);
    for (size_t i = 0; i < cases.size(); ++i)
        for (int threads : {1, 3}) {
            const Case& c = cases[i];
            Paint paint;
            paint.color = c.color;
            paint.blend = c.blend;
            paint.stencil = c.stencil;
            paint.stencilRef = 1;  // the cleared stencil fails the test
            Paint white;
            white.color = kWhite;
            auto draw = [&](bool clearAlone) {
                CpuFrame frame;
                EXPECT_TRUE(frame.Resize(kWidth, kHeight, cpu::kExactCoverage));
                cpu::BandPool pool;
                pool.SetThreads(threads);
                cpu::DrawList list;
                list.Clear(true, cpu::packRgba(250, 10, 200, 255), true, 0);
                list.Execute(frame, pool);
                list.Clear(true, kBlack, true, 0);
                if (clearAlone)
                    list.Execute(frame, pool);
                list.Triangles(c.triangles.data(), static_cast<int>(c.triangles.size()), paint);
                list.Triangles(disc.data(), static_cast<int>(disc.size()), white);
                list.Execute(frame, pool);
                return std::vector<uint32_t>(frame.Pixels(), frame.Pixels() + kWidth * kHeight);
            };
            EXPECT_EQ(draw(false), draw(true)) << "case " << i << ", " << threads << " threads";
        }
}

// A steady frame (the same draws as the frame before) allocates nothing, on
// one thread and on several.
TEST(ExactCoverageMemory, SteadyFrameAllocatesNothing)
{
    if (allocationCount().allocations < 0)
        GTEST_SKIP() << "no counting allocator for this C library";
    std::vector<Triangles> draws = scene("lines");
    for (const Triangles& more : scene("discs"))
        draws.push_back(more);
    for (int threads : {1, 3}) {
        CpuFrame frame;
        ASSERT_TRUE(frame.Resize(kWidth * 4, kHeight * 4, cpu::kExactCoverage));
        cpu::BandPool pool;
        pool.SetThreads(threads);
        cpu::DrawList list;
        Paint paint;
        paint.color = cpu::packRgba(200, 120, 40, 180);
        paint.blend = true;
        auto frameOnce = [&] {
            list.Clear(true, kBlack, true, 0);
            for (const Triangles& draw : draws) {
                Triangles big = draw;
                for (RasterVertex& v : big) {
                    v.x *= 4;
                    v.y *= 4;
                }
                list.Triangles(big.data(), static_cast<int>(big.size()), paint);
            }
        };
        frameOnce();
        list.Execute(frame, pool);
        frameOnce();  // recording (the test's own copies) before counting
        const long long before = allocationCount().allocations;
        list.Execute(frame, pool);
        EXPECT_EQ(allocationCount().allocations - before, 0) << threads << " threads";
        EXPECT_NE(frame.Pixels()[(8 * 4) * kWidth * 4 + 8 * 4], kBlack) << "the frame drew";
    }
}

}  // namespace
