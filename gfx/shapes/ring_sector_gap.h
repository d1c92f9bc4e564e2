// The border along the two straight edges of a filled partial ring sector.
// Where the gap the sector leaves open is too narrow for both bands, they
// meet on the gap's bisector instead of crossing.
#pragma once

#include "radial_edge.h"

// Edges at angles p < q (radians, q - p < 2 pi) of the sector between the
// radii rI and rO (border edges included) around c, border width bw: 12 or
// 18 vertices of triangles.
TriangleList<6> ringSectorEdgeBorder(Vec2f c, float rI, float rO, float bw, float p, float q);
