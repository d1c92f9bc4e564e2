// The outline of a circular arc or a full circle: shared by grArc and
// grCircle.
#pragma once

#include "band.h"

// Strokes radius r around (cx, cy) over the sweep's samples in the line
// width, with its border bands when the border switch is on; dashed, the
// pattern runs from 0 along the arc length at r (angle: the sweep's size in
// radians).
void strokeArc(float cx, float cy, float r, const Sweep& sweep, float angle, bool dashed);
