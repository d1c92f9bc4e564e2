#pragma once

// A filled disc of radius r at (cx, cy) in the colour, with a band of the
// border width around it when the border switch is on. Used by circles with
// fill on and by antialiased points.
void fillDisc(float cx, float cy, float r);
