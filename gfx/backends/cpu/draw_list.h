// A frame's drawing recorded as commands and then drawn in bands of rows,
// on as many threads as the pool has. Recording copies the vertices into
// memory kept from frame to frame: a steady frame allocates nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "band_pool.h"
#include "cpu_frame.h"
#include "exact_raster.h"
#include "shape_raster.h"
#include "triangle_raster.h"

namespace cpu {

class DrawList {
public:
    // Clears the colour to rgba and / or the stencil to stencilValue.
    void Clear(bool color, uint32_t rgba, bool stencil, uint8_t stencilValue);
    // Records count / 3 triangles (count a multiple of 3) drawn with paint:
    // untextured ones as one shape, textured ones triangle by triangle. The
    // paint's texture must stay as it is until the list is drawn.
    void Triangles(const RasterVertex* vertices, int count, const Paint& paint);
    bool Empty() const { return commands_.empty(); }

    // Draws everything recorded into frame and empties the list.
    void Execute(CpuFrame& frame, BandPool& pool);

private:
    enum class Kind { Clear, Triangles };
    struct Command {
        Kind kind;
        Paint paint;
        uint32_t first, count;  // vertices, or for a shape its edges
        bool shape;
        float top, bottom;      // rows the triangles reach
        bool clearColor, clearStencil;
        uint32_t clearRgba;
        uint8_t clearStencilValue;
        // For a shape that is an upright rectangle: the pixels it covers whole.
        PixelBox inside;
    };
    static void DrawBand(void* context, int band, int thread);
    static void BandsOf(const Command& c, int bands, int& first, int& last);
    // Lists each band's commands, so that a band visits only those.
    void SortIntoBands(int bands);
    void DrawRows(int band, int y0, int y1, int thread);
    // Whether c sets every pixel of c.inside to its colour alone, whatever
    // was there, in frame.
    static bool Overwrites(const Command& c, const CpuFrame& frame);

    std::vector<Command> commands_;
    std::vector<RasterVertex> vertices_;
    std::vector<ShapeEdge> edges_;
    std::vector<ShapeScratch> scratch_;  // one a thread
    std::vector<CoverageCells> cells_;   // one a thread
    // Band b's commands, in order: bandCommands_[bandStart_[b], bandStart_[b + 1]).
    std::vector<uint32_t> bandStart_, bandFill_, bandCommands_;
    CpuFrame* frame_ = nullptr;
    int bandRows_ = 0;
};

}  // namespace cpu
