// Shared set-up of the curve recording tests: the library started on the
// recording GL with the display's tables, solid pattern, red body, blue
// border, line and border width 1; and polar views of recorded vertices.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gl_recorder.h"
#include "state.h"
#include "tables.h"

constexpr GrColor kBody = {255, 0, 0};
constexpr GrColor kBorder = {0, 0, 255};
constexpr double kRadPerDeg = 3.14159265358979323846 / 180.0;

class CurveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rec::reset();
        grResetDiagnostics();
        ASSERT_TRUE(grUseTables(&displayTables()));
        ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
        grBeginFrame();
        grSetColor(0);
        grSetBorderColor(2);
        grSetLineWidth(0);
        grSetBorderWidth(0);
        grSetLinePattern(0);
        grSetMode(GR_MODE_FILL, 0);
        grSetMode(GR_MODE_BORDER, 0);
        rec::clearCalls();
    }
    void TearDown() override { grShutdown(); }

    static void setWidths(float line, float border)
    {
        g_draw.lineWidth = line;
        g_draw.borderWidth = border;
    }
};

inline double radiusOf(rec::Vec2 v, double cx = 0, double cy = 0) { return std::hypot(v.x - cx, v.y - cy); }

// Degrees in (-180, 180].
inline double angleOf(rec::Vec2 v, double cx = 0, double cy = 0) { return std::atan2(v.y - cy, v.x - cx) / kRadPerDeg; }

inline rec::Vec2 polar(double r, double deg, double cx = 0, double cy = 0)
{
    return {static_cast<float>(cx + r * std::cos(deg * kRadPerDeg)), static_cast<float>(cy + r * std::sin(deg * kRadPerDeg))};
}

inline bool sameColor(const GrColor& a, const GrColor& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Every even vertex of a strip at radius r1 and every odd one at r2.
inline ::testing::AssertionResult stripBetween(const rec::Draw& d, double r1, double r2, double cx = 0, double cy = 0,
                                               double tol = 1e-3)
{
    if (d.mode != GL_TRIANGLE_STRIP)
        return ::testing::AssertionFailure() << "mode " << d.mode << " is not a strip";
    for (size_t i = 0; i < d.vertices.size(); ++i) {
        const double want = i % 2 ? r2 : r1;
        const double got = radiusOf(d.vertices[i], cx, cy);
        if (std::fabs(got - want) > tol)
            return ::testing::AssertionFailure() << "vertex " << i << " " << d.vertices[i] << " at radius " << got
                                                 << ", expected " << want;
    }
    return ::testing::AssertionSuccess();
}

// Pairs of a strip at evenly spaced angles from first to last (degrees).
inline ::testing::AssertionResult sampledFromTo(const rec::Draw& d, double first, double last, double cx = 0,
                                                double cy = 0, double tol = 1e-3)
{
    const size_t pairs = d.vertices.size() / 2;
    if (pairs < 2)
        return ::testing::AssertionFailure() << "only " << pairs << " sample pairs";
    for (size_t k = 0; k < pairs; ++k) {
        const double want = first + (last - first) * static_cast<double>(k) / static_cast<double>(pairs - 1);
        const rec::Vec2 outer = d.vertices[2 * k + 1];
        const double got = angleOf(outer, cx, cy);
        const double diff = std::remainder(got - want, 360.0);
        if (std::fabs(diff) > tol)
            return ::testing::AssertionFailure() << "pair " << k << " at " << got << " degrees, expected " << want;
    }
    return ::testing::AssertionSuccess();
}

// Every draw is preceded by exactly one colour since the previous draw.
inline ::testing::AssertionResult oneColourPerDraw()
{
    int colours = 0;
    int draws = 0;
    for (const std::string& name : rec::callNames()) {
        if (name == "glColor3ub")
            ++colours;
        if (name == "glDrawArrays") {
            if (colours != 1)
                return ::testing::AssertionFailure() << "draw " << draws << " after " << colours << " colour calls";
            colours = 0;
            ++draws;
        }
        if (name == "glBegin" || name == "glLineWidth" || name == "glLineStipple")
            return ::testing::AssertionFailure() << name << " called";
    }
    return ::testing::AssertionSuccess();
}
