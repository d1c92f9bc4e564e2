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

// Largest coordinate magnitude the rasteriser takes, in pixels; a triangle
// reaching beyond it must be clipped first (it is skipped).
constexpr float kMaxRasterCoordinate = 1 << 20;

// The triangle's corners in 1/256 pixel, ordered so that its interior lies
// on the positive side of each edge; false for one that covers nothing or
// reaches beyond kMaxRasterCoordinate.
bool snapTriangle(const RasterVertex* v, int64_t* x, int64_t* y);

// Draws the triangle's samples in rows [rowBegin, rowEnd) of the frame.
void rasterTriangle(CpuFrame& frame, const RasterVertex* v, const Paint& paint, int rowBegin, int rowEnd);

// Draws count / 3 triangles (count a multiple of 3) as rasterTriangle does
// each, in rows [rowBegin, rowEnd), skipping those lying outside them.
void rasterTriangles(CpuFrame& frame, const RasterVertex* v, size_t count, const Paint& paint, int rowBegin,
                     int rowEnd);

}  // namespace cpu
