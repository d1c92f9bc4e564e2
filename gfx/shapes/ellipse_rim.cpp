#include "ellipse_rim.h"

#include <cmath>

#include "segments.h"

namespace {

struct RimPoint {
    RimVec p;
    RimVec unit;  // outward unit normal
    float reach;  // |N|: inward distance along the normal to the major axis
};

struct Mirror {
    float x, y;
};

constexpr Mirror kQuadrants[4] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};

RimPoint pointWithNormal(float x, float y, float nx, float ny)
{
    const float length = std::sqrt(nx * nx + ny * ny);
    return {{x, y}, {nx / length, ny / length}, length};
}

// The axis ends are written exactly so that the mirrored quadrants meet.
RimPoint rimPoint(float rx, float ry, int k, int n)
{
    const bool wide = rx >= ry;
    if (k <= 0)
        return {{rx, 0}, {1, 0}, wide ? ry * ry / rx : rx};
    if (k >= n)
        return {{0, ry}, {0, 1}, wide ? ry : rx * rx / ry};
    const float theta = static_cast<float>(k) * (kHalfPi / static_cast<float>(n));
    if (wide) {
        const float y = ry * static_cast<float>(std::sin(static_cast<double>(theta)));
        const float x = std::sqrt(maxf(0.0f, rx * rx - (rx * rx / (ry * ry)) * y * y));
        return pointWithNormal(x, y, x * ry * ry / (rx * rx), y);
    }
    const float x = rx * static_cast<float>(std::cos(static_cast<double>(theta)));
    const float y = std::sqrt(maxf(0.0f, ry * ry - (ry * ry / (rx * rx)) * x * x));
    return pointWithNormal(x, y, x, y * rx * rx / (ry * ry));
}

RimVec outward(const RimPoint& r, float d) { return {r.p.x + d * r.unit.x, r.p.y + d * r.unit.y}; }

RimVec inward(const RimPoint& r, float d)
{
    const float depth = minf(d, r.reach);
    return {r.p.x - depth * r.unit.x, r.p.y - depth * r.unit.y};
}

}  // namespace

int ellipseQuadrantSteps(float a, float b) { return ellipseSegments(a, b) / 4 + 1; }

int ellipseRimIndex(int k, int n, RimSpacing spacing)
{
    if (spacing == RimSpacing::Even || k <= 0 || k >= n)
        return k;
    return k - 1;
}

RimRecord ellipseRimRecord(float rx, float ry, int j, int n, float hw, float bw)
{
    const RimPoint r = rimPoint(rx, ry, j, n);
    return {r.p, outward(r, hw), inward(r, hw), outward(r, hw + bw), inward(r, hw + bw)};
}

float ellipseRimChord(float rx, float ry, int from, int to, int n)
{
    const RimVec a = rimPoint(rx, ry, from, n).p;
    const RimVec b = rimPoint(rx, ry, to, n).p;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

float* writeMirrored(float* out, const RimVec* piece, int count, float cx, float cy)
{
    for (const Mirror& m : kQuadrants)
        for (int i = 0; i < count; ++i) {
            *out++ = cx + m.x * piece[i].x;
            *out++ = cy + m.y * piece[i].y;
        }
    return out;
}

float* writeMirroredTexCoords(float* out, const RimVec* piece, int count, float halfTurn)
{
    // A quadrant mirrored in one axis is walked backwards going round.
    const float base[4] = {0, halfTurn, halfTurn, 2 * halfTurn};
    for (int q = 0; q < 4; ++q)
        for (int i = 0; i < count; ++i) {
            *out++ = base[q] + kQuadrants[q].x * kQuadrants[q].y * piece[i].x;
            *out++ = piece[i].y;
        }
    return out;
}
