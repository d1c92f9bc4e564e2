// Shared set-up of the shape recording tests: the library started on the
// recording GL with the display's tables, red body, white border, width 1.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "recording_fixture.h"

constexpr GrColor kRed = {255, 0, 0};
constexpr GrColor kWhite = {255, 255, 255};

class ShapeTest : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        grSetBorderColor(3);
        grSetLineWidth(0);
        grSetBorderWidth(0);
        rec::clearCalls();
    }
};


inline float distance(rec::Vec2 a, rec::Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

inline bool allFinite(const std::vector<rec::Vec2>& points)
{
    for (const rec::Vec2& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    return true;
}
