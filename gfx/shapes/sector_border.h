// The border along the two radii of a filled partial sector, with the
// corner at the centre closed by a parallelogram, a mitre or, in a narrow
// gap, a point on the gap's bisector.
#pragma once

#include "radial_edge.h"

// The sector of radius r around c from angle a1 over sweep (radians,
// 0 < sweep < 2 pi, counter-clockwise), border width bw: 18, 12 or 6
// vertices of triangles.
TriangleList<6> sectorRadialBorder(Vec2f c, float r, float bw, float a1, float sweep);
