#include "triangle_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__) && !defined(__EMSCRIPTEN__)
#include <emmintrin.h>
#endif

#include "edge_step.h"
#include "pixel_writer.h"
#include "span_mask.h"

namespace cpu {

namespace {

struct RowRange {
    int first, last;  // inclusive
};

// Walks the triangle's rows: per sample row, the span of pixels whose
// sample lies inside, from the left and right edges stepped exactly; then
// the pixels with every sample inside as one span, the rest by mask.
template <int N, int F>
void scanRows(CpuFrame& frame, const Edge* edges, RowRange rows, Writer<F>& writer)
{
    const SamplePattern& pattern = N == 1 ? *samplePattern(0) : frame.Pattern();
    const int width = frame.Width();
    int left[2], right[2], nLeft = 0, nRight = 0;
    const Edge* flat = nullptr;
    for (int e = 0; e < 3; ++e) {
        if (edges[e].kind == EdgeKind::Left)
            left[nLeft++] = e;
        else if (edges[e].kind == EdgeKind::Right)
            right[nRight++] = e;
        else
            flat = &edges[e];
    }
    // Each edge is stepped at the first sample, the others follow by offsets.
    const int64_t px0 = pattern.x[0];
    const int64_t py0 = static_cast<int64_t>(rows.first) * kSubpixelOne + pattern.y[0];
    Bound leftBounds[2], rightBounds[2], leftOffsets[2][N], rightOffsets[2][N];
    for (int i = 0; i < nLeft; ++i) {
        leftBounds[i] = startBound(edges[left[i]], px0, py0);
        sampleOffsets(edges[left[i]], pattern, N, leftOffsets[i]);
    }
    for (int i = 0; i < nRight; ++i) {
        rightBounds[i] = startBound(edges[right[i]], px0, py0);
        sampleOffsets(edges[right[i]], pattern, N, rightOffsets[i]);
    }
    int spanBegin[N], spanEnd[N];
    for (int row = rows.first; row <= rows.last; ++row) {
        int lo = width, hi = 0, fullLo = 0, fullHi = width;
        int64_t begins[N], ends[N];
        for (int s = 0; s < N; ++s) {
            begins[s] = 0;
            ends[s] = width;
        }
        for (int i = 0; i < nLeft; ++i) {
            const Edge& e = edges[left[i]];
            const Bound& b = leftBounds[i];
            for (int s = 0; s < N; ++s)
                begins[s] = std::max(begins[s], -sampleQuotient(e, b, leftOffsets[i][s]));
            stepBound(e, leftBounds[i]);
        }
        for (int i = 0; i < nRight; ++i) {
            const Edge& e = edges[right[i]];
            const Bound& b = rightBounds[i];
            for (int s = 0; s < N; ++s)
                ends[s] = std::min(ends[s], sampleQuotient(e, b, rightOffsets[i][s]) + 1);
            stepBound(e, rightBounds[i]);
        }
        for (int s = 0; s < N; ++s) {
            // Clamped before a flat edge empties the span with it: a span
            // beginning right of the frame must not end there.
            const int64_t b = std::min<int64_t>(begins[s], width);
            int64_t end = ends[s];
            if (flat && flat->dx * (static_cast<int64_t>(row) * kSubpixelOne + pattern.y[s] - flat->ay) < flat->bias)
                end = b;
            spanBegin[s] = static_cast<int>(b);
            spanEnd[s] = static_cast<int>(std::max(b, end));
            if (spanBegin[s] < spanEnd[s]) {
                lo = std::min(lo, spanBegin[s]);
                hi = std::max(hi, spanEnd[s]);
            }
            fullLo = std::max(fullLo, spanBegin[s]);
            fullHi = std::min(fullHi, spanEnd[s]);
        }
        if (lo >= hi)
            continue;
        if (N > 1 && row < rows.last) {
            writer.PrefetchSamples(row + 1, lo);
            writer.PrefetchSamples(row + 1, hi - 1);
        }
        if (N == 1) {
            if (F == 1)
                writer.SingleSampleSpan(row, lo, hi);
            else
                writer.FullSpan(row, lo, hi);
            continue;
        }
        if (fullLo >= fullHi)
            fullLo = fullHi = hi;
        for (int px = lo; px < hi; ++px) {
            if (px == fullLo) {
                writer.FullSpan(row, fullLo, fullHi);
                px = fullHi - 1;
                continue;
            }
            const uint32_t mask = spanMask<N>(px, spanBegin, spanEnd);
            if (mask != 0)
                writer.Pixel(row, px, mask);
        }
    }
}

template <int F>
void rasterWith(CpuFrame& frame, const Edge* edges, RowRange rows, const Paint& paint, const RasterVertex* v)
{
    Writer<F> writer(frame, paint);
    if (paint.texture)
        writer.TextureFrom(v);
    if (F == 1 || !paint.multisample)
        scanRows<1, F>(frame, edges, rows, writer);
    else
        scanRows<F, F>(frame, edges, rows, writer);
}

// False for NaN and the infinities too: they fail the comparison.
bool inRange(float c) { return std::fabs(c) <= kMaxRasterCoordinate; }

// std::lrintf (to nearest, ties to even, in the default rounding mode) of
// a value well inside the int range, without the library call the
// compiler leaves for it on x86 (WebAssembly rounds in one instruction).
int64_t roundToInt(float c)
{
#if defined(__SSE2__) && !defined(__EMSCRIPTEN__)
    return _mm_cvtss_si32(_mm_set_ss(c));
#else
    return std::lrintf(c);
#endif
}

// A triangle's corners in 1/256 pixel, as snapTriangle orders them.
struct Snapped {
    int64_t x[3], y[3];
};

// The pattern a paint's samples are taken at.
const SamplePattern& paintPattern(const CpuFrame& frame, const Paint& paint)
{
    return paint.multisample ? frame.Pattern() : *samplePattern(0);
}

// The rows whose samples can lie between top and bottom (in 1/256 pixel),
// within [rowBegin, rowEnd) and the frame; false when there are none.
bool rowsBetween(const CpuFrame& frame, const SamplePattern& pattern, int64_t top, int64_t bottom, int rowBegin,
                 int rowEnd, RowRange* rows)
{
    const int count = pattern.count;
    const int minSampleY = *std::min_element(pattern.y, pattern.y + count);
    const int maxSampleY = *std::max_element(pattern.y, pattern.y + count);
    rows->first = static_cast<int>(
        std::max<int64_t>({floorDiv(top - maxSampleY + kSubpixelOne - 1, kSubpixelOne), rowBegin, 0}));
    rows->last = static_cast<int>(
        std::min<int64_t>({floorDiv(bottom - minSampleY, kSubpixelOne), rowEnd - 1, frame.Height() - 1}));
    return rows->first <= rows->last;
}

void rasterSnapped(CpuFrame& frame, const RasterVertex* v, const Snapped& c, const Paint& paint, int rowBegin,
                   int rowEnd)
{
    const int64_t* x = c.x;
    const int64_t* y = c.y;
    const Edge edges[3] = {makeEdge(x[0], y[0], x[1], y[1]), makeEdge(x[1], y[1], x[2], y[2]),
                           makeEdge(x[2], y[2], x[0], y[0])};
    RowRange rows{};
    if (!rowsBetween(frame, paintPattern(frame, paint), std::min({y[0], y[1], y[2]}), std::max({y[0], y[1], y[2]}),
                     rowBegin, rowEnd, &rows))
        return;
    switch (frame.Pattern().count) {
    case 1:
        rasterWith<1>(frame, edges, rows, paint, v);
        break;
    case 2:
        rasterWith<2>(frame, edges, rows, paint, v);
        break;
    case 4:
        rasterWith<4>(frame, edges, rows, paint, v);
        break;
    default:
        rasterWith<kMaxSamples>(frame, edges, rows, paint, v);
        break;
    }
    if (paint.stencil == StencilMode::Write)
        frame.NoteStencilRows(rows.first, rows.last + 1);
}

// An axis-aligned rectangle [x0, x1) x [y0, y1) in 1/256 pixel.
struct Box {
    int64_t x0, y0, x1, y1;
};

// A triangle's corner as a corner of box: bit 0 for x1, bit 1 for y1; -1
// for a point that is none.
int cornerOf(const Box& box, int64_t x, int64_t y)
{
    const bool right = x == box.x1, bottom = y == box.y1;
    if ((!right && x != box.x0) || (!bottom && y != box.y0))
        return -1;
    return (right ? 1 : 0) | (bottom ? 2 : 0);
}

// Whether a and b are the two halves of one axis-aligned rectangle cut
// along a diagonal, and which: each triangle three of its corners, the
// ones they lack opposite. Their edges then own the rectangle's samples
// as its own edges would, each once: its left and top sides' samples in,
// its right and bottom sides' out, the diagonal's in exactly one half.
bool rectangleOf(const Snapped& a, const Snapped& b, Box* box)
{
    *box = {std::min({a.x[0], a.x[1], a.x[2]}), std::min({a.y[0], a.y[1], a.y[2]}),
            std::max({a.x[0], a.x[1], a.x[2]}), std::max({a.y[0], a.y[1], a.y[2]})};
    int lacking[2] = {0, 0};
    const Snapped* halves[2] = {&a, &b};
    for (int h = 0; h < 2; ++h)
        for (int i = 0; i < 3; ++i) {
            const int corner = cornerOf(*box, halves[h]->x[i], halves[h]->y[i]);
            if (corner < 0)
                return false;
            lacking[h] ^= corner;  // three distinct corners of 0..3 leave the fourth
        }
    return (lacking[0] ^ lacking[1]) == 3;
}

// Draws the rectangle a pair of triangles v (six vertices) covers, as
// rasterSnapped draws each at one sample a pixel (the pixel centre); false,
// nothing drawn, when the second triangle's texture coordinates are not the
// first's planes to the bit.
template <int F>
bool rasterRectangle(CpuFrame& frame, const RasterVertex* v, const Box& box, const Paint& paint, int rowBegin,
                     int rowEnd)
{
    Writer<F> writer(frame, paint);
    if (paint.texture) {
        writer.TextureFrom(v);
        if (!writer.SameTextureAs(v + 3))
            return false;
    }
    RowRange rows{};
    if (!rowsBetween(frame, paintPattern(frame, paint), box.y0, box.y1, rowBegin, rowEnd, &rows))
        return true;
    const SamplePattern& centre = *samplePattern(0);
    // A centre c is inside when box.x0 <= c < box.x1, and likewise along y.
    auto firstInside = [](int64_t low, int offset) { return floorDiv(low - offset + kSubpixelOne - 1, kSubpixelOne); };
    auto lastInside = [](int64_t high, int offset) { return floorDiv(high - 1 - offset, kSubpixelOne); };
    const int x0 = static_cast<int>(std::max<int64_t>(firstInside(box.x0, centre.x[0]), 0));
    const int x1 = static_cast<int>(std::min<int64_t>(lastInside(box.x1, centre.x[0]) + 1, frame.Width()));
    const int y0 = static_cast<int>(std::max<int64_t>(firstInside(box.y0, centre.y[0]), rows.first));
    const int y1 = static_cast<int>(std::min<int64_t>(lastInside(box.y1, centre.y[0]), rows.last));
    if (x0 < x1)
        for (int row = y0; row <= y1; ++row) {
            if (F == 1)
                writer.SingleSampleSpan(row, x0, x1);
            else
                writer.FullSpan(row, x0, x1);
        }
    if (paint.stencil == StencilMode::Write)
        frame.NoteStencilRows(rows.first, rows.last + 1);
    return true;
}

// rasterRectangle for the frame's samples a pixel.
bool rasterPair(CpuFrame& frame, const RasterVertex* v, const Box& box, const Paint& paint, int rowBegin, int rowEnd)
{
    switch (frame.Pattern().count) {
    case 1:
        return rasterRectangle<1>(frame, v, box, paint, rowBegin, rowEnd);
    case 2:
        return rasterRectangle<2>(frame, v, box, paint, rowBegin, rowEnd);
    case 4:
        return rasterRectangle<4>(frame, v, box, paint, rowBegin, rowEnd);
    default:
        return rasterRectangle<kMaxSamples>(frame, v, box, paint, rowBegin, rowEnd);
    }
}

bool unusableTexture(const Paint& paint)
{
    return paint.texture && (paint.texture->width <= 0 || paint.texture->height <= 0);
}

}  // namespace

bool snapTriangle(const RasterVertex* v, int64_t* x, int64_t* y)
{
    for (int i = 0; i < 3; ++i)
        if (!inRange(v[i].x) || !inRange(v[i].y))
            return false;
    for (int i = 0; i < 3; ++i) {
        x[i] = roundToInt(v[i].x * kSubpixelOne);
        y[i] = roundToInt(v[i].y * kSubpixelOne);
    }
    const int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0)
        return false;
    if (area < 0) {
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
    }
    return true;
}

void rasterTriangle(CpuFrame& frame, const RasterVertex* v, const Paint& paint, int rowBegin, int rowEnd)
{
    if (unusableTexture(paint))
        return;
    Snapped c{};
    if (snapTriangle(v, c.x, c.y))
        rasterSnapped(frame, v, c, paint, rowBegin, rowEnd);
}

void rasterTriangles(CpuFrame& frame, const RasterVertex* v, size_t count, const Paint& paint, int rowBegin,
                     int rowEnd)
{
    if (unusableTexture(paint))
        return;
    const float bandTop = static_cast<float>(rowBegin) - 1.0f;
    const float bandBottom = static_cast<float>(rowEnd) + 1.0f;
    // NaN bounds fail both tests and go on to snapTriangle, which skips them.
    auto outside = [&](const RasterVertex* t) {
        return std::max({t[0].y, t[1].y, t[2].y}) < bandTop || std::min({t[0].y, t[1].y, t[2].y}) > bandBottom;
    };
    // Pairs are drawn at one sample a pixel alone, as scanRows<1, F> draws.
    const bool pairs = !paint.multisample || frame.Pattern().count == 1;
    auto snapInside = [&](const RasterVertex* t, Snapped& c) { return !outside(t) && snapTriangle(t, c.x, c.y); };
    // The next triangle, once snapped to be tried as a pair's second half,
    // is not snapped again.
    Snapped a{}, b{};
    bool snapped = false, drawable = false;
    for (size_t i = 0; i + 3 <= count; i += 3) {
        if (!snapped)
            drawable = snapInside(v + i, a);
        snapped = false;
        if (!drawable)
            continue;
        // A quad (a glyph, an image) is two triangles forming a rectangle:
        // drawn as one, its rows are one span and its setup is once.
        if (pairs && i + 6 <= count) {
            const bool second = snapInside(v + i + 3, b);
            Box box{};
            if (second && rectangleOf(a, b, &box) && rasterPair(frame, v + i, box, paint, rowBegin, rowEnd)) {
                i += 3;
                continue;
            }
            rasterSnapped(frame, v + i, a, paint, rowBegin, rowEnd);
            a = b;
            snapped = true;
            drawable = second;
            continue;
        }
        rasterSnapped(frame, v + i, a, paint, rowBegin, rowEnd);
    }
}

}  // namespace cpu
