#include "segment.h"

namespace {

struct Vertex {
    float x, y;
};

// Border vertices in drawing order: the band on the left of the direction
// (P1, P3 and their outward offsets), then the band on its right (P0, P2).
enum Corner { P0, P1, P2, P3 };
struct BorderVertex {
    Corner corner;
    bool offset;  // moved outward by the border width
};
constexpr BorderVertex kBorderOrder[kSegmentBorderVertices] = {
    {P1, false}, {P1, true},  {P3, false}, {P1, true}, {P3, false}, {P3, true},
    {P0, true},  {P0, false}, {P2, true},  {P0, false}, {P2, true}, {P2, false},
};

bool isStart(Corner corner) { return corner == P0 || corner == P1; }
bool isLeft(Corner corner) { return corner == P1 || corner == P3; }

void put(float* out, int i, Vertex v)
{
    out[2 * i] = v.x;
    out[2 * i + 1] = v.y;
}

}  // namespace

void buildSegmentShape(float x1, float y1, float x2, float y2, float c, float s, float width, float borderWidth,
                       SegmentShape* out)
{
    // (gx, -gy) is the half-width normal to the right of the direction.
    const float hw = width / 2;
    const float gx = s * hw;
    const float gy = c * hw;
    const Vertex body[kSegmentBodyVertices] = {
        {x1 + gx, y1 - gy}, {x1 - gx, y1 + gy}, {x2 + gx, y2 - gy}, {x2 - gx, y2 + gy}};
    for (int i = 0; i < kSegmentBodyVertices; ++i)
        put(out->body, i, body[i]);

    const float bx = s * borderWidth;
    const float by = c * borderWidth;
    for (int i = 0; i < kSegmentBorderVertices; ++i) {
        const BorderVertex& b = kBorderOrder[i];
        Vertex v = body[b.corner];
        if (b.offset) {
            v.x += isLeft(b.corner) ? -bx : bx;
            v.y += isLeft(b.corner) ? by : -by;
        }
        put(out->border, i, v);
    }
}

void buildSegmentTexCoords(float s0, float s1, float width, float borderWidth, SegmentTexCoords* out)
{
    const Vertex body[kSegmentBodyVertices] = {{s0, width}, {s0, 0.0f}, {s1, width}, {s1, 0.0f}};
    for (int i = 0; i < kSegmentBodyVertices; ++i)
        put(out->body, i, body[i]);
    for (int i = 0; i < kSegmentBorderVertices; ++i) {
        const BorderVertex& b = kBorderOrder[i];
        put(out->border, i, {isStart(b.corner) ? s0 : s1, b.offset ? borderWidth : 0.0f});
    }
}
