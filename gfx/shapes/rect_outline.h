// Rectangle outlines between normalised edges (xl <= xh, yl <= yh): the
// centre lines of the outline of the current line width.
#pragma once

#include "frame.h"

// A frame of the line width in the colour; with the border switch, bands of
// the border width outside and inside it, mitred at the corners.
void drawSolidRectOutline(const RectEdges& edges);

// The same outline built from one-pixel rows so that the dash pattern runs
// along each side and on round the corners, starting at (xl, yl).
void drawDashedRectOutline(const RectEdges& edges);
