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

// How the n steps of a quadrant place their rim points. Even: step k lies at
// parameter angle k * dt. Lagging, as displays designed for this runtime
// were drawn: steps 1..n-1 lie at (k - 1) * dt, so the first repeats the
// start point and the last spans two angle steps to the +y axis.
enum class RimSpacing { Even, Lagging };

// The rim point index of step k of 0..n: 0 is the +x axis end, n the +y
// axis end, j in between the point at parameter angle j * dt.
int ellipseRimIndex(int k, int n, RimSpacing spacing);

// The rim record of point index j (see ellipseRimIndex) of a quadrant of n
// steps.
RimRecord ellipseRimRecord(float rx, float ry, int j, int n, float hw, float bw);

// Chord length between the rim points of indices from and to.
float ellipseRimChord(float rx, float ry, int from, int to, int n);

// Writes count first-quadrant points four times, mirrored into the quadrants
// (+x, +y), (-x, +y), (-x, -y), (+x, -y) and moved to the centre (cx, cy):
// 4 * count vertices. Returns the position after them.
float* writeMirrored(float* out, const RimVec* piece, int count, float cx, float cy);

// Texture coordinates for the pieces writeMirrored wrote: the first
// coordinate s of the first quadrant becomes halfTurn - s, halfTurn + s and
// 2 * halfTurn - s in the others, so that a pattern runs once round
// counter-clockwise from the +x axis without a jump.
float* writeMirroredTexCoords(float* out, const RimVec* piece, int count, float halfTurn);
