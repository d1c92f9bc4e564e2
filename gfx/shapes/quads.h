// Quads along a segment, shared by every family that draws straight bands:
// line segments, polygon borders, the radii of sectors and ring sectors.
#pragma once

// Writes the band of the given width centred on the segment from (x1, y1)
// to (x2, y2) as the two triangles (S+n, S-n, E+n), (S-n, E+n, E-n), n being
// the normal to the right of the direction scaled to width / 2: 6 vertices
// (12 floats) at out. The ends are not moved. Returns the vertices written:
// 0 when the ends coincide.
int writeEdgeBand(float* out, float x1, float y1, float x2, float y2, float width);

// Moves both ends back half a unit along the segment, so that the band
// covers the first point's pixel and stops short of the last one's, then
// writes it as writeEdgeBand does and advances *position by the vertices
// written (6, or 0 for coinciding ends).
void appendSegmentQuad(float x1, float y1, float x2, float y2, float width, float** position);

// The unit direction of a segment, computed as the drawing routines do
// (length in double, stored as float); false for coinciding ends.
bool segmentDirection(float x1, float y1, float x2, float y2, float* c, float* s, float* length);
