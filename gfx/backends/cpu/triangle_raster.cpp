#include "triangle_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

bool inRange(float c) { return std::isfinite(c) && std::fabs(c) <= kMaxRasterCoordinate; }

}  // namespace

bool snapTriangle(const RasterVertex* v, int64_t* x, int64_t* y)
{
    for (int i = 0; i < 3; ++i)
        if (!inRange(v[i].x) || !inRange(v[i].y))
            return false;
    for (int i = 0; i < 3; ++i) {
        x[i] = std::lrintf(v[i].x * kSubpixelOne);
        y[i] = std::lrintf(v[i].y * kSubpixelOne);
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
    if (paint.texture && (paint.texture->width <= 0 || paint.texture->height <= 0))
        return;
    int64_t x[3], y[3];
    if (!snapTriangle(v, x, y))
        return;
    const Edge edges[3] = {makeEdge(x[0], y[0], x[1], y[1]), makeEdge(x[1], y[1], x[2], y[2]),
                           makeEdge(x[2], y[2], x[0], y[0])};

    const SamplePattern& pattern = paint.multisample ? frame.Pattern() : *samplePattern(0);
    const int count = pattern.count;
    const int minSampleY = *std::min_element(pattern.y, pattern.y + count);
    const int maxSampleY = *std::max_element(pattern.y, pattern.y + count);
    const int64_t top = std::min({y[0], y[1], y[2]});
    const int64_t bottom = std::max({y[0], y[1], y[2]});
    const int firstRow = static_cast<int>(
        std::max<int64_t>({floorDiv(top - maxSampleY + kSubpixelOne - 1, kSubpixelOne), rowBegin, 0}));
    const int lastRow = static_cast<int>(
        std::min<int64_t>({floorDiv(bottom - minSampleY, kSubpixelOne), rowEnd - 1, frame.Height() - 1}));
    if (firstRow > lastRow)
        return;

    const RowRange rows{firstRow, lastRow};
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
        frame.NoteStencilRows(firstRow, lastRow + 1);
}

}  // namespace cpu
