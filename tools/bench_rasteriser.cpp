// Rasteriser choice, measured: the CPU backend's scan converter against
// pixman's (what Cairo composites with) on the same triangles, shaped as
// the displays' are (filled discs and rings as fans and strips, thin
// rotated ticks, needles), at 778 x 1034. pixman rasterises each draw's
// triangles into an a8 (antialiased) or a1 (aliased) mask and composites
// a solid colour through it; ours draws the same draws at 4 and 0 samples.
// Prints the median time per frame of each.
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "backends/cpu/band_pool.h"
#include "backends/cpu/draw_list.h"
#include "backends/cpu/pixel_ops.h"
#include "percentile.h"

namespace {

constexpr int kWidth = 778;
constexpr int kHeight = 1034;
constexpr int kFrames = 60;
constexpr double kPi = 3.14159265358979323846;

struct Draw {
    std::vector<cpu::RasterVertex> triangles;
    uint32_t color;
};

void addQuad(Draw& d, double cx, double cy, double angle, double r0, double r1, double halfWidth)
{
    const double c = std::cos(angle), s = std::sin(angle);
    auto at = [&](double r, double w) {
        return cpu::RasterVertex{static_cast<float>(cx + c * r - s * w), static_cast<float>(cy + s * r + c * w), 0, 0};
    };
    const cpu::RasterVertex a = at(r0, -halfWidth), b = at(r1, -halfWidth), e = at(r1, halfWidth), f = at(r0, halfWidth);
    d.triangles.insert(d.triangles.end(), {a, b, e, a, e, f});
}

// Gauges on a grid: a disc, a ring, ticks, a needle each.
std::vector<Draw> displayLikeScene()
{
    std::vector<Draw> draws;
    for (int gy = 0; gy < 4; ++gy)
        for (int gx = 0; gx < 3; ++gx) {
            const double cx = 130 + gx * 260, cy = 130 + gy * 255, r = 110;
            Draw disc{{}, cpu::packRgba(40, 40, 48, 255)};
            constexpr int kSegments = 72;
            for (int i = 0; i < kSegments; ++i) {
                const double a0 = 2 * kPi * i / kSegments, a1 = 2 * kPi * (i + 1) / kSegments;
                disc.triangles.push_back({static_cast<float>(cx), static_cast<float>(cy), 0, 0});
                disc.triangles.push_back(
                    {static_cast<float>(cx + r * std::cos(a0)), static_cast<float>(cy + r * std::sin(a0)), 0, 0});
                disc.triangles.push_back(
                    {static_cast<float>(cx + r * std::cos(a1)), static_cast<float>(cy + r * std::sin(a1)), 0, 0});
            }
            draws.push_back(disc);
            Draw ring{{}, cpu::packRgba(200, 200, 200, 255)};
            for (int i = 0; i < kSegments; ++i)
                addQuad(ring, cx, cy, 2 * kPi * (i + 0.5) / kSegments, r - 3, r, r * kPi / kSegments + 0.01);
            draws.push_back(ring);
            for (int i = 0; i < 60; ++i) {
                Draw tick{{}, cpu::packRgba(230, 230, 230, 255)};
                addQuad(tick, cx, cy, 2 * kPi * i / 60 + 0.013, r - (i % 5 ? 12 : 20), r - 4, i % 5 ? 0.75 : 1.5);
                draws.push_back(tick);
            }
            Draw needle{{}, cpu::packRgba(255, 140, 0, 255)};
            addQuad(needle, cx, cy, 0.7 + gx + gy, -15, r - 10, 2.5);
            draws.push_back(needle);
        }
    return draws;
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// Processor time of the process (all its threads): on a shared machine wall
// time measures the neighbours.
template <typename Body>
double medianMs(Body body)
{
    std::vector<double> ms;
    for (int i = 0; i < kFrames; ++i) {
        const double start = cpuMs();
        body();
        ms.push_back(cpuMs() - start);
    }
    return percentile(ms, 0.5);
}

double oursMs(const std::vector<Draw>& draws, int samples, int threads)
{
    cpu::CpuFrame frame;
    frame.Resize(kWidth, kHeight, samples);
    cpu::BandPool pool;
    pool.SetThreads(threads);
    cpu::DrawList list;
    return medianMs([&] {
        list.Clear(true, cpu::packRgba(21, 21, 21, 0), true, 0);
        for (const Draw& d : draws) {
            cpu::Paint paint;
            paint.color = d.color;
            list.Triangles(d.triangles.data(), static_cast<int>(d.triangles.size()), paint);
        }
        list.Execute(frame, pool);
    });
}

double pixmanMs(const std::vector<Draw>& draws, pixman_format_code_t maskFormat)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    pixman_image_t* dest = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, pixels.data(), kWidth * 4);
    std::vector<std::vector<pixman_triangle_t>> triangles;
    std::vector<pixman_image_t*> colors;
    std::vector<pixman_box32_t> boxes;
    for (const Draw& d : draws) {
        std::vector<pixman_triangle_t> t;
        pixman_box32_t box{kWidth, kHeight, 0, 0};
        for (size_t i = 0; i < d.triangles.size(); i += 3) {
            pixman_triangle_t tri;
            pixman_point_fixed_t* p[] = {&tri.p1, &tri.p2, &tri.p3};
            for (int k = 0; k < 3; ++k) {
                const cpu::RasterVertex& v = d.triangles[i + k];
                p[k]->x = pixman_double_to_fixed(v.x);
                p[k]->y = pixman_double_to_fixed(v.y);
                box.x1 = std::min(box.x1, static_cast<int32_t>(std::floor(v.x)));
                box.y1 = std::min(box.y1, static_cast<int32_t>(std::floor(v.y)));
                box.x2 = std::max(box.x2, static_cast<int32_t>(std::ceil(v.x)) + 1);
                box.y2 = std::max(box.y2, static_cast<int32_t>(std::ceil(v.y)) + 1);
            }
            t.push_back(tri);
        }
        triangles.push_back(t);
        boxes.push_back(box);
        const pixman_color_t color{static_cast<uint16_t>((d.color & 0xFF) * 257),
                                   static_cast<uint16_t>((d.color >> 8 & 0xFF) * 257),
                                   static_cast<uint16_t>((d.color >> 16 & 0xFF) * 257), 0xFFFF};
        colors.push_back(pixman_image_create_solid_fill(&color));
    }
    const pixman_color_t background{0x1515, 0x1515, 0x1515, 0};
    pixman_image_t* clearColor = pixman_image_create_solid_fill(&background);
    const double ms = medianMs([&] {
        pixman_image_composite32(PIXMAN_OP_SRC, clearColor, nullptr, dest, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        for (size_t i = 0; i < triangles.size(); ++i) {
            const pixman_box32_t& b = boxes[i];
            // As a compositor does: a mask the size of the draw's extent.
            pixman_image_t* mask = pixman_image_create_bits(maskFormat, b.x2 - b.x1, b.y2 - b.y1, nullptr, 0);
            pixman_add_triangles(mask, -b.x1, -b.y1, static_cast<int>(triangles[i].size()), triangles[i].data());
            pixman_image_composite32(PIXMAN_OP_OVER, colors[i], mask, dest, 0, 0, 0, 0, b.x1, b.y1, b.x2 - b.x1,
                                     b.y2 - b.y1);
            pixman_image_unref(mask);
        }
    });
    for (pixman_image_t* c : colors)
        pixman_image_unref(c);
    pixman_image_unref(clearColor);
    pixman_image_unref(dest);
    return ms;
}

}  // namespace

int main()
{
    const std::vector<Draw> draws = displayLikeScene();
    size_t triangles = 0;
    for (const Draw& d : draws)
        triangles += d.triangles.size() / 3;
    std::printf("%zu draws, %zu triangles, %dx%d, median processor time of %d frames (ms)\n", draws.size(), triangles, kWidth,
                kHeight, kFrames);
    std::printf("antialiased: pixman a8 masks %.3f  ours 4 samples %.3f  (2 threads, both counted, %.3f)\n",
                pixmanMs(draws, PIXMAN_a8), oursMs(draws, 4, 1), oursMs(draws, 4, 2));
    std::printf("aliased:     pixman a1 masks %.3f  ours 0 samples %.3f  (2 threads, both counted, %.3f)\n",
                pixmanMs(draws, PIXMAN_a1), oursMs(draws, 0, 1), oursMs(draws, 0, 2));
    return 0;
}
