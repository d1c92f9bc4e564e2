#include "plane_clip.h"

#include <cstring>

namespace {

// The inverse of a column-major 4 x 4 matrix by cofactors; false when singular.
bool invert(const float* m, double* inv)
{
    double a[16];
    for (int i = 0; i < 16; ++i)
        a[i] = m[i];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    const double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (det == 0.0)
        return false;
    for (int i = 0; i < 16; ++i)
        inv[i] /= det;
    return true;
}

// The row vector plane times the column-major matrix m.
template <typename Matrix>
void planeTimes(const double* plane, const Matrix* m, double* out)
{
    for (int col = 0; col < 4; ++col)
        out[col] = plane[0] * m[col * 4] + plane[1] * m[col * 4 + 1] + plane[2] * m[col * 4 + 2] +
                   plane[3] * m[col * 4 + 3];
}

PlaneClipVertex between(const PlaneClipVertex& a, const PlaneClipVertex& b, double t)
{
    auto mix = [t](float p, float q) { return static_cast<float>(p + (q - p) * t); };
    return {mix(a.x, b.x), mix(a.y, b.y), mix(a.s, b.s), mix(a.t, b.t)};
}

}  // namespace

void PlaneClipper::setPlane(int index, const double equation[4], const float modelview[16])
{
    if (index < 0 || index >= kClipPlaneCount)
        return;
    double inverse[16];
    if (!invert(modelview, inverse)) {
        std::memcpy(eyePlanes_[index], equation, sizeof eyePlanes_[index]);
        return;
    }
    planeTimes(equation, inverse, eyePlanes_[index]);
    planeTimes(eyePlanes_[index], modelview, objectPlanes_[index]);
}

void PlaneClipper::enable(int index, bool on)
{
    if (index < 0 || index >= kClipPlaneCount)
        return;
    const unsigned bit = 1u << index;
    enabled_ = on ? enabled_ | bit : enabled_ & ~bit;
}

void PlaneClipper::useModelview(const float modelview[16])
{
    for (int i = 0; i < kClipPlaneCount; ++i)
        planeTimes(eyePlanes_[i], modelview, objectPlanes_[i]);
}

double PlaneClipper::distance(int plane, const PlaneClipVertex& v) const
{
    const double* p = objectPlanes_[plane];
    return p[0] * v.x + p[1] * v.y + p[3];
}

bool PlaneClipper::keepsWhole(const PlaneClipVertex* corners) const
{
    for (int plane = 0; plane < kClipPlaneCount; ++plane) {
        if (!(enabled_ & (1u << plane)))
            continue;
        for (int i = 0; i < 3; ++i)
            if (distance(plane, corners[i]) < 0.0)
                return false;
    }
    return true;
}

int PlaneClipper::clipTriangle(const PlaneClipVertex* corners, PlaneClipVertex* out) const
{
    PlaneClipVertex buffers[2][kMaxClippedCorners];
    std::memcpy(buffers[0], corners, 3 * sizeof(PlaneClipVertex));
    int count = 3, current = 0;
    for (int plane = 0; plane < kClipPlaneCount && count > 0; ++plane) {
        if (!(enabled_ & (1u << plane)))
            continue;
        const PlaneClipVertex* in = buffers[current];
        PlaneClipVertex* kept = buffers[1 - current];
        int n = 0;
        for (int i = 0; i < count; ++i) {
            const PlaneClipVertex& a = in[i];
            const PlaneClipVertex& b = in[(i + 1) % count];
            const double da = distance(plane, a), db = distance(plane, b);
            if (da >= 0.0)
                kept[n++] = a;
            if ((da >= 0.0) != (db >= 0.0) && n < kMaxClippedCorners)
                kept[n++] = between(a, b, da / (da - db));
        }
        count = n >= 3 ? n : 0;
        current = 1 - current;
    }
    std::memcpy(out, buffers[current], static_cast<size_t>(count) * sizeof(PlaneClipVertex));
    return count;
}
