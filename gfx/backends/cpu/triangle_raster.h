// Rasterising one triangle into a CpuFrame by the GL's rules: positions
// snapped to 1/256 pixel; a sample is covered when it lies inside, or on a
// top or left edge (top: the edge above the interior in memory-row order),
// so that triangles sharing an edge never both cover a sample nor leave
// one uncovered. Every sample of the frame's pattern is tested; the
// fragment's colour is computed once a pixel, at its centre, as the GL
// shades a multisampled pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cpu_frame.h"
#include "cpu_texture.h"

namespace cpu {

// A vertex in window coordinates (x right, y the memory row) with its
// texture coordinates.
struct RasterVertex {
    float x, y, s, t;
};

enum class StencilMode {
    Off,
    Write,  // covered samples take the reference value; colour is untouched
    Test,   // only samples whose value equals the reference are drawn
};

// How the covered samples are drawn.
struct Paint {
    uint32_t color = 0xFF000000u;        // packed RGBA
    const CpuTexture* texture = nullptr;  // modulates color when set
    bool blend = false;                   // source alpha over the frame
    // Off: on a multisampled frame the pixel centre decides and every
    // sample is written, as the GL draws with GL_MULTISAMPLE disabled.
    bool multisample = true;
    StencilMode stencil = StencilMode::Off;
    uint8_t stencilRef = 0;
};

// The partly covered pixels of one solid-coloured draw, gathered over all
// its triangles before any is written: triangles of one draw cover
// disjoint samples, so writing a pixel once with the union of its
// triangles' samples gives the GL's picture, and a pixel that the draw
// covers whole in the end is never split. One per band of rows.
// The masks gathered live in the frame's coverage plane.
class CoverageAccumulator {
public:
    void Add(CpuFrame& frame, size_t pixel, uint32_t mask)
    {
        uint8_t& gathered = frame.Coverage()[pixel];
        if (gathered == 0)
            touched_.push_back(static_cast<uint32_t>(pixel));
        gathered = static_cast<uint8_t>(gathered | mask);
    }
    // Writes the gathered pixels with paint and forgets them.
    void Flush(CpuFrame& frame, const Paint& paint);

private:
    std::vector<uint32_t> touched_;
};

// Largest coordinate magnitude the rasteriser takes, in pixels; a triangle
// reaching beyond it must be clipped first (it is skipped).
constexpr float kMaxRasterCoordinate = 1 << 20;

// Draws the triangle's samples in rows [rowBegin, rowEnd) of the frame. With
// an accumulator (for an untextured paint on a multisampled frame), partly
// covered pixels are gathered there for its Flush instead of written.
void rasterTriangle(CpuFrame& frame, const RasterVertex* v, const Paint& paint, int rowBegin, int rowEnd,
                    CoverageAccumulator* accumulator = nullptr);

}  // namespace cpu
