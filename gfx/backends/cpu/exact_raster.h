// Exact coverage: an untextured draw's share of each pixel's area, computed
// from its edges rather than counted at sample positions. Every edge adds
// its signed cover and area to the cells (pixels) it crosses, row by row;
// a running sum along each touched row then gives each pixel's winding
// coverage, taken as min(|sum|, 1). Edges two triangles of a draw share
// cancel exactly, so a draw is drawn as its outline: a pixel is blended
// once however many of the draw's triangles cover it (where the GL, at any
// sample count, blends an overlapped sample once per triangle).
// Partly covered pixels become (what the draw writes there) weighted by
// their coverage over what was there; fully covered runs are written whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cpu_frame.h"
#include "shape_raster.h"

namespace cpu {

// The cells of a band of rows, kept from draw to draw (one a thread) so that
// a steady frame allocates nothing; only touched cells are cleared.
// Which groups of cells a row's edges touched is kept as bits, so that the
// sweep visits only those and composites the runs between them whole.
struct CoverageCells {
    // Room for rows x width pixels; every cell and bit stays zero between draws.
    void Reserve(int rows, int width);

    size_t stride = 0, words = 0;   // cells and bit words a row
    std::vector<float> cells;       // rows x stride
    std::vector<uint64_t> touched;  // rows x words, a bit a group of cells
};

// Draws the shape of edges [edges, edges + count), sorted by first row, in
// rows [rowBegin, rowEnd) of the frame with exact coverage; paint has no
// texture and writes colour (a stencil test is made at pixel centres).
void rasterShapeExact(CpuFrame& frame, const ShapeEdge* edges, size_t count, const Paint& paint, int rowBegin,
                      int rowEnd, CoverageCells& cells);

}  // namespace cpu
