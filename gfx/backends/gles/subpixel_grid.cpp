#include "subpixel_grid.h"

#include <cmath>

namespace {

// Twice the area (in square pixels) below which a triangle is a sliver:
// corners rounded to float may make a line of three points one, whose
// gradient would be noise. Its texture coordinates stay as they are.
constexpr double kFlatArea = 1.0 / 64;

// How far (in eighths of a pixel) from an even sixteenth a position still
// is that sixteenth: half of Mesa's 1/256 step, which float clip
// coordinates stay well within.
constexpr double kOnSample = 8.0 / 512;

// The odd sixteenth between the two even ones around window, or the even
// one window is on. Even sixteenths are where pixels are sampled (the
// centre, and the standard 2- and 4-sample positions), so a corner never
// crosses one and covers the same samples it did.
double onGrid(double window)
{
    const double eighths = window * 8.0;
    const double nearest = std::round(eighths);
    if (std::fabs(eighths - nearest) < kOnSample)
        return nearest / 8.0;
    return (std::floor(eighths) + 0.5) / 8.0;
}

}  // namespace

void SubpixelGrid::setViewport(int width, int height)
{
    halfWidth_ = 0.5 * width;
    halfHeight_ = 0.5 * height;
}

void SubpixelGrid::snapTexturedTriangle(GridCorner corners[3]) const
{
    double wx[3], wy[3], dx[3], dy[3];
    for (int i = 0; i < 3; ++i) {
        wx[i] = (corners[i].x + 1.0) * halfWidth_;
        wy[i] = (corners[i].y + 1.0) * halfHeight_;
        dx[i] = onGrid(wx[i]) - wx[i];
        dy[i] = onGrid(wy[i]) - wy[i];
        corners[i].x = static_cast<float>((wx[i] + dx[i]) / halfWidth_ - 1.0);
        corners[i].y = static_cast<float>((wy[i] + dy[i]) / halfHeight_ - 1.0);
    }
    // s and t are affine in window coordinates over the triangle: their
    // gradients from two edges.
    const double ex1 = wx[1] - wx[0], ey1 = wy[1] - wy[0];
    const double ex2 = wx[2] - wx[0], ey2 = wy[2] - wy[0];
    const double det = ex1 * ey2 - ex2 * ey1;
    if (std::fabs(det) < kFlatArea)
        return;
    const double ds1 = static_cast<double>(corners[1].s) - corners[0].s;
    const double ds2 = static_cast<double>(corners[2].s) - corners[0].s;
    const double dt1 = static_cast<double>(corners[1].t) - corners[0].t;
    const double dt2 = static_cast<double>(corners[2].t) - corners[0].t;
    const double sx = (ds1 * ey2 - ds2 * ey1) / det, sy = (ex1 * ds2 - ex2 * ds1) / det;
    const double tx = (dt1 * ey2 - dt2 * ey1) / det, ty = (ex1 * dt2 - ex2 * dt1) / det;
    for (int i = 0; i < 3; ++i) {
        corners[i].s = static_cast<float>(corners[i].s + sx * dx[i] + sy * dy[i]);
        corners[i].t = static_cast<float>(corners[i].t + tx * dx[i] + ty * dy[i]);
    }
}
