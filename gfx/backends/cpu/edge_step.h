// An edge of a triangle stepped row by row in exact integer arithmetic: at
// each sample row, the first or last pixel whose sample lies inside, with
// no division in the loop. Shared by the triangle and the shape scan.
#pragma once

#include <cstdint>

#include "sample_pattern.h"

namespace cpu {

inline int64_t floorDiv(int64_t a, int64_t b)  // b > 0
{
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

enum class EdgeKind { Left, Right, Flat };

// One edge a -> b in fixed point, oriented so that the interior lies where
// E(p) = dx * (py - ay) - dy * (px - ax) is positive; bias is 0 for a top
// or left edge (samples on it are covered) and 1 otherwise.
struct Edge {
    EdgeKind kind;
    int64_t ax, ay, dx, dy, bias;
    int64_t divisor, stepQuotient, stepRemainder;  // for Left and Right
};

// floor(M / divisor) for an edge and a sample row, stepped a row at a time.
struct Bound {
    int64_t quotient, remainder;
};

inline Edge makeEdge(int64_t ax, int64_t ay, int64_t bx, int64_t by)
{
    Edge e{};
    e.ax = ax;
    e.ay = ay;
    e.dx = bx - ax;
    e.dy = by - ay;
    const bool topLeft = e.dy < 0 || (e.dy == 0 && e.dx > 0);
    e.bias = topLeft ? 0 : 1;
    e.kind = e.dy < 0 ? EdgeKind::Left : (e.dy > 0 ? EdgeKind::Right : EdgeKind::Flat);
    if (e.kind != EdgeKind::Flat) {
        e.divisor = kSubpixelOne * (e.dy < 0 ? -e.dy : e.dy);
        const int64_t step = kSubpixelOne * e.dx;  // M grows by this a row
        e.stepQuotient = floorDiv(step, e.divisor);
        e.stepRemainder = step - e.stepQuotient * e.divisor;
    }
    return e;
}

// A left edge bounds x from below: x >= ceil(N / divisor) = -floor(M / divisor)
// with M = -N. A right edge from above: x <= floor(M / divisor).
inline Bound startBound(const Edge& e, int64_t px, int64_t py)
{
    int64_t m = 0;
    if (e.kind == EdgeKind::Left)
        m = -(e.bias - e.dx * (py - e.ay) - e.dy * (e.ax - px));
    else
        m = e.dx * (py - e.ay) + e.dy * (e.ax - px) - e.bias;
    const int64_t q = floorDiv(m, e.divisor);
    return {q, m - q * e.divisor};
}

// Without a branch: the carry's direction follows the edge's slope
// fraction, which no predictor guesses.
inline void stepBound(const Edge& e, Bound& b)
{
    const int64_t remainder = b.remainder + e.stepRemainder;
    const int64_t carry = remainder >= e.divisor;
    b.remainder = remainder - (e.divisor & -carry);
    b.quotient += e.stepQuotient + carry;
}

// Another sample's bound differs from the first sample's by a constant,
// split like the bound into a quotient and a remainder, so that one
// compare gives it.
inline void sampleOffsets(const Edge& e, const SamplePattern& pattern, int count, Bound* out)
{
    for (int s = 0; s < count; ++s) {
        const int64_t delta = e.dx * (pattern.y[s] - pattern.y[0]) - e.dy * (pattern.x[s] - pattern.x[0]);
        const int64_t q = floorDiv(delta, e.divisor);
        out[s] = {q, delta - q * e.divisor};
    }
}

// The bound of sample s, given the first sample's and s's offset.
inline int64_t sampleQuotient(const Edge& e, const Bound& first, const Bound& offset)
{
    return first.quotient + offset.quotient + (first.remainder + offset.remainder >= e.divisor);
}

}  // namespace cpu
