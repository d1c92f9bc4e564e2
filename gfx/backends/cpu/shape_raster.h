// An untextured draw rasterised as one shape rather than triangle by
// triangle. Each triangle adds one at the first pixel its left edge lets
// in and takes one away at the first its right edge shuts out, per sample
// row; a sample is covered where the sum is positive. Where consecutive
// triangles share an edge (strips, fans, a clipped triangle's pieces) the
// two cancel exactly under the top-left rule, so that edge is dropped: a
// fan of n slivers is walked as its rim, not n times its height. Each row's
// crossings, sorted, cut it into runs of pixels with the same covered
// samples: whole runs are filled, and a partly covered pixel is written
// once with all its samples. Where triangles overlap, a sample is blended
// as many times as it is covered, as the GL does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cpu_frame.h"
#include "edge_step.h"
#include "triangle_raster.h"

namespace cpu {

// An edge a -> b of a triangle whose interior lies on its positive side,
// in 1/256 pixel; never horizontal.
struct ShapeEdge {
    int32_t ax, ay, bx, by;
    int32_t firstRow, lastRow;  // pixel rows whose samples it may bound
};

// Appends the edges of count / 3 triangles to edges, edges shared by
// consecutive triangles left out, and sorts the appended ones by first row.
void appendShapeEdges(const RasterVertex* v, int count, std::vector<ShapeEdge>& edges);

// The scan's working memory, one per band of rows, kept from draw to draw
// so that a steady frame allocates nothing.
class ShapeScratch {
public:
    struct Active {
        Active() {}  // left as it is: activation fills what the scan reads
        Edge edge;
        Bound bound;  // the first sample's, at the current row
        Bound offsets[kMaxSamples];
        int64_t top, bottom;  // the sample rows it bounds: [top, bottom)
        int64_t x;            // the first sample's crossing, for ordering
        int lastRow;
    };
    std::vector<Active> active;
    std::vector<uint64_t> crossings;  // per row: x, sample, which way
};

// Draws the shape of edges [edges, edges + count), sorted by first row, in
// rows [rowBegin, rowEnd) of the frame; paint has no texture.
void rasterShape(CpuFrame& frame, const ShapeEdge* edges, size_t count, const Paint& paint, int rowBegin,
                 int rowEnd, ShapeScratch& scratch);

}  // namespace cpu
