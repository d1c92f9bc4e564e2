#include "band.h"

#include <cmath>

#include "state.h"

// The full turn the sample angles of closed curves are taken from, in double.
constexpr double kFullTurn = 6.2831855;

float cosOf(float radians) { return static_cast<float>(std::cos(static_cast<double>(radians))); }
float sinOf(float radians) { return static_cast<float>(std::sin(static_cast<double>(radians))); }

Sweep Sweep::accumulated(float startRad, float sweepRad, int segments)
{
    return Sweep(Rule::Accumulated, startRad, sweepRad / static_cast<float>(segments), segments);
}

Sweep Sweep::stepped(float startRad, float sweepRad, int segments)
{
    return Sweep(Rule::Stepped, startRad, sweepRad / static_cast<float>(segments), segments);
}

Sweep Sweep::fullTurn(int segments) { return Sweep(Rule::FullTurn, 0.0f, 0.0f, segments); }

float Sweep::angle(int k, float previous) const
{
    switch (rule_) {
    case Rule::Accumulated:
        return k == 0 ? start_ : previous + step_;
    case Rule::Stepped:
        return start_ + static_cast<float>(k) * step_;
    case Rule::FullTurn:
        break;
    }
    return static_cast<float>(k * (kFullTurn / n_));
}

void BandPass::strip(float* out, float r1, float r2)
{
    if (count_ < kMaxTargets)
        targets_[count_++] = {out, r1, r2, true};
}

void BandPass::fan(float* out, float r)
{
    out[0] = cx_;
    out[1] = cy_;
    if (count_ < kMaxTargets)
        targets_[count_++] = {out + 2, r, r, false};
}

void BandPass::write() const
{
    float theta = 0.0f;
    for (int k = 0; k <= sweep_.segments(); ++k) {
        theta = sweep_.angle(k, theta);
        const float c = cosOf(theta);
        const float s = sinOf(theta);
        for (int t = 0; t < count_; ++t) {
            const Target& target = targets_[t];
            float* v = target.out + (target.pair ? 4 : 2) * k;
            v[0] = cx_ + target.r1 * c;
            v[1] = cy_ + target.r1 * s;
            if (target.pair) {
                v[2] = cx_ + target.r2 * c;
                v[3] = cy_ + target.r2 * s;
            }
        }
    }
}

void writeDashCoords(float* out, int segments, DashRun run, float width)
{
    float s = run.s0;
    for (int k = 0; k <= segments; ++k) {
        out[4 * k] = s;
        out[4 * k + 1] = 0.0f;
        out[4 * k + 2] = s;
        out[4 * k + 3] = width;
        s += run.ds;
    }
}

static bool reject()
{
    ++g_draw.diagnostics.rejectedShapes;
    return false;
}

bool acceptSweep(float startDeg, float sweepDeg)
{
    if (!std::isfinite(startDeg) || std::isnan(sweepDeg))
        return reject();
    return true;
}

bool acceptRadius(float r) { return std::isfinite(r) ? true : reject(); }
