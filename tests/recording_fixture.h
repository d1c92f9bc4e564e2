// Fixtures of the recording tests: the library started on the recording GL
// with the display's tables, the calls made by the set-up forgotten.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "drawing_state.h"
#include "gl_recorder.h"
#include "state.h"
#include "tables.h"

// The library as grInit and grBeginFrame leave it.
class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rec::reset();
        grResetDiagnostics();
        ASSERT_TRUE(grUseTables(&displayTables()));
        ASSERT_EQ(grInit(1.5f), GR_INIT_OK);
        grBeginFrame();
        rec::clearCalls();
    }
    void TearDown() override { grShutdown(); }
};

// The same with useKnownDrawingState() applied.
class DrawingTest : public RecordingTest {
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        useKnownDrawingState();
        rec::clearCalls();
    }
};

// Selects a pattern whose mask is empty, from the display's tables with a
// pattern table of its own (the display's has no such entry), in the known
// drawing state (new tables reset every selection); the calls of setting it
// up are forgotten. The fixtures put the
// display's tables back for the next test.
inline void selectEmptyMask()
{
    static const LinePattern patterns[] = {{0xFFFF, 0}, {0x0000, 0}};
    static GrTables tables = [] {
        GrTables t = displayTables();
        t.patterns = patterns;
        t.patternCount = 2;
        return t;
    }();
    ASSERT_TRUE(grUseTables(&tables));
    useKnownDrawingState();
    rec::clearCalls();  // the set-up's calls, as the fixtures forget theirs
    grSetLinePattern(1);
    ASSERT_EQ(g_draw.pattern, &patterns[1]);
}

inline bool sameColor(const GrColor& a, const GrColor& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

inline ::testing::AssertionResult near(rec::Vec2 got, rec::Vec2 want, float tol = 1e-3f)
{
    if (std::fabs(got.x - want.x) <= tol && std::fabs(got.y - want.y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got << " is not " << want;
}
