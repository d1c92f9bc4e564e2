#include "exact_raster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "pixel_ops.h"

namespace cpu {

namespace {

// a * w + b * (255 - w), over 255, rounded, for each channel.
inline uint32_t mixBytes(uint32_t a, uint32_t b, uint32_t w)
{
    const uint32_t nw = 255 - w;
    const uint32_t even = div255Lanes((a & kEvenBytes) * w + (b & kEvenBytes) * nw);
    const uint32_t odd = div255Lanes(((a >> 8) & kEvenBytes) * w + ((b >> 8) & kEvenBytes) * nw);
    return even | (odd << 8);
}

// A pixel's winding coverage as a unorm8 weight.
inline uint32_t coverageOf(float sum)
{
    const float c = std::fabs(sum);
    return c >= 1.0f ? 255u : static_cast<uint32_t>(c * 255.0f + 0.5f);
}

// Adds a segment lying within one pixel row, from x = xa to x = xb (pixels,
// either order), whose signed height is d (its share of the row, the sign
// its direction), to that row's cells, so that the running sum of the
// cells gives each pixel the area the segment leaves to its right; widens
// [lo, hi] to the cells touched. Cells right of width are never needed:
// what lies there is dropped; what lies left of the frame counts as
// lying on its left border.
inline void addSegment(float* cells, int width, float xa, float xb, float d, int& lo, int& hi)
{
    if (xa > xb)
        std::swap(xa, xb);
    const float w = static_cast<float>(width);
    if (xa >= w)
        return;
    if (xb <= 0.0f) {
        cells[0] += d;
        lo = 0;
        hi = std::max(hi, 0);
        return;
    }
    if (xa < 0.0f) {
        const float left = d * (-xa / (xb - xa));
        cells[0] += left;
        d -= left;
        xa = 0.0f;
    }
    if (xb > w) {
        d *= (w - xa) / (xb - xa);
        xb = w;
    }
    const float x0floor = std::floor(xa);
    const int x0 = static_cast<int>(x0floor);
    const float x1ceil = std::ceil(xb);
    const int x1 = static_cast<int>(x1ceil);
    lo = std::min(lo, x0);
    if (x1 <= x0 + 1) {
        // Within one cell: the part of the pixel right of its mean x.
        const float right = 0.5f * (xa + xb) - x0floor;
        cells[x0] += d - d * right;
        cells[x0 + 1] += d * right;
        hi = std::max(hi, x0 + 1);
        return;
    }
    // Across cells: the triangle in the first, trapezoids of equal growth
    // in the middle ones, what is left in the last.
    const float s = 1.0f / (xb - xa);
    const float x0f = xa - x0floor;
    const float first = 0.5f * s * (1.0f - x0f) * (1.0f - x0f);
    const float x1f = xb - x1ceil + 1.0f;
    const float last = 0.5f * s * x1f * x1f;
    cells[x0] += d * first;
    if (x1 == x0 + 2) {
        cells[x0 + 1] += d * (1.0f - first - last);
    } else {
        const float second = s * (1.5f - x0f);
        cells[x0 + 1] += d * (second - first);
        const float step = d * s;
        for (int x = x0 + 2; x < x1 - 1; ++x)
            cells[x] += step;
        const float before = second + static_cast<float>(x1 - x0 - 3) * s;
        cells[x1 - 1] += d * (1.0f - before - last);
    }
    cells[x1] += d * last;
    hi = std::max(hi, x1);
}

// Writes runs of pixels of one coverage.
class Compositor {
public:
    Compositor(CpuFrame& frame, const Paint& paint)
        : pixels_(frame.Pixels()), stencil_(frame.Stencil()), width_(frame.Width()), color_(paint.color),
          blend_(paint.blend && alphaOf(paint.color) != 255), test_(paint.stencil == StencilMode::Test),
          ref_(paint.stencilRef)
    {
    }

    void Run(int y, int x0, int x1, uint32_t coverage)
    {
        const size_t row = static_cast<size_t>(y) * width_;
        uint32_t* p = pixels_ + row;
        if (!test_ && !blend_ && coverage == 255) {
            fillPixels(p + x0, static_cast<size_t>(x1 - x0), color_);
            return;
        }
        const uint8_t* stencil = stencil_ + row;
        for (int x = x0; x < x1; ++x) {
            if (test_ && stencil[x] != ref_)
                continue;
            const uint32_t full = blend_ ? blendOver(color_, p[x]) : color_;
            p[x] = coverage == 255 ? full : mixBytes(full, p[x], coverage);
        }
    }

private:
    uint32_t* pixels_;
    const uint8_t* stencil_;
    int width_;
    uint32_t color_;
    bool blend_, test_;
    uint8_t ref_;
};

}  // namespace

void CoverageCells::Reserve(int rows, int width)
{
    const size_t size = (static_cast<size_t>(width) + 2) * static_cast<size_t>(rows);
    if (cells.size() < size)
        cells.resize(size, 0.0f);
    if (lo.size() < static_cast<size_t>(rows)) {
        lo.resize(static_cast<size_t>(rows), INT_MAX);
        hi.resize(static_cast<size_t>(rows), -1);
    }
}

void rasterShapeExact(CpuFrame& frame, const ShapeEdge* edges, size_t count, const Paint& paint, int rowBegin,
                      int rowEnd, CoverageCells& cells)
{
    rowBegin = std::max(rowBegin, 0);
    rowEnd = std::min(rowEnd, frame.Height());
    if (count == 0 || rowBegin >= rowEnd)
        return;
    const int width = frame.Width();
    const int rows = rowEnd - rowBegin;
    const size_t stride = static_cast<size_t>(width) + 2;
    cells.Reserve(rows, width);
    float* grid = cells.cells.data();
    int* lo = cells.lo.data();
    int* hi = cells.hi.data();

    constexpr double kOne = kSubpixelOne;
    for (size_t i = 0; i < count; ++i) {
        const ShapeEdge& e = edges[i];
        if (e.firstRow >= rowEnd)
            break;
        if (e.lastRow < rowBegin)
            continue;
        const double top = std::min(e.ay, e.by), bottom = std::max(e.ay, e.by);
        const double dxdy = static_cast<double>(e.bx - e.ax) / static_cast<double>(e.by - e.ay);
        const float direction = e.by > e.ay ? 1.0f : -1.0f;
        const int r1 = std::min(e.lastRow, rowEnd - 1);
        for (int r = std::max(e.firstRow, rowBegin); r <= r1; ++r) {
            const double ys = std::max(top, r * kOne), ye = std::min(bottom, (r + 1) * kOne);
            if (ys >= ye)
                continue;
            const double xs = (e.ax + dxdy * (ys - e.ay)) / kOne, xe = (e.ax + dxdy * (ye - e.ay)) / kOne;
            const int k = r - rowBegin;
            addSegment(grid + stride * k, width, static_cast<float>(xs), static_cast<float>(xe),
                       direction * static_cast<float>((ye - ys) / kOne), lo[k], hi[k]);
        }
    }

    Compositor out(frame, paint);
    for (int k = 0; k < rows; ++k) {
        const int first = lo[k], last = hi[k];
        if (first > last)
            continue;
        lo[k] = INT_MAX;
        hi[k] = -1;
        float* a = grid + stride * k;
        const int y = rowBegin + k;
        const int end = std::min(last + 1, width);
        float sum = 0.0f;
        for (int x = first; x < end;) {
            sum += a[x];
            a[x] = 0.0f;
            // Cells nothing crossed keep the coverage: one run.
            int run = x + 1;
            while (run < end && a[run] == 0.0f)
                ++run;
            const uint32_t coverage = coverageOf(sum);
            if (coverage != 0)
                out.Run(y, x, run, coverage);
            x = run;
        }
        std::fill(a + std::max(first, end), a + last + 1, 0.0f);
        // A shape reaching past the right border covers the rest of the row.
        const uint32_t coverage = coverageOf(sum);
        if (end < width && coverage != 0)
            out.Run(y, end, width, coverage);
    }
}

}  // namespace cpu
