#include <gtest/gtest.h>

#include <climits>

#include "layout.h"
#include "model.h"

class DisplayModelTest : public ::testing::Test {
protected:
    void SetUp() override { resetDisplayModel(); }
};

TEST_F(DisplayModelTest, FirstUpdateOutputsStartValuesThenSteps)
{
    UpdateDisplayModel();
    EXPECT_EQ(g_model.firstFrame, 1);
    EXPECT_EQ(g_model.phase, 0);
    const int32_t starts[kCounterCount] = {10240, 5120, 23040, 7680, 0, 600, 25600, 5120, 0, -320, 0, 0};
    for (int i = 0; i < kCounterCount; ++i)
        EXPECT_EQ(g_model.counterValues[i], starts[i]) << "counter " << i + 1;

    UpdateDisplayModel();
    EXPECT_EQ(g_model.firstFrame, 0);
    EXPECT_EQ(g_model.counterValues[0], 10256);
    EXPECT_EQ(g_model.counterValues[4], 4);
    EXPECT_EQ(g_model.counterValues[8], 1);
    EXPECT_EQ(g_model.counterValues[9], -316);
    EXPECT_EQ(g_model.counterValues[11], 2);
}

TEST_F(DisplayModelTest, PhasesFollowTheirFrameCountsAndRepeatEvery500Frames)
{
    const int frames[] = {50, 70, 30, 70, 30, 70, 30, 150};
    for (int cycle = 0; cycle < 2; ++cycle)
        for (int phase = 0; phase < 8; ++phase)
            for (int f = 0; f < frames[phase]; ++f) {
                UpdateDisplayModel();
                ASSERT_EQ(g_model.phase, phase) << "cycle " << cycle << " frame " << f;
            }
}

TEST_F(DisplayModelTest, BouncingCountersTurnAtTheirLimits)
{
    // Counter 9: 0, 1, ..., 512, 511, ..., 0, 1: period 1024.
    std::vector<int32_t> seen;
    for (int i = 0; i < 1026; ++i) {
        UpdateDisplayModel();
        seen.push_back(g_model.counterValues[8]);
    }
    EXPECT_EQ(seen[512], 512);
    EXPECT_EQ(seen[513], 511);
    EXPECT_EQ(seen[1024], 0);
    EXPECT_EQ(seen[1025], 1);

    // Counter 10 rises from -320 to 2048 first, then falls to -560.
    resetDisplayModel();
    int32_t low = INT32_MAX, high = INT32_MIN, firstTurn = 0;
    for (int i = 0; i < 2000; ++i) {
        UpdateDisplayModel();
        const int32_t v = g_model.counterValues[9];
        if (!firstTurn && v == 2048)
            firstTurn = i;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_EQ(firstTurn, (2048 + 320) / 4);
    EXPECT_EQ(high, 2048);
    EXPECT_EQ(low, -560);
}

TEST_F(DisplayModelTest, CounterOnePeriodIs2200Frames)
{
    std::vector<int32_t> values;
    for (int i = 0; i <= 2200; ++i) {
        UpdateDisplayModel();
        values.push_back(g_model.counterValues[0]);
    }
    EXPECT_EQ(values[460], 17600);
    EXPECT_EQ(values[461], 17584);
    EXPECT_EQ(values[2200], values[0]);
    EXPECT_EQ(std::count(values.begin(), values.end() - 1, 0), 1);
}

TEST(CounterStep, ModesAndUnevenSteps)
{
    AnimatedCounter uneven = {0, 0, 0, 10, 3, kMovingUp, kBounce};
    std::vector<int32_t> out;
    for (int i = 0; i < 8; ++i)
        out.push_back(stepCounter(uneven));
    EXPECT_EQ(out, (std::vector<int32_t>{0, 3, 6, 9, 6, 3, 0, 3}));

    AnimatedCounter up = {8, 8, 0, 10, 2, kMovingUp, kCountUp};
    out.clear();
    for (int i = 0; i < 4; ++i)
        out.push_back(stepCounter(up));
    EXPECT_EQ(out, (std::vector<int32_t>{8, 10, 0, 2}));

    AnimatedCounter down = {1, 1, 0, 10, 2, kMovingUp, kCountDown};
    out.clear();
    for (int i = 0; i < 3; ++i)
        out.push_back(stepCounter(down));
    EXPECT_EQ(out, (std::vector<int32_t>{1, 10, 8}));

    AnimatedCounter stuck = {5, 5, 4, 6, 3, kMovingUp, kBounce};
    EXPECT_EQ(stepCounter(stuck), 5);
    EXPECT_EQ(stepCounter(stuck), 5);

    AnimatedCounter unknownMode = {5, 5, 0, 10, 1, kMovingUp, 9};
    stepCounter(unknownMode);
    EXPECT_EQ(unknownMode.current, 5);
}

TEST_F(DisplayModelTest, FirstFrameOnlyWhenTheFrameCounterWraps)
{
    UpdateDisplayModel();
    g_model.frameCounter = INT32_MAX;
    UpdateDisplayModel();
    EXPECT_EQ(g_model.frameCounter, INT32_MIN);
    EXPECT_EQ(g_model.firstFrame, 0);
    g_model.frameCounter = -1;
    UpdateDisplayModel();
    EXPECT_EQ(g_model.firstFrame, 1);
}

TEST(PanelLayout, FirstFrameStartsHomeAndTakesPhaseZerosFirstStep)
{
    advancePanelLayout(1, 0);
    EXPECT_FLOAT_EQ(g_panels[0].x, 371.5f);
    EXPECT_EQ(static_cast<int>(g_panels[0].x), 371);
    EXPECT_EQ(static_cast<int>(g_panels[0].y), 735);
    EXPECT_FLOAT_EQ(g_panels[0].scale, 0.97f);
    EXPECT_FLOAT_EQ(g_panels[2].x, 383.0f);
    EXPECT_FLOAT_EQ(g_panels[2].y, 125.0f);
    EXPECT_FLOAT_EQ(g_panels[2].scale, 0.965f);
}

TEST(PanelLayout, EveryTransitionEndsExactlyOnItsTargetWithin21Frames)
{
    advancePanelLayout(1, 0);
    for (int i = 0; i < 21; ++i)
        advancePanelLayout(0, 0);
    EXPECT_EQ(g_panels[0].x, 153.0f);
    EXPECT_EQ(g_panels[0].y, 125.0f);
    EXPECT_EQ(g_panels[0].scale, 0.4f);
    EXPECT_EQ(g_panels[2].scale, 0.3f);

    for (int i = 0; i < 21; ++i)
        advancePanelLayout(0, 1);
    EXPECT_EQ(g_panels[0].y, 500.0f);
    EXPECT_EQ(g_panels[1].y, 125.0f) << "only panel 1 moves in phase 1";

    for (int phase : {2, 3, 4, 5, 6, 7})
        for (int i = 0; i < 21; ++i)
            advancePanelLayout(0, phase);
    const float home[3][2] = {{383, 768}, {383, 390}, {383, 125}};
    for (int p = 0; p < kPanelCount; ++p) {
        EXPECT_EQ(g_panels[p].x, home[p][0]);
        EXPECT_EQ(g_panels[p].y, home[p][1]);
        EXPECT_EQ(g_panels[p].scale, 1.0f);
    }
    const PanelLayout before = g_panels[0];
    advancePanelLayout(0, 7);
    EXPECT_EQ(g_panels[0].y, before.y) << "a finished transition holds still";
}

TEST(PanelLayout, StepDependsOnOriginAndTargetOnly)
{
    EXPECT_FLOAT_EQ(stepToward(100.0f, 0.0f, 200.0f), 110.0f);
    EXPECT_EQ(stepToward(195.0f, 0.0f, 200.0f), 200.0f);
    EXPECT_EQ(stepToward(5.0f, 0.0f, -200.0f), -5.0f);
    EXPECT_EQ(stepToward(7.0f, 3.0f, 3.0f), 7.0f);
}
