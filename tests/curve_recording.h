// Shared set-up of the curve recording tests: the library on the recording
// GL with the display's tables, solid pattern, red body, blue border, line
// and border width 1; and polar checks of recorded vertices.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "recording_fixture.h"

constexpr GrColor kBody = {255, 0, 0};
constexpr GrColor kBorder = {0, 0, 255};
constexpr double kPiD = 3.14159265358979323846;
constexpr double kRadPerDeg = kPiD / 180.0;

class CurveTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        grSetLineWidth(0);
        grSetBorderWidth(0);
        rec::clearCalls();
    }

    static void setWidths(float line, float border)
    {
        g_draw.lineWidth = line;
        g_draw.borderWidth = border;
    }
    static const rec::Draw& draw(size_t i) { return rec::draws().at(i); }
};

inline double radiusOf(rec::Vec2 v) { return std::hypot(v.x, v.y); }
inline double angleOf(rec::Vec2 v) { return std::atan2(v.y, v.x) / kRadPerDeg; }
inline rec::Vec2 polar(double r, double deg)
{
    return {static_cast<float>(r * std::cos(deg * kRadPerDeg)), static_cast<float>(r * std::sin(deg * kRadPerDeg))};
}

// A strip of vertex pairs around the origin, the first of each pair at r1
// and the second at r2, in the given colour.
inline ::testing::AssertionResult stripBetween(const rec::Draw& d, double r1, double r2, GrColor color = kBody)
{
    if (d.mode != GL_TRIANGLE_STRIP || !sameColor(d.color, color))
        return ::testing::AssertionFailure() << "not a strip in the expected colour";
    for (size_t i = 0; i < d.vertices.size(); ++i)
        if (std::fabs(radiusOf(d.vertices[i]) - (i % 2 ? r2 : r1)) > 1e-3)
            return ::testing::AssertionFailure() << "vertex " << i << " " << d.vertices[i] << " at radius "
                                                 << radiusOf(d.vertices[i]) << ", expected " << (i % 2 ? r2 : r1);
    return ::testing::AssertionSuccess();
}

// Vertex pairs of a strip at evenly spaced angles from first to last (degrees).
inline ::testing::AssertionResult sampledFromTo(const rec::Draw& d, double first, double last)
{
    const size_t pairs = d.vertices.size() / 2;
    for (size_t k = 0; k < pairs; ++k) {
        const double want = first + (last - first) * static_cast<double>(k) / static_cast<double>(pairs - 1);
        if (std::fabs(std::remainder(angleOf(d.vertices[2 * k + 1]) - want, 360.0)) > 1e-3)
            return ::testing::AssertionFailure() << "pair " << k << " at " << angleOf(d.vertices[2 * k + 1])
                                                 << " degrees, expected " << want;
    }
    return ::testing::AssertionSuccess();
}

// Every draw comes after exactly one colour call of its own.
inline ::testing::AssertionResult oneColourPerDraw()
{
    int colours = 0;
    for (const std::string& name : rec::callNames()) {
        colours += name == "glColor3ub";
        if (name == "glDrawArrays" && std::exchange(colours, 0) != 1)
            return ::testing::AssertionFailure() << "a draw without exactly one colour call";
    }
    return ::testing::AssertionSuccess();
}
