// Logarithms, trigonometry, roots. Each computes in double and rounds the
// result to float; the degree factors are the float constants widened.
#include <cmath>

#include "gr.h"

namespace {

constexpr double kDegToRad = static_cast<double>(0.017453292f);
constexpr double kRadToDeg = static_cast<double>(57.29578f);
constexpr double kLn2 = 0.6931471805599453;
constexpr double kOneThird = 0.3333333333333333;

inline float f(double d) { return static_cast<float>(d); }
inline double d(float x) { return static_cast<double>(x); }

}  // namespace

float grLn(float x) { return f(std::log(d(x))); }
float grLog2(float x) { return f(std::log(d(x)) / kLn2); }
float grLog10(float x) { return f(std::log10(d(x))); }

float grSinDeg(float x) { return f(std::sin(d(x) * kDegToRad)); }
float grSin(float x) { return f(std::sin(d(x))); }
float grCosDeg(float x) { return f(std::cos(d(x) * kDegToRad)); }
float grCos(float x) { return f(std::cos(d(x))); }
float grTanDeg(float x) { return f(std::tan(d(x) * kDegToRad)); }
float grTan(float x) { return f(std::tan(d(x))); }

float grSinhDeg(float x) { return f(std::sinh(d(x) * kDegToRad)); }
float grSinh(float x) { return f(std::sinh(d(x))); }
float grCoshDeg(float x) { return f(std::cosh(d(x) * kDegToRad)); }
float grCosh(float x) { return f(std::cosh(d(x))); }
float grTanhDeg(float x) { return f(std::tanh(d(x) * kDegToRad)); }
float grTanh(float x) { return f(std::tanh(d(x))); }

float grAsinDeg(float x) { return f(std::asin(d(x)) * kRadToDeg); }
float grAsin(float x) { return f(std::asin(d(x))); }
float grAcosDeg(float x) { return f(std::acos(d(x)) * kRadToDeg); }
float grAcos(float x) { return f(std::acos(d(x))); }
float grAtanDeg(float x) { return f(std::atan(d(x)) * kRadToDeg); }
float grAtan(float x) { return f(std::atan(d(x))); }
float grAtan2Deg(float y, float x) { return f(std::atan2(d(y), d(x)) * kRadToDeg); }
float grAtan2(float y, float x) { return f(std::atan2(d(y), d(x))); }

float grSqrt(float x) { return f(std::sqrt(d(x))); }

float grCbrt(float x) {
    // pow() of a negative base with a fractional exponent is NaN, so take
    // the root of the magnitude and restore the sign.
    const double v = x;
    return v < 0.0 ? f(-std::pow(-v, kOneThird)) : f(std::pow(v, kOneThird));
}

float grExp(float x) { return f(std::exp(d(x))); }
