#include "segments.h"

#include <cmath>

// Radii beyond this would overflow the integer segment arithmetic; no
// display draws anything near it.
constexpr float kMaxSegmentRadius = 1.0e9f;
constexpr double kMaxEllipseSegments = 65536.0;

static float segmentRadius(float r)
{
    if (!(r >= 0.0f))
        return 0.0f;
    return minf(r, kMaxSegmentRadius);
}

int circleSegments(float r)
{
    return 6 * static_cast<int>(std::sqrt(maxf(segmentRadius(r), 1.0f)));
}

int arcSegments(float r, float sweepDeg)
{
    const int sweep = static_cast<int>(std::fabs(clampSweep(sweepDeg)));
    const long long n = static_cast<long long>(sweep) * 6 *
                        static_cast<long long>(std::sqrt(segmentRadius(r))) / 360;
    return n < 2 ? 2 : static_cast<int>(n);
}

int ellipseSegments(float rx, float ry)
{
    const double m = std::fmin(rx, ry);
    const double big = std::fmax(rx, ry);
    if (!(m > 0.0))
        return 0;
    const double n = 6.0 * std::sqrt(m) * big / m;
    return static_cast<int>(std::fmin(n, kMaxEllipseSegments));
}

float clampSweep(float sweepDeg)
{
    if (std::isnan(sweepDeg))
        return 0.0f;
    return maxf(-360.0f, minf(sweepDeg, 360.0f));
}
