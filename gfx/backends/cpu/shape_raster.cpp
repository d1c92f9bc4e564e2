#include "shape_raster.h"

#include <algorithm>

#include "pixel_writer.h"
#include "span_mask.h"

namespace cpu {

namespace {

// A crossing packed for sorting: x above, then the sample, then the way
// (0 adds, 1 takes away, so that at one x nothing goes below zero).
constexpr int kCrossingShift = 8;
constexpr uint64_t kTakesAway = 1;

uint64_t crossing(int64_t x, int sample, bool adds)
{
    return static_cast<uint64_t>(x) << kCrossingShift | static_cast<uint64_t>(sample) << 1 |
           (adds ? 0 : kTakesAway);
}

// Pairs of edges a row may have and still be drawn without sorting its
// crossings: two for rings.
constexpr size_t kMaxPairs = 4;

// A row has a handful of crossings: insertion sort beats the library's
// sort on those.
constexpr size_t kInsertionSortLimit = 24;

void sortCrossings(uint64_t* c, size_t n)
{
    if (n > kInsertionSortLimit) {
        std::sort(c, c + n);
        return;
    }
    for (size_t i = 1; i < n; ++i) {
        const uint64_t key = c[i];
        size_t j = i;
        for (; j > 0 && c[j - 1] > key; --j)
            c[j] = c[j - 1];
        c[j] = key;
    }
}

template <int N, int F>
void writeRun(Writer<F>& writer, int row, int x0, int x1, uint32_t mask)
{
    if (N == 1) {
        if (F == 1)
            writer.SingleSampleSpan(row, x0, x1);
        else
            writer.FullSpan(row, x0, x1);
        return;
    }
    if (mask == (1u << N) - 1) {
        writer.FullSpan(row, x0, x1);
        return;
    }
    for (int x = x0; x < x1; ++x)
        writer.Pixel(row, x, mask);
}

template <int N, int F>
class ShapeScan {
public:
    ShapeScan(CpuFrame& frame, const Paint& paint, ShapeScratch& scratch)
        : pattern_(N == 1 ? *samplePattern(0) : frame.Pattern()), width_(frame.Width()), height_(frame.Height()),
          minSampleY_(*std::min_element(pattern_.y, pattern_.y + N)),
          maxSampleY_(*std::max_element(pattern_.y, pattern_.y + N)), writer_(frame, paint),
          active_(scratch.active), crossings_(scratch.crossings),
          // Blending the same colour again changes a pixel only when it is
          // translucent; the stencil's reference is written once for all.
          layered_(paint.blend && alphaOf(paint.color) != 255 && paint.stencil != StencilMode::Write)
    {
    }

    void Run(const ShapeEdge* edges, size_t count, int rowBegin, int rowEnd)
    {
        active_.clear();
        size_t next = 0;
        int row = std::max(rowBegin, edges[0].firstRow);
        while (row < rowEnd) {
            for (; next < count && edges[next].firstRow <= row; ++next)
                if (edges[next].lastRow >= row)
                    Activate(edges[next], row);
            if (active_.empty()) {
                if (next == count)
                    return;
                row = edges[next].firstRow;
                continue;
            }
            Row(row);
            ++row;
        }
    }

private:
    // Active edges are kept in the order of their crossings, so that a
    // row's crossings come nearly sorted.
    void Activate(const ShapeEdge& s, int row)
    {
        // Built in place: the record is large, and only N offsets are used.
        active_.emplace_back();
        ShapeScratch::Active& a = active_.back();
        a.edge = makeEdge(s.ax, s.ay, s.bx, s.by);
        a.bound = startBound(a.edge, pattern_.x[0], static_cast<int64_t>(row) * kSubpixelOne + pattern_.y[0]);
        sampleOffsets(a.edge, pattern_, N, a.offsets);
        a.top = std::min(s.ay, s.by);
        a.bottom = std::max(s.ay, s.by);
        a.lastRow = s.lastRow;
        a.x = FirstX(a);
        auto at = active_.end() - 1;
        while (at != active_.begin() && (at - 1)->x > a.x)
            --at;
        std::rotate(at, active_.end() - 1, active_.end());
    }

    static int64_t FirstX(const ShapeScratch::Active& a)
    {
        return a.edge.kind == EdgeKind::Left ? -a.bound.quotient : a.bound.quotient + 1;
    }

    bool Within(const ShapeScratch::Active& a, int64_t rowBase) const
    {
        return rowBase + minSampleY_ >= a.top && rowBase + maxSampleY_ < a.bottom;
    }

    void Row(int row)
    {
        if (crossings_.size() < active_.size() * N)
            crossings_.resize(active_.size() * N);
        uint64_t* out = crossings_.data();
        size_t n = 0;
        const int64_t rowBase = static_cast<int64_t>(row) * kSubpixelOne;
        const bool direct = Direct(row, rowBase);
        size_t kept = 0;
        for (size_t i = 0; i < active_.size(); ++i) {
            ShapeScratch::Active& a = active_[i];
            const bool left = a.edge.kind == EdgeKind::Left;
            // Most rows lie inside the edge for every sample: no test then.
            const bool within = Within(a, rowBase);
            for (int s = 0; s < N && !direct; ++s) {
                const int64_t sampleRow = rowBase + pattern_.y[s];
                if (!within && (sampleRow < a.top || sampleRow >= a.bottom))
                    continue;
                const int64_t q = sampleQuotient(a.edge, a.bound, a.offsets[s]);
                const int64_t x = left ? -q : q + 1;
                out[n] = crossing(std::max<int64_t>(x, 0), s, left);
                n += x < width_;
            }
            if (a.lastRow <= row)
                continue;
            stepBound(a.edge, a.bound);
            a.x = FirstX(a);
            // Edges that crossed swap places.
            size_t at = kept;
            for (; at > 0 && active_[at - 1].x > a.x; --at) {
            }
            if (at != i) {
                const ShapeScratch::Active moved = a;
                std::move_backward(active_.begin() + static_cast<std::ptrdiff_t>(at),
                                   active_.begin() + static_cast<std::ptrdiff_t>(kept),
                                   active_.begin() + static_cast<std::ptrdiff_t>(kept + 1));
                active_[at] = moved;
            }
            ++kept;
        }
        active_.resize(kept);
        if (n == 0)
            return;
        sortCrossings(out, n);
        Sweep(row, out, n);
    }

    // Each sample's pixels [begin, end) on a row between a left and a right edge.
    struct Span {
        int begin[N], end[N];
    };

    // Most rows of most shapes lie between one left and one right edge for
    // every sample (a ring's, between two such pairs): their spans come
    // straight from the edges, without sorting crossings. False, nothing
    // drawn, for any other row.
    bool Direct(int row, int64_t rowBase)
    {
        const size_t n = active_.size();
        if (n == 2) {
            if (active_[0].edge.kind == active_[1].edge.kind || !Within(active_[0], rowBase) ||
                !Within(active_[1], rowBase))
                return false;
            const bool leftFirst = active_[0].edge.kind == EdgeKind::Left;
            Span span;
            Between(active_[leftFirst ? 0 : 1], active_[leftFirst ? 1 : 0], span);
            Write(row, span);
            return true;
        }
        if (n % 2 != 0 || n > 2 * kMaxPairs)
            return false;
        // Several pairs cover a sample as often as their spans do, so each
        // can be drawn alone, provided none is turned over for any sample
        // (its negative count would take away another's). A pixel two
        // spans share is then written by each with its own samples, which
        // gives what writing all of them at once gives.
        Span spans[kMaxPairs];
        for (size_t i = 0; i < n; i += 2) {
            const ShapeScratch::Active& l = active_[i];
            const ShapeScratch::Active& r = active_[i + 1];
            if (l.edge.kind != EdgeKind::Left || r.edge.kind != EdgeKind::Right || !Within(l, rowBase) ||
                !Within(r, rowBase) || !Between(l, r, spans[i / 2]))
                return false;
        }
        for (size_t i = 0; i < n / 2; ++i)
            Write(row, spans[i]);
        return true;
    }

    // The span between edges l and r, inside both for every sample, clamped
    // to the frame; false where r lies left of l for some sample.
    bool Between(const ShapeScratch::Active& l, const ShapeScratch::Active& r, Span& span) const
    {
        bool ordered = true;
        for (int s = 0; s < N; ++s) {
            const int64_t b = -sampleQuotient(l.edge, l.bound, l.offsets[s]);
            const int64_t e = sampleQuotient(r.edge, r.bound, r.offsets[s]) + 1;
            ordered = ordered && b <= e;
            const int64_t clamped = std::clamp<int64_t>(b, 0, width_);
            span.begin[s] = static_cast<int>(clamped);
            span.end[s] = static_cast<int>(std::max(clamped, std::min<int64_t>(e, width_)));
        }
        return ordered;
    }

    // Row row of a span: the pixels every sample covers as one run, the
    // rest pixel by pixel.
    void Write(int row, const Span& span)
    {
        const int* begin = span.begin;
        const int* end = span.end;
        int lo = width_, hi = 0, fullLo = 0, fullHi = width_;
        for (int s = 0; s < N; ++s) {
            if (begin[s] < end[s]) {
                lo = std::min(lo, begin[s]);
                hi = std::max(hi, end[s]);
            }
            fullLo = std::max(fullLo, begin[s]);
            fullHi = std::min(fullHi, end[s]);
        }
        if (lo >= hi)
            return;
        if (N > 1 && row + 1 < height_) {
            writer_.PrefetchSamples(row + 1, lo);
            writer_.PrefetchSamples(row + 1, hi - 1);
        }
        if (fullLo >= fullHi)
            fullLo = fullHi = hi;
        PartlyCovered(row, lo, fullLo, begin, end);
        if (fullLo < fullHi)
            writeRun<N, F>(writer_, row, fullLo, fullHi, (1u << N) - 1);
        PartlyCovered(row, fullHi, hi, begin, end);
    }

    void PartlyCovered(int row, int x0, int x1, const int* begin, const int* end)
    {
        for (int x = x0; x < x1; ++x) {
            const uint32_t mask = spanMask<N>(x, begin, end);
            if (mask != 0)
                writeRun<N, F>(writer_, row, x, x + 1, mask);
        }
    }

    // Walks the sorted crossings keeping each sample's count.
    void Sweep(int row, const uint64_t* crossings, size_t n)
    {
        if (N > 1 && row + 1 < height_) {
            writer_.PrefetchSamples(row + 1, static_cast<int>(crossings[0] >> kCrossingShift));
            writer_.PrefetchSamples(row + 1, static_cast<int>(crossings[n - 1] >> kCrossingShift));
        }
        int counts[N] = {};
        uint32_t mask = 0;
        int stacked = 0;  // samples covered more than once
        for (size_t i = 0; i < n;) {
            const int x = static_cast<int>(crossings[i] >> kCrossingShift);
            for (; i < n && static_cast<int>(crossings[i] >> kCrossingShift) == x; ++i) {
                const int s = static_cast<int>(crossings[i] >> 1) & (kMaxSamples - 1);
                if (crossings[i] & kTakesAway) {
                    const int c = --counts[s];
                    mask &= c == 0 ? ~(1u << s) : ~0u;
                    stacked -= c == 1;
                } else {
                    const int c = ++counts[s];
                    mask |= 1u << s;
                    stacked += c == 2;
                }
            }
            const int end = i < n ? static_cast<int>(crossings[i] >> kCrossingShift) : width_;
            if (mask == 0 || end <= x)
                continue;
            writeRun<N, F>(writer_, row, x, end, mask);
            for (int level = 2; layered_ && stacked > 0; ++level) {
                uint32_t again = 0;
                for (int s = 0; s < N; ++s)
                    again |= static_cast<uint32_t>(counts[s] >= level) << s;
                if (again == 0)
                    break;
                writeRun<N, F>(writer_, row, x, end, again);
            }
        }
    }

    const SamplePattern& pattern_;
    int width_, height_;
    int minSampleY_, maxSampleY_;
    Writer<F> writer_;
    std::vector<ShapeScratch::Active>& active_;
    std::vector<uint64_t>& crossings_;
    bool layered_;
};

template <int F>
void scanWith(CpuFrame& frame, const ShapeEdge* edges, size_t count, const Paint& paint, int rowBegin, int rowEnd,
              ShapeScratch& scratch)
{
    if (F == 1 || !paint.multisample)
        ShapeScan<1, F>(frame, paint, scratch).Run(edges, count, rowBegin, rowEnd);
    else
        ShapeScan<F, F>(frame, paint, scratch).Run(edges, count, rowBegin, rowEnd);
}

// Sorts edges by first row. A draw has a handful: a stable insertion sort
// up to the size where the library's sort is one too, so that either
// gives the same order.
void sortByFirstRow(ShapeEdge* first, ShapeEdge* last)
{
    constexpr std::ptrdiff_t kLibraryInsertionSort = 16;
    if (last - first > kLibraryInsertionSort) {
        std::sort(first, last, [](const ShapeEdge& a, const ShapeEdge& b) { return a.firstRow < b.firstRow; });
        return;
    }
    for (ShapeEdge* i = first + 1; i < last; ++i) {
        if (i[-1].firstRow <= i->firstRow)
            continue;
        const ShapeEdge key = *i;
        ShapeEdge* j = i;
        for (; j > first && j[-1].firstRow > key.firstRow; --j)
            *j = j[-1];
        *j = key;
    }
}

}  // namespace

void appendShapeEdges(const RasterVertex* v, int count, std::vector<ShapeEdge>& edges)
{
    const size_t first = edges.size();
    size_t previous = first;  // the previous triangle's edges: [previous, mine)
    for (int t = 0; t + 2 < count; t += 3) {
        int64_t x[3], y[3];
        if (!snapTriangle(v + t, x, y))
            continue;
        size_t mine = edges.size();
        for (int i = 0; i < 3; ++i) {
            const int j = i == 2 ? 0 : i + 1;
            if (y[i] == y[j])
                continue;  // a horizontal edge bounds no sample row by itself
            // A twin (the same edge reversed) in the previous triangle cancels
            // this one: both go, the later edges keeping their order.
            size_t k = previous;
            for (; k < mine; ++k)
                if (edges[k].ax == x[j] && edges[k].ay == y[j] && edges[k].bx == x[i] && edges[k].by == y[i])
                    break;
            if (k < mine) {
                edges.erase(edges.begin() + static_cast<std::ptrdiff_t>(k));
                --mine;
                continue;
            }
            const int64_t top = std::min(y[i], y[j]), bottom = std::max(y[i], y[j]);
            edges.push_back({static_cast<int32_t>(x[i]), static_cast<int32_t>(y[i]), static_cast<int32_t>(x[j]),
                             static_cast<int32_t>(y[j]), static_cast<int32_t>(floorDiv(top, kSubpixelOne)),
                             static_cast<int32_t>(floorDiv(bottom - 1, kSubpixelOne))});
        }
        previous = mine;
    }
    sortByFirstRow(edges.data() + first, edges.data() + edges.size());
}

void rasterShape(CpuFrame& frame, const ShapeEdge* edges, size_t count, const Paint& paint, int rowBegin, int rowEnd,
                 ShapeScratch& scratch)
{
    rowBegin = std::max(rowBegin, 0);
    rowEnd = std::min(rowEnd, frame.Height());
    if (count == 0 || rowBegin >= rowEnd)
        return;
    switch (frame.Pattern().count) {
    case 1:
        scanWith<1>(frame, edges, count, paint, rowBegin, rowEnd, scratch);
        break;
    case 2:
        scanWith<2>(frame, edges, count, paint, rowBegin, rowEnd, scratch);
        break;
    case 4:
        scanWith<4>(frame, edges, count, paint, rowBegin, rowEnd, scratch);
        break;
    default:
        scanWith<kMaxSamples>(frame, edges, count, paint, rowBegin, rowEnd, scratch);
        break;
    }
    if (paint.stencil == StencilMode::Write) {
        int last = edges[0].lastRow;
        for (size_t i = 1; i < count; ++i)
            last = std::max(last, edges[i].lastRow);
        const int y0 = std::max(rowBegin, edges[0].firstRow), y1 = std::min(rowEnd, last + 1);
        if (y0 < y1)
            frame.NoteStencilRows(y0, y1);
    }
}

}  // namespace cpu
