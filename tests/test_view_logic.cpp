// The display view's rules, shared by the shells of every platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_clock.h"
#include "gr_display.h"
#include "view_logic.h"

namespace {

// A driver that offers exactly the given sample counts (and the plain format).
class CountsProbe : public PixelFormatProbe {
public:
    explicit CountsProbe(std::vector<int> counts) : counts_(std::move(counts)) {}
    bool ChoosePlainFormat(int* format) override
    {
        *format = 1;
        return true;
    }
    bool HasMultisampleExtension() override { return true; }
    bool ChooseMultisampleFormats(bool, std::vector<int>* formats) override
    {
        for (size_t i = 0; i < counts_.size(); ++i)
            formats->push_back(static_cast<int>(i) + 10);
        return true;
    }
    bool QuerySamples(int format, int* samples) override
    {
        *samples = counts_[static_cast<size_t>(format - 10)];
        return true;
    }

private:
    std::vector<int> counts_;
};

PixelFormatTable tableOf(std::vector<int> counts)
{
    CountsProbe probe(std::move(counts));
    PixelFormatTable table;
    EXPECT_TRUE(table.Probe(probe));
    return table;
}

// Writes down what the view asked of its window; creation fails for the
// sample counts in failing.
class RecordingWindow : public ViewWindow {
public:
    std::vector<int> failing;
    std::vector<std::string> calls;

    bool CreateWithSamples(int samples) override
    {
        calls.push_back("create " + std::to_string(samples));
        for (int f : failing)
            if (f == samples)
                return false;
        return true;
    }
    void DestroyWindow() override { calls.push_back("destroy"); }
    void StartTimer() override { calls.push_back("start timer"); }
    void StopTimer() override { calls.push_back("stop timer"); }
    void Invalidate() override { calls.push_back("invalidate"); }
    void Relayout() override { calls.push_back("relayout"); }
    void ReportRecreateFailure(int samples, bool restored) override
    {
        calls.push_back("report " + std::to_string(samples) + (restored ? " restored" : " lost"));
    }
    void CloseProgram() override { calls.push_back("close"); }
};

using Calls = std::vector<std::string>;

}  // namespace

TEST(ViewLogic, MenuLevelsNeedTheirExactCountAndAPausedView)
{
    const PixelFormatTable table = tableOf({2, 4});
    const int ids[] = {kCommandMultisamplingOff, kCommandMultisampling2x, kCommandMultisampling4x,
                       kCommandMultisampling8x, kCommandMultisampling16x, kCommandStart, kCommandPause,
                       kCommandMultisamplingExact};
    const bool pausedEnabled[] = {true, true, true, false, false, true, false, false};
    const bool runningEnabled[] = {false, false, false, false, false, false, true, false};
    for (size_t i = 0; i < 8; ++i) {
        CommandUi ui = {};
        ASSERT_TRUE(ViewCommandUi(ids[i], false, 4, table, &ui));
        EXPECT_EQ(ui.enabled, pausedEnabled[i]) << "paused, command " << ids[i];
        EXPECT_EQ(ui.checked, ids[i] == kCommandMultisampling4x) << "command " << ids[i];
        ASSERT_TRUE(ViewCommandUi(ids[i], true, 4, table, &ui));
        EXPECT_EQ(ui.enabled, runningEnabled[i]) << "running, command " << ids[i];
    }
    CommandUi ui = {};
    EXPECT_FALSE(ViewCommandUi(57665, false, 0, table, &ui)) << "exit is the frame's";
    EXPECT_FALSE(ViewCommandUi(3008, false, 0, table, &ui));

    // Exact coverage is a level of its own, offered where the table has it.
    const PixelFormatTable cpu = tableOf({4, GR_EXACT_COVERAGE_SAMPLES});
    ASSERT_TRUE(ViewCommandUi(kCommandMultisamplingExact, false, GR_EXACT_COVERAGE_SAMPLES, cpu, &ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_TRUE(ui.checked);
    ASSERT_TRUE(ViewCommandUi(kCommandMultisampling4x, false, GR_EXACT_COVERAGE_SAMPLES, cpu, &ui));
    EXPECT_FALSE(ui.checked);
}

TEST(ViewLogic, DefaultCountPrefersEightThenFourThenTwoButNeverSixteen)
{
    ViewState view;
    view.Prepare(tableOf({2, 4, 16}));
    EXPECT_EQ(view.Samples(), 4);
    view.Prepare(tableOf({16}));
    EXPECT_EQ(view.Samples(), 0);
    view.Prepare(tableOf({2, 8}));
    EXPECT_EQ(view.Samples(), 8);
}

TEST(ViewLogic, StartAndPauseDriveTheTimerAndOnlyPauseRepaints)
{
    const PixelFormatTable table = tableOf({4});
    ViewState view;
    RecordingWindow window;
    EXPECT_FALSE(view.Execute(kCommandPause, table, window)) << "not running yet";
    EXPECT_TRUE(view.Execute(kCommandStart, table, window));
    EXPECT_TRUE(view.Running());
    EXPECT_FALSE(view.Execute(kCommandStart, table, window)) << "already running";
    EXPECT_FALSE(view.Execute(kCommandMultisampling4x, table, window)) << "levels change only while paused";
    EXPECT_TRUE(view.Execute(kCommandPause, table, window));
    EXPECT_FALSE(view.Running());
    EXPECT_EQ(window.calls, (Calls{"start timer", "stop timer", "invalidate"}));
}

TEST(ViewLogic, ANewLevelRemakesTheWindowAndAFailureGoesBack)
{
    const PixelFormatTable table = tableOf({2, 4});
    ViewState view;
    view.Prepare(table);
    RecordingWindow window;
    EXPECT_FALSE(view.Execute(kCommandMultisampling8x, table, window)) << "the driver has no 8";
    EXPECT_TRUE(view.Execute(kCommandMultisampling2x, table, window));
    EXPECT_EQ(view.Samples(), 2);
    EXPECT_EQ(window.calls, (Calls{"destroy", "create 2", "relayout"}));

    window.calls.clear();
    window.failing = {0};
    EXPECT_TRUE(view.Execute(kCommandMultisamplingOff, table, window));
    EXPECT_EQ(view.Samples(), 2) << "back to the previous level";
    EXPECT_EQ(window.calls, (Calls{"destroy", "create 0", "create 2", "report 0 restored", "relayout"}));

    window.calls.clear();
    window.failing = {2, 4};
    EXPECT_TRUE(view.Execute(kCommandMultisampling4x, table, window));
    EXPECT_EQ(window.calls, (Calls{"destroy", "create 4", "create 2", "report 4 lost", "close"}));
}

TEST(ViewLogic, AStartingSampleCountMustBeOneTheTableHas)
{
    const PixelFormatTable table = tableOf({2, 4});
    ViewState view;
    view.Prepare(table);
    EXPECT_FALSE(view.PrepareWithSamples(table, 8));
    EXPECT_EQ(view.Samples(), 4) << "a refused count changes nothing";
    EXPECT_TRUE(view.PrepareWithSamples(table, 0));
    EXPECT_EQ(view.Samples(), 0);
}

// Refreshes at the given times (ms); the times at which a frame was due.
std::vector<double> dueFrames(FrameClock& clock, const std::vector<double>& refreshes)
{
    std::vector<double> due;
    for (double now : refreshes)
        if (clock.Tick(now))
            due.push_back(now);
    return due;
}

TEST(FrameClock, OneFramePerPeriodAtMostOnePerRefresh)
{
    FrameClock clock;
    clock.Start(1000.0);
    // 60 Hz refreshes: a frame on the first refresh at or after each 40 ms.
    std::vector<double> refreshes;
    for (int i = 1; i <= 12; ++i)
        refreshes.push_back(1000.0 + i * 16.7);
    EXPECT_EQ(dueFrames(clock, refreshes), (std::vector<double>{1000.0 + 3 * 16.7, 1000.0 + 5 * 16.7,
                                                                1000.0 + 8 * 16.7, 1000.0 + 10 * 16.7,
                                                                1000.0 + 12 * 16.7}));
}

TEST(FrameClock, AStallDropsTheFramesItMissed)
{
    FrameClock clock;
    clock.Start(0.0);
    // One refresh after 500 ms of nothing: one frame, then the cycle starts
    // again from there instead of catching up twelve frames.
    EXPECT_EQ(dueFrames(clock, {500.0, 510.0, 539.0, 540.0, 560.0, 580.0}), (std::vector<double>{500.0, 540.0, 580.0}));
}
