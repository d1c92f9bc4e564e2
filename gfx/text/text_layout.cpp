#include "text_layout.h"

#include <cmath>

constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kPenOffset = 0.375f;

TextFrame textFrame(float angleDeg)
{
    const float a = angleDeg * kDegreesToRadians;
    const float s = std::sin(a);
    const float c = std::cos(a);
    return {{c, s}, {-s, c}};
}

Vec2f penAtAnchor(float x, float y, const TextFrame& frame)
{
    const float c = frame.d.x;
    const float s = frame.d.y;
    return {x + (-kPenOffset * c + kPenOffset * s), y + (-kPenOffset * s - kPenOffset * c)};
}

bool alignmentNeedsWidth(int h) { return h == 1 || h == 2; }

static float horizontalShift(int h, float width)
{
    if (h == 1)
        return std::trunc(width / 2.0f);
    return h == 2 ? width - 1.0f : 0.0f;
}

// How far the baseline lies below the anchor.
static float baselineDrop(int v, const FontMetrics& m)
{
    switch (v) {
    case 1:
        return m.height - m.descent - 1.0f;
    case 2:
        return std::trunc(m.height / 2.0f - m.descent);
    case 3:
        return -m.descent;
    default:
        return 0.0f;
    }
}

Vec2f alignPen(Vec2f pen, const TextFrame& frame, int h, int v, float width, const FontMetrics& metrics)
{
    if (h < 0 || h > 2 || v < 0 || v > 3)
        return pen;
    return pen - horizontalShift(h, width) * frame.d - baselineDrop(v, metrics) * frame.n;
}

void plateCorners(Vec2f pen, const TextFrame& frame, float width, const FontMetrics& metrics, float b,
                  float out[8])
{
    const Vec2f q = pen - b * frame.d - (metrics.descent + b) * frame.n;
    const Vec2f along = (width + 2.0f * b) * frame.d;
    const Vec2f up = (metrics.height + 2.0f * b) * frame.n;
    const Vec2f corners[4] = {q, q + up, q + along, q + along + up};
    for (int i = 0; i < 4; ++i) {
        out[2 * i] = corners[i].x;
        out[2 * i + 1] = corners[i].y;
    }
}
