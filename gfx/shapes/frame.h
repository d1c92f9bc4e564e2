// Axis-aligned rectangles by their edges, and the frame between two nested
// ones: the shape of rectangle fills' borders and of solid outlines.
#pragma once

struct RectEdges {
    float xl, yl, xh, yh;
};

enum { kFrameStripVertices = 10, kFrameTriangleVertices = 24 };

// The rectangle moved outward by d on every side (inward for negative d).
RectEdges grownBy(const RectEdges& r, float d);

// The frame from outer to inner as a triangle strip: outer and inner corner
// alternately, corners in the order (xl, yl), (xh, yl), (xh, yh), (xl, yh),
// (xl, yl). Writes kFrameStripVertices vertices.
void writeFrameStrip(float* out, const RectEdges& outer, const RectEdges& inner);

// The same frame as four trapezoids of two triangles each, so that several
// frames can go into one draw. Writes kFrameTriangleVertices vertices.
void writeFrameTriangles(float* out, const RectEdges& outer, const RectEdges& inner);
