// The first quadrant of an axis-aligned ellipse, computed once and mirrored
// into the other three: the shared geometry of the filled and outlined
// ellipse draws.
#pragma once

struct RimVec {
    float x, y;
};

// One rim point of the first quadrant, relative to the centre, with the
// edges built on it: the line's outer and inner edge at hw, the border's at
// hw + bw. Inner edges stop where they would cross the major axis (at the
// centre for a circle).
struct RimRecord {
    RimVec rim;
    RimVec outer, inner;
    RimVec borderOuter, borderInner;
};

// Steps per quadrant for an ellipse whose drawn extent has semi-axes (a, b).
int ellipseQuadrantSteps(float a, float b);

// Rim record k of 0..n: k = 0 lies on the +x axis, k = n on the +y axis, the
// others evenly spaced in parameter angle between them.
RimRecord ellipseRimRecord(float rx, float ry, int k, int n, float hw, float bw);

// Chord length between rim points k - 1 and k.
float ellipseRimChord(float rx, float ry, int k, int n);

// Writes count first-quadrant points four times, mirrored into the quadrants
// (+x, +y), (-x, +y), (-x, -y), (+x, -y) and moved to the centre (cx, cy):
// 4 * count vertices. Returns the position after them.
float* writeMirrored(float* out, const RimVec* piece, int count, float cx, float cy);

// Texture coordinates for the pieces writeMirrored wrote: the first
// coordinate s of the first quadrant becomes halfTurn - s, halfTurn + s and
// 2 * halfTurn - s in the others, so that a pattern runs once round
// counter-clockwise from the +x axis without a jump.
float* writeMirroredTexCoords(float* out, const RimVec* piece, int count, float halfTurn);
