#include "exact_raster.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>

#include "pixel_ops.h"

namespace cpu {

namespace {

// A pixel's winding coverage as a unorm8 weight.
inline uint32_t coverageOf(float sum)
{
    const float c = std::fabs(sum);
    return c >= 1.0f ? 255u : static_cast<uint32_t>(c * 255.0f + 0.5f);
}

// Marks cells [first, last] as touched; widens [lo, hi] to their words.
inline void markCells(uint64_t* bits, int first, int last, int& lo, int& hi)
{
    const int w0 = first >> 6, w1 = last >> 6;
    lo = std::min(lo, w0);
    hi = std::max(hi, w1);
    if (w0 == w1) {
        bits[w0] |= (~0ull >> (63 - (last - first))) << (first & 63);
        return;
    }
    bits[w0] |= ~0ull << (first & 63);
    for (int w = w0 + 1; w < w1; ++w)
        bits[w] = ~0ull;
    bits[w1] |= ~0ull >> (63 - (last & 63));
}

// A row's cells and what marks them.
struct CellRow {
    float* cells;
    uint64_t* bits;
    int& lo;
    int& hi;
};

// Adds a segment lying within one pixel row, from x = xa to x = xb (pixels,
// either order), whose signed height is d (its share of the row, the sign
// its direction), to that row's cells, so that the running sum of the
// cells gives each pixel the area the segment leaves to its right. Cells
// right of width are never needed: what lies there is dropped; what lies
// left of the frame counts as lying on its left border.
inline void addSegment(CellRow row, int width, float xa, float xb, float d)
{
    float* cells = row.cells;
    if (xa > xb)
        std::swap(xa, xb);
    const float w = static_cast<float>(width);
    if (xa >= w)
        return;
    if (xb <= 0.0f) {
        cells[0] += d;
        markCells(row.bits, 0, 0, row.lo, row.hi);
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
    // Both are in [0, width] now: truncation is the floor.
    const int x0 = static_cast<int>(xa);
    const float x0floor = static_cast<float>(x0);
    const int x1 = static_cast<int>(xb) + (static_cast<float>(static_cast<int>(xb)) < xb ? 1 : 0);
    const float x1ceil = static_cast<float>(x1);
    if (x1 <= x0 + 1) {
        // Within one cell: the part of the pixel right of its mean x.
        const float right = 0.5f * (xa + xb) - x0floor;
        cells[x0] += d - d * right;
        cells[x0 + 1] += d * right;
        markCells(row.bits, x0, x0 + 1, row.lo, row.hi);
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
    markCells(row.bits, x0, x1, row.lo, row.hi);
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
        int x = x0;
#if defined(__SSE2__)
        // Four pixels at a time; a weight of 0 (a failed stencil test)
        // leaves a pixel as it was, as the scalar path does.
        for (; x + 4 <= x1; x += 4) {
            uint32_t w[4];
            for (int i = 0; i < 4; ++i)
                w[i] = test_ && stencil[x + i] != ref_ ? 0 : coverage;
            MixFour(p + x, w);
        }
#endif
        for (; x < x1; ++x) {
            if (test_ && stencil[x] != ref_)
                continue;
            const uint32_t full = blend_ ? blendOver(color_, p[x]) : color_;
            p[x] = coverage == 255 ? full : mixBytes(full, p[x], coverage);
        }
    }

private:
#if defined(__SSE2__)
    // Pixels p[0..3] become what the draw writes there weighted by w[i].
    void MixFour(uint32_t* p, const uint32_t* w) const
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i dstLo = _mm_unpacklo_epi8(dst, zero), dstHi = _mm_unpackhi_epi8(dst, zero);
        const __m128i color = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color_)), zero);
        __m128i fullLo = color, fullHi = color;
        if (blend_) {
            const __m128i alpha = _mm_set1_epi16(static_cast<short>(alphaOf(color_)));
            fullLo = mixEpi16(color, dstLo, alpha);
            fullHi = mixEpi16(color, dstHi, alpha);
        }
        const auto lanes = [](uint32_t a, uint32_t b) {
            return _mm_set_epi16(static_cast<short>(b), static_cast<short>(b), static_cast<short>(b),
                                 static_cast<short>(b), static_cast<short>(a), static_cast<short>(a),
                                 static_cast<short>(a), static_cast<short>(a));
        };
        const __m128i outLo = mixEpi16(fullLo, dstLo, lanes(w[0], w[1]));
        const __m128i outHi = mixEpi16(fullHi, dstHi, lanes(w[2], w[3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(outLo, outHi));
    }
#endif

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
    stride = static_cast<size_t>(width) + 2;
    words = (stride + 63) / 64;
    const size_t size = stride * static_cast<size_t>(rows);
    if (cells.size() < size)
        cells.resize(size, 0.0f);
    if (touched.size() < words * static_cast<size_t>(rows))
        touched.resize(words * static_cast<size_t>(rows), 0);
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
    cells.Reserve(rows, width);
    const size_t stride = cells.stride, words = cells.words;
    float* grid = cells.cells.data();
    uint64_t* touched = cells.touched.data();
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
        const double ax = e.ax, ay = e.ay;
        const int r0 = std::max(e.firstRow, rowBegin), r1 = std::min(e.lastRow, rowEnd - 1);
        // A row's segment starts where the one above ended (the same value
        // max(top, r * kOne) gives), so each row computes one end.
        double ys = std::max(top, r0 * kOne);
        double xs = (ax + dxdy * (ys - ay)) / kOne;
        for (int r = r0; r <= r1; ++r) {
            const double ye = std::min(bottom, (r + 1) * kOne);
            if (ys >= ye)
                continue;
            const double xe = (ax + dxdy * (ye - ay)) / kOne;
            const int k = r - rowBegin;
            addSegment({grid + stride * k, touched + words * k, lo[k], hi[k]}, width, static_cast<float>(xs),
                       static_cast<float>(xe), direction * static_cast<float>((ye - ys) / kOne));
            ys = ye;
            xs = xe;
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
        uint64_t* bits = touched + words * k;
        const int y = rowBegin + k;
        // Between touched cells the coverage stays as it is: one run.
        float sum = 0.0f;
        int runStart = 0;
        uint32_t runCoverage = 0;
        for (int w = first; w <= last; ++w) {
            uint64_t b = bits[w];
            bits[w] = 0;
            for (; b != 0; b &= b - 1) {
                const int x = w * 64 + std::countr_zero(b);
                sum += a[x];
                a[x] = 0.0f;
                if (x >= width)
                    continue;
                const uint32_t coverage = coverageOf(sum);
                if (coverage == runCoverage)
                    continue;
                if (runCoverage != 0)
                    out.Run(y, runStart, x, runCoverage);
                runStart = x;
                runCoverage = coverage;
            }
        }
        // A shape reaching past the right border covers the rest of the row.
        if (runCoverage != 0)
            out.Run(y, runStart, width, runCoverage);
    }
}

}  // namespace cpu
