#include "draw_list.h"

#include <algorithm>
#include <cmath>

#include "edge_step.h"
#include "pixel_ops.h"

namespace cpu {

namespace {

// Rows a band: its colours (and the stencil and samples it touches) stay in
// the core's second-level cache while every command is drawn into it, where
// a frame-high band streamed the whole frame through memory for each draw.
// Many bands also even out busy and idle rows between threads.
constexpr int kBandRows = 32;

int64_t ceilDiv(int64_t a, int64_t b) { return -floorDiv(-a, b); }

// The pixels a shape of edges covers whole where it is an upright
// rectangle: two vertical edges over the same rows, one down and one up,
// so that the winding between them is one; empty for any other shape.
PixelBox insideOf(const ShapeEdge* edges, uint32_t count)
{
    if (count != 2)
        return {};
    const ShapeEdge& a = edges[0];
    const ShapeEdge& b = edges[1];
    if (a.ax != a.bx || b.ax != b.bx || a.ay != b.by || a.by != b.ay)
        return {};
    PixelBox box;
    box.x0 = static_cast<int>(ceilDiv(std::min(a.ax, b.ax), kSubpixelOne));
    box.x1 = static_cast<int>(floorDiv(std::max(a.ax, b.ax), kSubpixelOne));
    box.y0 = static_cast<int>(ceilDiv(std::min(a.ay, a.by), kSubpixelOne));
    box.y1 = static_cast<int>(floorDiv(std::max(a.ay, a.by), kSubpixelOne));
    return box;
}

}  // namespace

void DrawList::Clear(bool color, uint32_t rgba, bool stencil, uint8_t stencilValue)
{
    if (!color && !stencil)
        return;
    Command c{};
    c.kind = Kind::Clear;
    c.clearColor = color;
    c.clearRgba = rgba;
    c.clearStencil = stencil;
    c.clearStencilValue = stencilValue;
    commands_.push_back(c);
}

void DrawList::Triangles(const RasterVertex* vertices, int count, const Paint& paint)
{
    count -= count % 3;
    if (count <= 0)
        return;
    Command c{};
    c.kind = Kind::Triangles;
    c.paint = paint;
    c.shape = paint.texture == nullptr;
    c.top = vertices[0].y;
    c.bottom = vertices[0].y;
    for (int i = 0; i < count; ++i) {
        c.top = std::min(c.top, vertices[i].y);
        c.bottom = std::max(c.bottom, vertices[i].y);
    }
    if (c.shape) {
        c.first = static_cast<uint32_t>(edges_.size());
        appendShapeEdges(vertices, count, edges_);
        c.count = static_cast<uint32_t>(edges_.size() - c.first);
        if (c.count == 0)
            return;
        c.inside = insideOf(edges_.data() + c.first, c.count);
    } else {
        c.first = static_cast<uint32_t>(vertices_.size());
        c.count = static_cast<uint32_t>(count);
        vertices_.insert(vertices_.end(), vertices, vertices + count);
    }
    commands_.push_back(c);
}

bool DrawList::Overwrites(const Command& c, const CpuFrame& frame)
{
    // An exact-coverage draw writes a pixel it covers whole with its colour
    // unless it blends a translucent one or tests the stencil.
    return c.kind == Kind::Triangles && c.shape && frame.Exact() && c.paint.multisample &&
           c.paint.stencil == StencilMode::Off && (!c.paint.blend || alphaOf(c.paint.color) == 255);
}

// Bands [first, last] of rows a command may reach: every band the test in
// DrawRows lets it into, and all of them for NaN bounds.
inline void DrawList::BandsOf(const Command& c, int bands, int& first, int& last)
{
    first = 0;
    last = bands - 1;
    if (c.kind == Kind::Clear || !(c.top <= c.bottom))
        return;
    const float end = static_cast<float>(last);
    first = static_cast<int>(std::clamp(std::floor((c.top - 2.0f) / kBandRows), 0.0f, end));
    last = static_cast<int>(std::clamp(std::floor((c.bottom + 2.0f) / kBandRows), 0.0f, end));
}

void DrawList::SortIntoBands(int bands)
{
    bandStart_.assign(static_cast<size_t>(bands) + 1, 0);
    for (const Command& c : commands_) {
        int first, last;
        BandsOf(c, bands, first, last);
        for (int b = first; b <= last; ++b)
            ++bandStart_[static_cast<size_t>(b) + 1];
    }
    for (int b = 0; b < bands; ++b)
        bandStart_[b + 1] += bandStart_[b];
    // With room to spare: the next frames' lists, a little longer as the
    // picture moves, then need no more memory.
    if (bandCommands_.capacity() < bandStart_[bands])
        bandCommands_.reserve(2 * static_cast<size_t>(bandStart_[bands]));
    bandCommands_.resize(bandStart_[bands]);
    bandFill_.assign(bandStart_.begin(), bandStart_.end() - 1);
    for (uint32_t i = 0; i < commands_.size(); ++i) {
        int first, last;
        BandsOf(commands_[i], bands, first, last);
        for (int b = first; b <= last; ++b)
            bandCommands_[bandFill_[b]++] = i;
    }
}

void DrawList::DrawRows(int band, int y0, int y1, int thread)
{
    ShapeScratch& scratch = scratch_[static_cast<size_t>(thread)];
    CpuFrame& frame = *frame_;
    const float bandTop = static_cast<float>(y0) - 1.0f;
    const float bandBottom = static_cast<float>(y1) + 1.0f;
    for (uint32_t k = bandStart_[band]; k < bandStart_[band + 1]; ++k) {
        const size_t i = bandCommands_[k];
        const Command& c = commands_[i];
        if (c.kind == Kind::Clear) {
            // A background drawn right after the clear need not be cleared under.
            const Command* next = i + 1 < commands_.size() ? &commands_[i + 1] : nullptr;
            if (c.clearColor && next && Overwrites(*next, frame))
                frame.ClearColorAround(y0, y1, c.clearRgba, next->inside);
            else if (c.clearColor)
                frame.ClearColor(y0, y1, c.clearRgba);
            if (c.clearStencil)
                frame.ClearStencil(y0, y1, c.clearStencilValue);
            continue;
        }
        // NaN bounds fail both tests and go on to the rasteriser, which skips them.
        if (c.bottom < bandTop || c.top > bandBottom)
            continue;
        // Antialiased colour draws take exact coverage where the frame has it;
        // the stencil is written at pixel centres.
        if (c.shape && frame.Exact() && c.paint.multisample && c.paint.stencil != StencilMode::Write) {
            rasterShapeExact(frame, edges_.data() + c.first, c.count, c.paint, y0, y1,
                             cells_[static_cast<size_t>(thread)]);
            continue;
        }
        if (c.shape) {
            rasterShape(frame, edges_.data() + c.first, c.count, c.paint, y0, y1, scratch);
            continue;
        }
        rasterTriangles(frame, vertices_.data() + c.first, c.count, c.paint, y0, y1);
    }
}

void DrawList::DrawBand(void* context, int band, int thread)
{
    auto* list = static_cast<DrawList*>(context);
    const int y0 = band * list->bandRows_;
    const int y1 = std::min(y0 + list->bandRows_, list->frame_->Height());
    if (y0 < y1)
        list->DrawRows(band, y0, y1, thread);
}

void DrawList::Execute(CpuFrame& frame, BandPool& pool)
{
    if (!commands_.empty()) {
        frame_ = &frame;
        bandRows_ = kBandRows;
        const int bands = (frame.Height() + kBandRows - 1) / kBandRows;
        SortIntoBands(bands);
        if (scratch_.size() < static_cast<size_t>(pool.Threads()))
            scratch_.resize(static_cast<size_t>(pool.Threads()));
        if (cells_.size() < static_cast<size_t>(pool.Threads()))
            cells_.resize(static_cast<size_t>(pool.Threads()));
        // Every thread's cells at once: a thread drawing its first band in a
        // later frame then allocates nothing.
        if (frame.Exact())
            for (CoverageCells& cells : cells_)
                cells.Reserve(kBandRows, frame.Width());
        pool.Run(&DrawList::DrawBand, this, bands);
        frame_ = nullptr;
    }
    commands_.clear();
    vertices_.clear();
    edges_.clear();
}

}  // namespace cpu
