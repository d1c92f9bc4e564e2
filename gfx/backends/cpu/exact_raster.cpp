#include "exact_raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "pixel_ops.h"

namespace cpu {

namespace {

// Cells are marked and swept in groups: a group with a touched cell gets a
// coverage a pixel, four at a time; between such groups the coverage stays
// as it is.
constexpr int kGroup = 4;
constexpr int kGroupShift = 2;

// Marks the groups of cells [first, last] as touched.
inline void markCells(uint64_t* bits, int first, int last)
{
    const int g0 = first >> kGroupShift, g1 = last >> kGroupShift;
    const int w0 = g0 >> 6, w1 = g1 >> 6;
    if (w0 == w1) {
        bits[w0] |= (~0ull >> (63 - (g1 - g0))) << (g0 & 63);
        return;
    }
    bits[w0] |= ~0ull << (g0 & 63);
    for (int w = w0 + 1; w < w1; ++w)
        bits[w] = ~0ull;
    bits[w1] |= ~0ull >> (63 - (g1 & 63));
}

// The same for a span of at most two groups, without a mask to build.
inline void markNear(uint64_t* bits, int first, int last)
{
    const int g0 = first >> kGroupShift, g1 = last >> kGroupShift;
    bits[g0 >> 6] |= 1ull << (g0 & 63);
    bits[g1 >> 6] |= 1ull << (g1 & 63);
}

// A row's cells and what marks them.
struct CellRow {
    float* cells;
    uint64_t* bits;
};

// Adds a segment within pixel x0 of a row (x0 <= xa <= xb <= x0 + 1): the
// part of the pixel right of its mean x goes to the next cell.
inline void addWithinCell(CellRow row, int x0, float xa, float xb, float d)
{
    const float right = 0.5f * (xa + xb) - static_cast<float>(x0);
    row.cells[x0] += d - d * right;
    row.cells[x0 + 1] += d * right;
    markNear(row.bits, x0, x0 + 1);
}

// Adds a segment lying within one pixel row, from x = xa to x = xb (pixels,
// xa <= xb), whose signed height is d (its share of the row, the sign
// its direction), to that row's cells, so that the running sum of the
// cells gives each pixel the area the segment leaves to its right. Cells
// right of width are never needed: what lies there is dropped; what lies
// left of the frame counts as lying on its left border.
[[gnu::noinline]] void addSegmentAcross(CellRow row, int width, float xa, float xb, float d)
{
    float* cells = row.cells;
    const float w = static_cast<float>(width);
    if (xa >= w)
        return;
    if (xb <= 0.0f) {
        cells[0] += d;
        markCells(row.bits, 0, 0);
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
        addWithinCell(row, x0, xa, xb, d);
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
    markCells(row.bits, x0, x1);
}

// The same, xa and xb in either order, with the common cases inline: an
// edge's segment within one or two pixels of the frame. ds is d / |xb - xa|
// (the edge's, the same for each of its segments), so that the inline
// cases need no division.
inline void addSegment(CellRow row, int width, float xa, float xb, float d, float ds)
{
    if (xa > xb)
        std::swap(xa, xb);
    if (xa >= 0.0f && xb < static_cast<float>(width)) {
        const int x0 = static_cast<int>(xa);
        const float x0floor = static_cast<float>(x0);
        if (xb <= x0floor + 1.0f) {
            addWithinCell(row, x0, xa, xb, d);
            return;
        }
        float* cells = row.cells;
        if (xb <= x0floor + 2.0f) {
            // The triangles in the first and last cells, the rest between.
            const float in0 = x0floor + 1.0f - xa, in2 = xb - x0floor - 1.0f;
            const float first = 0.5f * ds * in0 * in0, last = 0.5f * ds * in2 * in2;
            cells[x0] += first;
            cells[x0 + 1] += d - first - last;
            cells[x0 + 2] += last;
            markNear(row.bits, x0, x0 + 2);
            return;
        }
    }
    addSegmentAcross(row, width, xa, xb, d);
}

// Writes runs of pixels of one coverage, and groups of four of their own.
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
        int x = x0;
#if defined(__SSE2__)
        const __m128i same = _mm_set1_epi32(static_cast<int>(coverage));
        for (; x + 4 <= x1; x += 4)
            MixFour(p + x, Passing(row + x, same));
#endif
        for (; x < x1; ++x)
            MixOne(p + x, row + x, coverage);
    }

    // Pixels [x, x + 4) of row y, each weighted by its own coverage w[i].
    void Quad(int y, int x, const uint32_t* w)
    {
        const size_t row = static_cast<size_t>(y) * width_;
        uint32_t* p = pixels_ + row + x;
#if defined(__SSE2__)
        const __m128i weights = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
        if (!test_ && !blend_ && _mm_movemask_epi8(_mm_cmpeq_epi32(weights, _mm_set1_epi32(255))) == 0xFFFF) {
            fillPixels(p, 4, color_);
            return;
        }
        MixFour(p, Passing(row + x, weights));
#else
        for (int i = 0; i < 4; ++i)
            MixOne(p + i, row + x + i, w[i]);
#endif
    }

private:
    // Pixel p (index i of the frame) becomes what the draw writes there
    // weighted by w, where it passes the stencil test.
    void MixOne(uint32_t* p, size_t i, uint32_t w) const
    {
        if (w == 0 || (test_ && stencil_[i] != ref_))
            return;
        const uint32_t full = blend_ ? blendOver(color_, *p) : color_;
        *p = w == 255 ? full : mixBytes(full, *p, w);
    }

#if defined(__SSE2__)
    // Weights (32-bit lanes) of pixels [i, i + 4) of the frame, 0 where the
    // stencil test fails: a weight of 0 leaves a pixel as it was.
    __m128i Passing(size_t i, __m128i weights) const
    {
        if (!test_)
            return weights;
        uint32_t bytes;
        std::memcpy(&bytes, stencil_ + i, sizeof bytes);
        const __m128i zero = _mm_setzero_si128();
        const __m128i lanes = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(bytes)), zero), zero);
        return _mm_and_si128(weights, _mm_cmpeq_epi32(lanes, _mm_set1_epi32(ref_)));
    }

    // Pixels p[0..3] become what the draw writes there weighted by the
    // 32-bit lanes of weights.
    void MixFour(uint32_t* p, __m128i weights) const
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
        // Each weight in the four 16-bit lanes of its pixel.
        const __m128i pairs = _mm_packs_epi32(weights, weights);
        const __m128i doubled = _mm_unpacklo_epi16(pairs, pairs);
        const __m128i outLo = mixEpi16(fullLo, dstLo, _mm_unpacklo_epi32(doubled, doubled));
        const __m128i outHi = mixEpi16(fullHi, dstHi, _mm_unpackhi_epi32(doubled, doubled));
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

// The running sum through cells [x, x + kGroup), zeroing them, and the
// coverage after each as a unorm8 weight, min(|sum|, 1) rounded.
inline void sumGroup(float* cells, int x, float& sum, uint32_t* coverage)
{
#if defined(__SSE2__)
    __m128 v = _mm_loadu_ps(cells + x);
    _mm_storeu_ps(cells + x, _mm_setzero_ps());
    v = _mm_add_ps(v, _mm_castsi128_ps(_mm_slli_si128(_mm_castps_si128(v), 4)));
    v = _mm_add_ps(v, _mm_castsi128_ps(_mm_slli_si128(_mm_castps_si128(v), 8)));
    v = _mm_add_ps(v, _mm_set1_ps(sum));
    sum = _mm_cvtss_f32(_mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 3, 3, 3)));
    const __m128 magnitude = _mm_min_ps(_mm_andnot_ps(_mm_set1_ps(-0.0f), v), _mm_set1_ps(1.0f));
    const __m128 level = _mm_add_ps(_mm_mul_ps(magnitude, _mm_set1_ps(255.0f)), _mm_set1_ps(0.5f));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(coverage), _mm_cvttps_epi32(level));
#else
    for (int i = 0; i < kGroup; ++i) {
        sum += cells[x + i];
        cells[x + i] = 0.0f;
        const float magnitude = std::min(std::fabs(sum), 1.0f);
        coverage[i] = static_cast<uint32_t>(magnitude * 255.0f + 0.5f);
    }
#endif
}

// Composites row y from its cells, whose touched groups the words of bits
// mark, and leaves cells and bits zero.
void sweepRow(Compositor& out, int y, int width, float* cells, uint64_t* bits, size_t words)
{
    float sum = 0.0f;
    int runStart = 0;
    uint32_t runCoverage = 0;
    for (size_t w = 0; w < words; ++w) {
        uint64_t b = bits[w];
        if (b == 0)
            continue;
        bits[w] = 0;
        for (; b != 0; b &= b - 1) {
            const int x = static_cast<int>(w * 64 + std::countr_zero(b)) << kGroupShift;
            const int gapEnd = std::min(x, width);
            if (runCoverage != 0 && runStart < gapEnd)
                out.Run(y, runStart, gapEnd, runCoverage);
            uint32_t coverage[kGroup];
            sumGroup(cells, x, sum, coverage);
            if (x + kGroup <= width) {
                out.Quad(y, x, coverage);
            } else {
                for (int i = 0; x + i < width; ++i)
                    if (coverage[i] != 0)
                        out.Run(y, x + i, x + i + 1, coverage[i]);
            }
            runStart = x + kGroup;
            runCoverage = coverage[kGroup - 1];
        }
    }
    // A shape reaching past the right border covers the rest of the row.
    if (runCoverage != 0 && runStart < width)
        out.Run(y, runStart, width, runCoverage);
}

}  // namespace

void CoverageCells::Reserve(int rows, int width)
{
    // Two cells past the last pixel take what lies right of it; whole groups.
    stride = (static_cast<size_t>(width) + 2 + kGroup - 1) / kGroup * kGroup;
    words = (stride / kGroup + 63) / 64;
    const size_t size = stride * static_cast<size_t>(rows);
    if (cells.size() < size)
        cells.resize(size, 0.0f);
    if (touched.size() < words * static_cast<size_t>(rows))
        touched.resize(words * static_cast<size_t>(rows), 0);
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
    // The band's rows the edges reach: only those are swept.
    int kLo = rows, kHi = -1;

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
        const float ds = e.bx == e.ax ? 0.0f : direction * static_cast<float>(1.0 / std::fabs(dxdy));
        const double ax = e.ax, ay = e.ay;
        const auto xAt = [&](double y) { return (ax + dxdy * (y - ay)) / kOne; };
        const int r0 = std::max(e.firstRow, rowBegin), r1 = std::min(e.lastRow, rowEnd - 1);
        kLo = std::min(kLo, r0 - rowBegin);
        kHi = std::max(kHi, r1 - rowBegin);
        const auto add = [&](int r, double xa, double xb, float d) {
            const int k = r - rowBegin;
            addSegment({grid + stride * k, touched + words * k}, width, static_cast<float>(xa),
                       static_cast<float>(xb), d, ds);
        };
        // A part of a row where the edge begins or ends inside it.
        const auto addPart = [&](int r) {
            const double ys = std::max(top, r * kOne), ye = std::min(bottom, (r + 1) * kOne);
            if (ys < ye)
                add(r, xAt(ys), xAt(ye), direction * static_cast<float>((ye - ys) / kOne));
        };
        int r = r0;
        if (r <= r1 && top > r * kOne)
            addPart(r++);
        // Rows the edge crosses whole: x moves by dxdy a row.
        const int lastWhole = std::min(r1, (std::max(e.ay, e.by) >> kSubpixelBits) - 1);
        double xs = xAt(r * kOne);
        for (; r <= lastWhole; ++r) {
            const double xe = xs + dxdy;
            add(r, xs, xe, direction);
            xs = xe;
        }
        for (; r <= r1; ++r)
            addPart(r);
    }

    Compositor out(frame, paint);
    for (int k = kLo; k <= kHi; ++k)
        sweepRow(out, rowBegin + k, width, grid + stride * k, touched + words * k, words);
}

}  // namespace cpu
