// Long runs headless: thousands of frames, hundreds of context
// re-creations and a long panel-snapshot run must keep memory, open files
// and live textures flat, raise no GL error and have no call refused. The
// bounds are counts and sizes, never times.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstring>
#include <string>
#include <vector>

#include "model.h"
#include "soak.h"

extern char** environ;

namespace {

constexpr int kWidth = 260;
constexpr int kHeight = 340;

// AddressSanitizer keeps freed blocks in quarantine and its shadow memory
// grows with them, so resident memory says nothing about leaks there (its
// leak checker does that job); the other figures are checked all the same.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryMeaningful = false;
#else
constexpr bool kResidentMemoryMeaningful = true;
#endif

void expectModelsEqual(const DisplayModel& got, const DisplayModel& want)
{
    EXPECT_EQ(got.frameCounter, want.frameCounter);
    EXPECT_EQ(got.phase, want.phase);
    for (int i = 0; i < kCounterCount; ++i) {
        EXPECT_EQ(got.counterValues[i], want.counterValues[i]) << "counter " << i + 1;
        EXPECT_EQ(got.counters[i].current, want.counters[i].current) << "counter " << i + 1;
        EXPECT_EQ(got.counters[i].direction, want.counters[i].direction) << "counter " << i + 1;
    }
    EXPECT_EQ(got.steps.index, want.steps.index);
    EXPECT_EQ(got.steps.ticks, want.steps.ticks);
}

// Peak resident kilobytes of a child process run to its end, or -1.
long peakOfRun(std::vector<std::string> args, int* status)
{
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    rusage usage = {};
    if (wait4(pid, status, 0, &usage) != pid)
        return -1;
    return usage.ru_maxrss;
}

}  // namespace

TEST(Soak, ThousandsOfFramesHoldMemoryFilesAndTexturesFlatWithoutErrors)
{
    HeadlessDisplay display;
    std::string error;
    ASSERT_TRUE(display.Start(kWidth, kHeight, -1, &error)) << error;
    // Glyphs, pattern textures and the driver's caches fill while the
    // animation first sweeps its values.
    display.RunFrames(2000);
    const SoakFigures warm = display.Figures();
    display.RunFrames(3000);
    const SoakFigures end = display.Figures();
    SCOPED_TRACE("after warming up: " + describe(warm) + "; at the end: " + describe(end));

    EXPECT_EQ(end.frames, 5000);
    EXPECT_EQ(end.glErrors, 0);
    EXPECT_EQ(end.refusedCalls, 0);
    EXPECT_EQ(end.openFiles, warm.openFiles);
    EXPECT_EQ(end.liveTextures, warm.liveTextures);
    EXPECT_GE(warm.liveTextures, 1) << "the text's atlas page at least";
    if (kResidentMemoryMeaningful) {
        EXPECT_LT(end.residentKb - warm.residentKb, 2048) << "3000 frames grew resident memory";
    }
}

TEST(ContextCycles, TwoHundredRecreationsKeepMemoryFilesTexturesAndTheAnimation)
{
    HeadlessDisplay display;
    std::string error;
    ASSERT_TRUE(display.Start(kWidth, kHeight, 0, &error)) << error;
    ASSERT_GE(display.Formats().Entries().size(), 1u);
    display.RunFrames(50);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(display.Recreate(&error)) << error;
        display.RunFrames(1);
    }
    const SoakFigures warm = display.Figures();
    const DisplayModel before = g_model;

    // Each re-creation is followed by a paused repaint, as the view's is.
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(display.Recreate(&error)) << "cycle " << i << ": " << error;
        display.RunFrames(1, false);
    }
    const SoakFigures end = display.Figures();
    SCOPED_TRACE("after warming up: " + describe(warm) + "; at the end: " + describe(end));
    EXPECT_EQ(end.cycles, 210);
    EXPECT_EQ(end.glErrors, 0);
    EXPECT_EQ(end.refusedCalls, 0);
    EXPECT_EQ(end.openFiles, warm.openFiles);
    EXPECT_EQ(end.liveTextures, warm.liveTextures);
    if (kResidentMemoryMeaningful) {
        EXPECT_LT(end.residentKb - warm.residentKb, 4096) << "200 context cycles grew resident memory";
    }

    // The animated values survived every cycle untouched, and run on from
    // there exactly as they would have.
    expectModelsEqual(g_model, before);
    DisplayModel expected = before;
    std::swap(g_model, expected);
    for (int i = 0; i < 5; ++i)
        UpdateDisplayModel();
    std::swap(g_model, expected);
    display.RunFrames(5);
    expectModelsEqual(g_model, expected);
}

TEST(SnapshotMemory, ThousandsOfFramesPeakNoHigherThanAFew)
{
    const std::string out = std::string(PANEL_TEST_OUTPUT) + "/soak_snapshot.png";
    auto peak = [&](int frames) {
        int status = -1;
        const long kb = peakOfRun({PANEL_SNAPSHOT, "--frames", std::to_string(frames), "--size", "400x500", "-o", out},
                                  &status);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << frames << " frames";
        return kb;
    };
    const long few = peak(50);
    const long many = peak(2000);
    ASSERT_GT(few, 0);
    ASSERT_GT(many, 0);
    if (kResidentMemoryMeaningful) {
        EXPECT_LT(many - few, 32 * 1024) << "peak " << few << " KB after 50 frames, " << many << " KB after 2000";
    }
}
