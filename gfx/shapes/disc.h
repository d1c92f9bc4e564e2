#pragma once

class Sweep;

// The fan of the centre and the rim at radius r over sweep, in the colour,
// with a band of the border width outside the rim when the border switch is
// on. False when the scratch buffer could not be had (nothing drawn).
bool drawRimmedFan(const Sweep& sweep, float cx, float cy, float r);

// A filled disc of radius r at (cx, cy) in the colour, with a band of the
// border width around it when the border switch is on. Used by circles with
// fill on and by antialiased points.
void fillDisc(float cx, float cy, float r);
