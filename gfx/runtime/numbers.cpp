// Rounding, sign and power helpers. Arguments are widened to double so that
// e.g. 0.49999997f + 0.5 does not round up as it would in float arithmetic.
#include <cmath>
#include <limits>

#include "gr.h"

float grCeil(float x) { return static_cast<float>(std::ceil(static_cast<double>(x))); }

float grFloor(float x) { return static_cast<float>(std::floor(static_cast<double>(x))); }

float grRound(float x) {
    const double d = x;
    return static_cast<float>(d < 0.0 ? std::ceil(d - 0.5) : std::floor(d + 0.5));
}

int32_t grRoundToInt(float x) {
    const double d = x;
    const double shifted = d < 0.0 ? d - 0.5 : d + 0.5;
    // Converting a value outside int32 is undefined; saturate instead, and
    // give NaN a plain 0.
    if (std::isnan(shifted)) return 0;
    if (shifted >= 2147483648.0) return std::numeric_limits<int32_t>::max();
    if (shifted <= -2147483649.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(shifted);  // truncates towards zero
}

float grTrunc(float x) {
    const double d = x;
    return static_cast<float>(d < 0.0 ? std::ceil(d) : std::floor(d));
}

float grPow(float x, float y) {
    return static_cast<float>(std::pow(static_cast<double>(x), static_cast<double>(y)));
}

float grCopySign(float x, float s) {
    // Unlike std::copysign, -0.0 counts as positive and a NaN s leaves x alone.
    const bool flip = (s == 0.0f && x < 0.0f) || (x < 0.0f && s > 0.0f) || (x > 0.0f && s < 0.0f);
    return flip ? -x : x;
}

float grFabs(float x) { return std::fabs(x); }

int32_t grAbs(int32_t n) {
    // -INT32_MIN does not exist; the nearest representable magnitude keeps
    // the result non-negative.
    if (n == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
    return n < 0 ? -n : n;
}
