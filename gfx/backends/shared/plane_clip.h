// The library's clip planes applied on the processor, for backends whose API
// has no user clip planes (OpenGL ES 2, a rasteriser of our own): triangles
// are cut against the planes before they are drawn, keeping what the GL's
// clipping keeps.
#pragma once

#include "backends/backend.h"

// A vertex as a draw gives it: object coordinates and texture coordinates.
struct PlaneClipVertex {
    float x, y, s, t;
};

// A triangle cut by kClipPlaneCount planes has at most this many corners.
constexpr int kMaxClippedCorners = 3 + kClipPlaneCount;

class PlaneClipper {
public:
    // Plane index keeps a*x + b*y + c*z + d >= 0 in the coordinates of
    // modelview, the matrix current when the plane was given (as glClipPlane:
    // the plane is kept in eye coordinates).
    void setPlane(int index, const double equation[4], const float modelview[16]);
    void enable(int index, bool on);
    // Whether any plane is on.
    bool active() const { return enabled_ != 0; }
    // Takes the enabled planes into the coordinates of the modelview draws
    // are now made under; call before clipTriangle whenever it changed.
    void useModelview(const float modelview[16]);
    // Whether the triangle lies wholly on the kept side of every plane.
    bool keepsWhole(const PlaneClipVertex* corners) const;
    // Cuts the triangle; writes the kept polygon's corners (a fan) to out and
    // returns their number (0 or 3..kMaxClippedCorners).
    int clipTriangle(const PlaneClipVertex* corners, PlaneClipVertex* out) const;

private:
    double distance(int plane, const PlaneClipVertex& v) const;

    double eyePlanes_[kClipPlaneCount][4] = {};
    double objectPlanes_[kClipPlaneCount][4] = {};
    unsigned enabled_ = 0;
};
