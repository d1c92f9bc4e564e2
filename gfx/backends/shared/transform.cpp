// Built with -ffp-contract=off: every multiply and every add rounds, as in
// the GL's own arithmetic.
#include "transform.h"

#include <cmath>
#include <cstring>

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// The matrix that turns x, y by quarterTurns clockwise quarter turns
// (0..3), column-major: its entries are 0 and ±1, so products with it are
// exact.
void quarterTurnMatrix(int quarterTurns, float out[16])
{
    // Clockwise with y upwards: x goes to -y, y goes to x for one turn.
    static const float kColumns[4][4] = {{1, 0, 0, 1}, {0, -1, 1, 0}, {-1, 0, 0, -1}, {0, 1, -1, 0}};
    const float* c = kColumns[quarterTurns & 3];
    std::memcpy(out, kIdentity, 16 * sizeof(float));
    out[0] = c[0];
    out[1] = c[1];
    out[4] = c[2];
    out[5] = c[3];
}

}  // namespace

void projectModelview(const float* p, const float* m, float* out)
{
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = p[row] * m[col * 4];
            sum = sum + p[4 + row] * m[col * 4 + 1];
            sum = sum + p[8 + row] * m[col * 4 + 2];
            sum = sum + p[12 + row] * m[col * 4 + 3];
            out[col * 4 + row] = sum;
        }
}

void transformVertex(const float* pm, float* v)
{
    const float x = v[0], y = v[1], z = v[2], w = v[3];
    for (int row = 0; row < 4; ++row) {
        float sum = pm[row] * x;
        sum = sum + pm[4 + row] * y;
        sum = sum + pm[8 + row] * z;
        sum = sum + pm[12 + row] * w;
        v[row] = sum;
    }
}

Transform::Transform()
{
    std::memcpy(projection_, kIdentity, sizeof projection_);
    std::memcpy(modelview_, kIdentity, sizeof modelview_);
}

void Transform::changed()
{
    combinedValid_ = false;
    ++serial_;
}

void Transform::setOrtho(const double box[6], int quarterTurns)
{
    // The GL takes glOrtho's doubles as floats and builds the matrix in float.
    const float l = static_cast<float>(box[0]), r = static_cast<float>(box[1]);
    const float b = static_cast<float>(box[2]), t = static_cast<float>(box[3]);
    const float n = static_cast<float>(box[4]), f = static_cast<float>(box[5]);
    std::memcpy(projection_, kIdentity, sizeof projection_);
    projection_[0] = 2.0f / (r - l);
    projection_[12] = -(r + l) / (r - l);
    projection_[5] = 2.0f / (t - b);
    projection_[13] = -(t + b) / (t - b);
    projection_[10] = -2.0f / (f - n);
    projection_[14] = -(f + n) / (f - n);
    if (quarterTurns & 3) {
        float turn[16];
        quarterTurnMatrix(quarterTurns, turn);
        float turned[16];
        projectModelview(projection_, turn, turned);
        std::memcpy(projection_, turned, sizeof projection_);
    }
    std::memcpy(modelview_, kIdentity, sizeof modelview_);
    changed();
}

void Transform::loadModelview(const float matrix[16])
{
    std::memcpy(modelview_, matrix, sizeof modelview_);
    changed();
}

// modelview = modelview · right, each element a sum of four products.
void Transform::multiply(const float* right)
{
    float product[16];
    for (int row = 0; row < 4; ++row) {
        const float a0 = modelview_[row], a1 = modelview_[4 + row], a2 = modelview_[8 + row],
                    a3 = modelview_[12 + row];
        for (int col = 0; col < 4; ++col)
            product[col * 4 + row] =
                a0 * right[col * 4] + a1 * right[col * 4 + 1] + a2 * right[col * 4 + 2] + a3 * right[col * 4 + 3];
    }
    std::memcpy(modelview_, product, sizeof product);
    changed();
}

void Transform::translate(float x, float y)
{
    float* m = modelview_;
    const float z = 0.0f;
    for (int row = 0; row < 4; ++row)
        m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    changed();
}

void Transform::rotate(float degrees)
{
    const double radians = degrees * M_PI / 180.0;
    const float s = static_cast<float>(std::sin(radians));
    const float c = static_cast<float>(std::cos(radians));
    float rotation[16];
    std::memcpy(rotation, kIdentity, sizeof rotation);
    rotation[0] = c;
    rotation[5] = c;
    rotation[4] = -s;
    rotation[1] = s;
    multiply(rotation);
}

void Transform::scale(float sx, float sy)
{
    for (int row = 0; row < 4; ++row) {
        modelview_[row] *= sx;
        modelview_[4 + row] *= sy;
    }
    changed();
}

const float* Transform::combined()
{
    if (!combinedValid_) {
        projectModelview(projection_, modelview_, combined_);
        combinedValid_ = true;
    }
    return combined_;
}
