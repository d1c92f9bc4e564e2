// Shared set-up of the shape recording tests: the library started on the
// recording GL with the display's tables, red body, white border, width 1.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gl_recorder.h"
#include "state.h"
#include "tables.h"

constexpr GrColor kRed = {255, 0, 0};
constexpr GrColor kWhite = {255, 255, 255};

class ShapeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rec::reset();
        grResetDiagnostics();
        ASSERT_TRUE(grUseTables(&displayTables()));
        ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
        grBeginFrame();
        grSetColor(0);
        grSetBorderColor(3);
        grSetLineWidth(0);
        grSetBorderWidth(0);
        grSetMode(GR_MODE_FILL, 0);
        grSetMode(GR_MODE_BORDER, 0);
        rec::clearCalls();
    }
    void TearDown() override { grShutdown(); }
};

inline bool sameColor(const GrColor& a, const GrColor& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

inline float distance(rec::Vec2 a, rec::Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

inline bool allFinite(const std::vector<rec::Vec2>& points)
{
    for (const rec::Vec2& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    return true;
}
