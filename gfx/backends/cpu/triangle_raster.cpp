#include "triangle_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pixel_ops.h"

namespace cpu {

namespace {

int64_t floorDiv(int64_t a, int64_t b)  // b > 0
{
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

enum class EdgeKind { Left, Right, Flat };

// One edge a -> b in fixed point, oriented so that the interior lies where
// E(p) = dx * (py - ay) - dy * (px - ax) is positive; bias is 0 for a top
// or left edge (samples on it are covered) and 1 otherwise.
struct Edge {
    EdgeKind kind;
    int64_t ax, ay, dx, dy, bias;
    int64_t divisor, stepQuotient, stepRemainder;  // for Left and Right
};

// floor(M / divisor) for an edge and a sample row, stepped a row at a time.
struct Bound {
    int64_t quotient, remainder;
};

Edge makeEdge(int64_t ax, int64_t ay, int64_t bx, int64_t by)
{
    Edge e{};
    e.ax = ax;
    e.ay = ay;
    e.dx = bx - ax;
    e.dy = by - ay;
    const bool topLeft = e.dy < 0 || (e.dy == 0 && e.dx > 0);
    e.bias = topLeft ? 0 : 1;
    e.kind = e.dy < 0 ? EdgeKind::Left : (e.dy > 0 ? EdgeKind::Right : EdgeKind::Flat);
    if (e.kind != EdgeKind::Flat) {
        e.divisor = kSubpixelOne * (e.dy < 0 ? -e.dy : e.dy);
        const int64_t step = kSubpixelOne * e.dx;  // M grows by this a row
        e.stepQuotient = floorDiv(step, e.divisor);
        e.stepRemainder = step - e.stepQuotient * e.divisor;
    }
    return e;
}

// A left edge bounds x from below: x >= ceil(N / divisor) = -floor(M / divisor)
// with M = -N. A right edge from above: x <= floor(M / divisor).
Bound startBound(const Edge& e, int64_t px, int64_t py)
{
    int64_t m = 0;
    if (e.kind == EdgeKind::Left)
        m = -(e.bias - e.dx * (py - e.ay) - e.dy * (e.ax - px));
    else
        m = e.dx * (py - e.ay) + e.dy * (e.ax - px) - e.bias;
    const int64_t q = floorDiv(m, e.divisor);
    return {q, m - q * e.divisor};
}

// Without a branch: the carry's direction follows the edge's slope
// fraction, which no predictor guesses.
void stepBound(const Edge& e, Bound& b)
{
    const int64_t remainder = b.remainder + e.stepRemainder;
    const int64_t carry = remainder >= e.divisor;
    b.remainder = remainder - (e.divisor & -carry);
    b.quotient += e.stepQuotient + carry;
}

// An attribute as a plane over window positions.
struct Plane {
    float a, b, c;  // value = a * x + b * y + c
    float At(float x, float y) const { return a * x + b * y + c; }
};

Plane makePlane(const RasterVertex* v, float RasterVertex::*attribute)
{
    const double x1 = v[1].x - v[0].x, y1 = v[1].y - v[0].y;
    const double x2 = v[2].x - v[0].x, y2 = v[2].y - v[0].y;
    const double det = x1 * y2 - x2 * y1;
    const double a0 = v[0].*attribute;
    if (det == 0.0)
        return {0.0f, 0.0f, static_cast<float>(a0)};
    const double d1 = v[1].*attribute - a0, d2 = v[2].*attribute - a0;
    const double a = (d1 * y2 - d2 * y1) / det;
    const double b = (d2 * x1 - d1 * x2) / det;
    return {static_cast<float>(a), static_cast<float>(b), static_cast<float>(a0 - a * v[0].x - b * v[0].y)};
}

uint32_t mul255(uint32_t a, uint32_t b)
{
    const uint32_t x = a * b + 128;
    return (x + (x >> 8)) >> 8;
}

// What a triangle writes, and where.
template <int F>  // the frame's samples a pixel
class Writer {
public:
    Writer(CpuFrame& frame, const Paint& paint, const RasterVertex* v)
        : color_(frame.Pixels()), split_(frame.SplitFlags()), samples_(frame.SampleColors()),
          stencil_(frame.Stencil()), width_(frame.Width()), paint_(paint)
    {
        if (paint.texture) {
            s_ = makePlane(v, &RasterVertex::s);
            t_ = makePlane(v, &RasterVertex::t);
        }
        solidOpaque_ = !paint.texture && (!paint.blend || alphaOf(paint.color) == 255);
    }

    void SingleSampleSpan(int y, int x0, int x1)
    {
        const size_t row = static_cast<size_t>(y) * width_;
        if (paint_.stencil == StencilMode::Write) {
            std::memset(stencil_ + row + x0, paint_.stencilRef, static_cast<size_t>(x1 - x0));
            return;
        }
        if (solidOpaque_ && paint_.stencil == StencilMode::Off) {
            std::fill(color_ + row + x0, color_ + row + x1, paint_.color);
            return;
        }
        const float cy = static_cast<float>(y) + 0.5f;
        for (int x = x0; x < x1; ++x) {
            const size_t p = row + x;
            if (paint_.stencil == StencilMode::Test && stencil_[p] != paint_.stencilRef)
                continue;
            const uint32_t src = Shade(static_cast<float>(x) + 0.5f, cy);
            color_[p] = paint_.blend ? blendOver(src, color_[p]) : src;
        }
    }

    // Pixels [x0, x1) of row y with every sample covered.
    void FullSpan(int y, int x0, int x1)
    {
        const size_t row = static_cast<size_t>(y) * width_;
        if (paint_.stencil == StencilMode::Write) {
            std::memset(stencil_ + (row + x0) * count_, paint_.stencilRef, static_cast<size_t>(x1 - x0) * count_);
            return;
        }
        if (solidOpaque_ && paint_.stencil == StencilMode::Off) {
            std::fill(color_ + row + x0, color_ + row + x1, paint_.color);
            std::memset(split_ + row + x0, 0, static_cast<size_t>(x1 - x0));
            return;
        }
        for (int x = x0; x < x1; ++x)
            Pixel(y, x, full_);
    }

    // Pixel x of row y, its samples in mask covered.
    void Pixel(int y, int x, uint32_t mask) { PixelAt(static_cast<size_t>(y) * width_ + x, x, y, mask); }

    // Pixel p, at x, y (only a texture needs them), its samples in mask covered.
    void PixelAt(size_t p, int x, int y, uint32_t mask)
    {
        uint8_t* stencil = stencil_ + p * count_;
        if (paint_.stencil == StencilMode::Write) {
            for (int s = 0; s < count_; ++s)
                if (mask >> s & 1)
                    stencil[s] = paint_.stencilRef;
            return;
        }
        if (paint_.stencil == StencilMode::Test) {
            for (int s = 0; s < count_; ++s)
                if (stencil[s] != paint_.stencilRef)
                    mask &= ~(1u << s);
            if (mask == 0)
                return;
        }
        const uint32_t src = Shade(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
        const bool opaque = !paint_.blend || alphaOf(src) == 255;
        uint32_t* samples = samples_ + p * count_;
        if (!split_[p]) {
            const uint32_t before = color_[p];
            const uint32_t after = opaque ? src : blendOver(src, before);
            if (after == before)
                return;
            if (mask == full_) {
                color_[p] = after;
                return;
            }
            for (int s = 0; s < count_; ++s)
                samples[s] = mask >> s & 1 ? after : before;
            split_[p] = 1;
            color_[p] = averageSamples(samples, count_, shift_);
            return;
        }
        if (mask == full_ && opaque) {
            color_[p] = src;
            split_[p] = 0;
            return;
        }
        bool uniform = true;
        for (int s = 0; s < count_; ++s) {
            if (mask >> s & 1)
                samples[s] = opaque ? src : blendOver(src, samples[s]);
            uniform = uniform && samples[s] == samples[0];
        }
        // A pixel whose samples have come to agree is single again.
        split_[p] = uniform ? 0 : 1;
        color_[p] = uniform ? samples[0] : averageSamples(samples, count_, shift_);
    }

private:
    uint32_t Shade(float x, float y) const
    {
        if (!paint_.texture)
            return paint_.color;
        const float s = s_.At(x, y);
        const float t = t_.At(x, y);
        if (paint_.texture->format == TexelFormat::Alpha)
            return withAlpha(paint_.color, mul255(alphaOf(paint_.color), paint_.texture->SampleAlpha(s, t)));
        return modulate(paint_.color, paint_.texture->Sample(s, t));
    }

    uint32_t* color_;
    uint8_t* split_;
    uint32_t* samples_;
    uint8_t* stencil_;
    int width_;
    static constexpr int count_ = F;
    static constexpr int shift_ = F == 8 ? 3 : (F == 4 ? 2 : (F == 2 ? 1 : 0));
    static constexpr uint32_t full_ = (1u << F) - 1;
    const Paint& paint_;
    Plane s_{}, t_{};
    bool solidOpaque_ = false;
};

struct RowRange {
    int first, last;  // inclusive
};

// Walks the triangle's rows: per sample row, the span of pixels whose
// sample lies inside, from the left and right edges stepped exactly; then
// the pixels with every sample inside as one span, the rest by mask.
template <int N, int F>
void scanRows(CpuFrame& frame, const Edge* edges, RowRange rows, Writer<F>& writer, CoverageAccumulator* gather)
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
    // Each edge is stepped at the first sample; another sample's bound
    // differs from it by a constant, split like the bound into a quotient
    // and a remainder, so one compare gives it.
    const int64_t px0 = pattern.x[0];
    const int64_t py0 = static_cast<int64_t>(rows.first) * kSubpixelOne + pattern.y[0];
    Bound leftBounds[2], rightBounds[2], leftOffsets[2][N], rightOffsets[2][N];
    auto offsets = [&](const Edge& e, Bound* out) {
        for (int s = 0; s < N; ++s) {
            const int64_t delta = e.dx * (pattern.y[s] - pattern.y[0]) - e.dy * (pattern.x[s] - pattern.x[0]);
            const int64_t q = floorDiv(delta, e.divisor);
            out[s] = {q, delta - q * e.divisor};
        }
    };
    for (int i = 0; i < nLeft; ++i) {
        leftBounds[i] = startBound(edges[left[i]], px0, py0);
        offsets(edges[left[i]], leftOffsets[i]);
    }
    for (int i = 0; i < nRight; ++i) {
        rightBounds[i] = startBound(edges[right[i]], px0, py0);
        offsets(edges[right[i]], rightOffsets[i]);
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
            for (int s = 0; s < N; ++s) {
                const Bound& o = leftOffsets[i][s];
                const int64_t q = b.quotient + o.quotient + (b.remainder + o.remainder >= e.divisor);
                begins[s] = std::max(begins[s], -q);
            }
            stepBound(e, leftBounds[i]);
        }
        for (int i = 0; i < nRight; ++i) {
            const Edge& e = edges[right[i]];
            const Bound& b = rightBounds[i];
            for (int s = 0; s < N; ++s) {
                const Bound& o = rightOffsets[i][s];
                const int64_t q = b.quotient + o.quotient + (b.remainder + o.remainder >= e.divisor);
                ends[s] = std::min(ends[s], q + 1);
            }
            stepBound(e, rightBounds[i]);
        }
        for (int s = 0; s < N; ++s) {
            int64_t b = begins[s], end = ends[s];
            if (flat && flat->dx * (static_cast<int64_t>(row) * kSubpixelOne + pattern.y[s] - flat->ay) < flat->bias)
                end = b;
            b = std::min<int64_t>(b, width);
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
        if (N == 1) {
            if (F == 1)
                writer.SingleSampleSpan(row, lo, hi);
            else
                writer.FullSpan(row, lo, hi);
            continue;
        }
        if (fullLo >= fullHi)
            fullLo = fullHi = hi;
        const size_t rowStart = static_cast<size_t>(row) * width;
        for (int px = lo; px < hi; ++px) {
            if (px == fullLo) {
                writer.FullSpan(row, fullLo, fullHi);
                px = fullHi - 1;
                continue;
            }
            uint32_t mask = 0;
            for (int s = 0; s < N; ++s)
                mask |= static_cast<uint32_t>(px >= spanBegin[s] && px < spanEnd[s]) << s;
            if (mask == 0)
                continue;
            if (gather)
                gather->Add(frame, rowStart + px, mask);
            else
                writer.Pixel(row, px, mask);
        }
    }
}

template <int F>
void rasterWith(CpuFrame& frame, const Edge* edges, RowRange rows, const Paint& paint, const RasterVertex* v,
                CoverageAccumulator* accumulator)
{
    Writer<F> writer(frame, paint, v);
    if (F == 1 || !paint.multisample) {
        scanRows<1, F>(frame, edges, rows, writer, nullptr);
        return;
    }
    scanRows<F, F>(frame, edges, rows, writer, paint.texture ? nullptr : accumulator);
}

bool inRange(float c) { return std::isfinite(c) && std::fabs(c) <= kMaxRasterCoordinate; }

}  // namespace


template <int F>
void flushGathered(CpuFrame& frame, const Paint& paint, std::vector<uint32_t>& touched)
{
    const RasterVertex none[3] = {};
    Writer<F> writer(frame, paint, none);
    uint8_t* masks = frame.Coverage();
    for (uint32_t p : touched) {
        writer.PixelAt(p, 0, 0, masks[p]);  // untextured: the colour is the same everywhere
        masks[p] = 0;
    }
    touched.clear();
}

void CoverageAccumulator::Flush(CpuFrame& frame, const Paint& paint)
{
    if (touched_.empty())
        return;
    switch (frame.Pattern().count) {
    case 2:
        flushGathered<2>(frame, paint, touched_);
        break;
    case 4:
        flushGathered<4>(frame, paint, touched_);
        break;
    default:
        flushGathered<kMaxSamples>(frame, paint, touched_);
        break;
    }
}

void rasterTriangle(CpuFrame& frame, const RasterVertex* v, const Paint& paint, int rowBegin, int rowEnd,
                    CoverageAccumulator* accumulator)
{
    for (int i = 0; i < 3; ++i)
        if (!inRange(v[i].x) || !inRange(v[i].y))
            return;
    if (paint.texture && (paint.texture->width <= 0 || paint.texture->height <= 0))
        return;
    int64_t x[3], y[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = std::lrintf(v[i].x * kSubpixelOne);
        y[i] = std::lrintf(v[i].y * kSubpixelOne);
    }
    const int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0)
        return;
    if (area < 0) {
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
    }
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
        rasterWith<1>(frame, edges, rows, paint, v, nullptr);
        break;
    case 2:
        rasterWith<2>(frame, edges, rows, paint, v, accumulator);
        break;
    case 4:
        rasterWith<4>(frame, edges, rows, paint, v, accumulator);
        break;
    default:
        rasterWith<kMaxSamples>(frame, edges, rows, paint, v, accumulator);
        break;
    }
    if (paint.stencil == StencilMode::Write)
        frame.NoteStencilRows(firstRow, lastRow + 1);
}

}  // namespace cpu
