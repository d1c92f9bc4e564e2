#include "draw_list.h"

#include <algorithm>

namespace cpu {

namespace {

// Rows a band: its colours (and the stencil and samples it touches) stay in
// the core's second-level cache while every command is drawn into it, where
// a frame-high band streamed the whole frame through memory for each draw.
// Many bands also even out busy and idle rows between threads.
constexpr int kBandRows = 32;

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
    } else {
        c.first = static_cast<uint32_t>(vertices_.size());
        c.count = static_cast<uint32_t>(count);
        vertices_.insert(vertices_.end(), vertices, vertices + count);
    }
    commands_.push_back(c);
}

void DrawList::DrawRows(int y0, int y1, int thread)
{
    ShapeScratch& scratch = scratch_[static_cast<size_t>(thread)];
    CpuFrame& frame = *frame_;
    const float bandTop = static_cast<float>(y0) - 1.0f;
    const float bandBottom = static_cast<float>(y1) + 1.0f;
    for (const Command& c : commands_) {
        if (c.kind == Kind::Clear) {
            if (c.clearColor)
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
        list->DrawRows(y0, y1, thread);
}

void DrawList::Execute(CpuFrame& frame, BandPool& pool)
{
    if (!commands_.empty()) {
        frame_ = &frame;
        bandRows_ = kBandRows;
        const int bands = (frame.Height() + kBandRows - 1) / kBandRows;
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
