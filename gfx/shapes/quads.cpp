#include "quads.h"

#include <cmath>

bool segmentDirection(float x1, float y1, float x2, float y2, float* c, float* s, float* length)
{
    if (x1 == x2 && y1 == y2)
        return false;
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float len = static_cast<float>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
    if (!(len > 0.0f) || !std::isfinite(len))
        return false;
    *c = dx / len;
    *s = dy / len;
    *length = len;
    return true;
}

static void writeBand(float* out, float x1, float y1, float x2, float y2, float c, float s, float width)
{
    const float nx = s * (width / 2);
    const float ny = -c * (width / 2);
    const float v[12] = {
        x1 + nx, y1 + ny, x1 - nx, y1 - ny, x2 + nx, y2 + ny,
        x1 - nx, y1 - ny, x2 + nx, y2 + ny, x2 - nx, y2 - ny,
    };
    for (int i = 0; i < 12; ++i)
        out[i] = v[i];
}

int writeEdgeBand(float* out, float x1, float y1, float x2, float y2, float width)
{
    float c, s, len;
    if (!segmentDirection(x1, y1, x2, y2, &c, &s, &len))
        return 0;
    writeBand(out, x1, y1, x2, y2, c, s, width);
    return 6;
}

void appendSegmentQuad(float x1, float y1, float x2, float y2, float width, float** position)
{
    float c, s, len;
    if (!segmentDirection(x1, y1, x2, y2, &c, &s, &len))
        return;
    writeBand(*position, x1 - c / 2, y1 - s / 2, x2 - c / 2, y2 - s / 2, c, s, width);
    *position += 12;
}
