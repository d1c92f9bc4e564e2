// The geometry of one line segment: its body quad and the two border bands
// along its long sides. Solid and dashed segments share it; dashed ones add
// texture coordinates.
#pragma once

enum { kSegmentBodyVertices = 4, kSegmentBorderVertices = 12 };

struct SegmentShape {
    float body[2 * kSegmentBodyVertices];      // triangle strip P0, P1, P2, P3
    float border[2 * kSegmentBorderVertices];  // triangles, two bands outside the body
};

// Builds the shape of the segment from (x1, y1) to (x2, y2) with unit
// direction (c, s): a body of the given width centred on it and, outside
// each long side, a band of borderWidth. The ends are used as given.
void buildSegmentShape(float x1, float y1, float x2, float y2, float c, float s, float width, float borderWidth,
                       SegmentShape* out);

struct SegmentTexCoords {
    float body[2 * kSegmentBodyVertices];
    float border[2 * kSegmentBorderVertices];
};

// Texture coordinates for a shape: s0 at its start, s1 at its end; the
// second coordinate is the width on the right edge of the body and the
// border width on the outer edge of each band, else 0.
void buildSegmentTexCoords(float s0, float s1, float width, float borderWidth, SegmentTexCoords* out);
