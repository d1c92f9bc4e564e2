#pragma once

// The filled rectangle between two corners: covers [x1 - 0.5, x2 - 0.5]
// per axis for x2 >= x1 (the second corner's pixel is never covered), with
// a frame of the border width when the border switch is on.
void fillRect(float x1, float y1, float x2, float y2);
