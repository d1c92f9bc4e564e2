// Hit-testing in the display's current coordinates: the point is taken back
// through the modelview (less the projection's pixel shift) by the inverse
// of its 2-D affine part.
#include <cmath>

#include "state.h"

bool grToLocal(float x, float y, float* localX, float* localY)
{
    float m[16];
    backend().getModelview(m);
    const double a = m[0], b = m[1], c = m[4], d = m[5];
    const double tx = m[12] - projectionPixelOffset(), ty = m[13] - projectionPixelOffset();
    const double det = a * d - b * c;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12 || !std::isfinite(x) || !std::isfinite(y))
        return false;
    const double px = x - tx, py = y - ty;
    *localX = static_cast<float>((d * px - c * py) / det);
    *localY = static_cast<float>((a * py - b * px) / det);
    return true;
}

bool grHitRect(float x, float y, int x1, int y1, int x2, int y2)
{
    float u = 0.0f, v = 0.0f;
    if (!grToLocal(x, y, &u, &v))
        return false;
    const float left = static_cast<float>(x1 < x2 ? x1 : x2), right = static_cast<float>(x1 < x2 ? x2 : x1);
    const float bottom = static_cast<float>(y1 < y2 ? y1 : y2), top = static_cast<float>(y1 < y2 ? y2 : y1);
    return u >= left && u <= right && v >= bottom && v <= top;
}

bool grHitCircle(float x, float y, int cx, int cy, int r)
{
    float u = 0.0f, v = 0.0f;
    if (r < 0 || !grToLocal(x, y, &u, &v))
        return false;
    const double dx = u - cx, dy = v - cy;
    return dx * dx + dy * dy <= static_cast<double>(r) * r;
}

bool grHitPolygon(float x, float y, const GrPoint* points, int count)
{
    float u = 0.0f, v = 0.0f;
    if (!points || count < 3 || !grToLocal(x, y, &u, &v))
        return false;
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const double xi = points[i].x, yi = points[i].y, xj = points[j].x, yj = points[j].y;
        // On an edge counts as inside.
        const double cross = (xj - xi) * (v - yi) - (yj - yi) * (u - xi);
        if (cross == 0.0 && u >= std::fmin(xi, xj) && u <= std::fmax(xi, xj) && v >= std::fmin(yi, yj) &&
            v <= std::fmax(yi, yj))
            return true;
        if ((yi > v) != (yj > v) && u < (xj - xi) * (v - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}
