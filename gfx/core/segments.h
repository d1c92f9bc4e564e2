// Small numeric helpers shared by the primitives: float min/max with the
// library's tie rules, and the segment counts of the curved shapes.
#pragma once

inline float minf(float a, float b) { return b > a ? a : b; }
inline float maxf(float a, float b) { return b < a ? a : b; }
inline int maxi(int a, int b) { return b < a ? a : b; }

constexpr float kDegToRad = 0.017453292f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;

// 6 * trunc(sqrt(max(r, 1))).
int circleSegments(float r);
// (trunc(|sweep|) * 6 * trunc(sqrt(r))) / 360 in integers, at least 2.
int arcSegments(float r, float sweepDeg);
// trunc(6 * sqrt(m) * M / m), m and M the smaller and larger semi-axis.
int ellipseSegments(float rx, float ry);

// Sweep limited to [-360, 360] degrees.
float clampSweep(float sweepDeg);
