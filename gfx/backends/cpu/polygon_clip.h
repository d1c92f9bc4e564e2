// Clipping triangles to half-planes on the processor, for backends
// without the GL's user clip planes: a triangle becomes a convex polygon
// whose new vertices carry interpolated texture coordinates, as the GL's
// clipper gives them.
#pragma once

#include "triangle_raster.h"

namespace cpu {

// Keeps the points where a * x + b * y + c >= 0.
struct HalfPlane {
    double a, b, c;
};

constexpr int kMaxClipPlanes = 8;
// A triangle cut by kMaxClipPlanes planes has at most this many corners.
constexpr int kMaxClippedVertices = 3 + kMaxClipPlanes;

// Clips the triangle to all planes into out (room for kMaxClippedVertices);
// returns the number of corners, 0 when nothing is left. planeCount is at
// most kMaxClipPlanes.
int clipTriangle(const RasterVertex* triangle, const HalfPlane* planes, int planeCount, RasterVertex* out);

}  // namespace cpu
