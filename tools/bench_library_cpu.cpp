// panel-bench-cpu: the drawing library's own cost per frame of the running
// display, with a GL stand-in that drops every call. panel-bench runs it and
// reads its lines; it runs alone too.
//   panel-bench-cpu [--frames N]
// Prints one line per mode (exact, batched, floor): mode, median and 99th-percentile milliseconds,
// then per frame GL calls, draws, vertices, heap allocations and bytes.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "counting_allocator.h"
#include "display.h"
#include "display_renderer.h"
#include "gr.h"
#include "layout.h"
#include "null_gl.h"
#include "percentile.h"
#include "tables.h"

namespace {

constexpr int kWidth = 778;
constexpr int kHeight = 1034;
constexpr int kWarmUpFrames = 500;

// The renderer's frame, without the swap; the floor draws nothing.
void frame(bool display)
{
    if (display)
        UpdateDisplayModel();
    clearFrame();
    grBeginFrame();
    if (display)
        DrawDisplay();
    grEndFrame();
}

void run(const char* name, bool batched, bool display, int frames)
{
    grSetBatching(batched);
    resetDisplayModel();
    for (int i = 0; i < kWarmUpFrames; ++i)  // a whole layout cycle: glyphs built, buffers grown
        frame(display);
    resetDisplayModel();
    std::vector<double> ms;
    ms.reserve(frames);
    const NullGlCount gl0 = nullGlCount();
    const AllocationCount heap0 = allocationCount();
    for (int i = 0; i < frames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        frame(display);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        ms.push_back(took.count());
    }
    const NullGlCount gl1 = nullGlCount();
    const AllocationCount heap1 = allocationCount();
    const double n = frames;
    std::printf("%s %.4f %.4f %.1f %.1f %.1f %.3f %.1f\n", name, percentile(ms, 0.5), percentile(ms, 0.99),
                (gl1.calls - gl0.calls) / n, (gl1.draws - gl0.draws) / n, (gl1.vertices - gl0.vertices) / n,
                (heap1.allocations - heap0.allocations) / n, (heap1.bytes - heap0.bytes) / n);
}

}  // namespace

int main(int argc, char** argv)
{
    int frames = 500;
    if (argc == 3 && std::strcmp(argv[1], "--frames") == 0)
        frames = std::atoi(argv[2]);
    if (argc != 1 && argc != 3) {
        std::fprintf(stderr, "usage: panel-bench-cpu [--frames N]\n");
        return 2;
    }
    if (frames < 1 || frames > 1000000) {
        std::fprintf(stderr, "panel-bench-cpu: --frames takes a count from 1 to 1000000\n");
        return 2;
    }
    grUseTables(&displayTables());
    if (grInit(1.5f) != GR_INIT_OK) {
        std::fprintf(stderr, "panel-bench-cpu: the drawing library did not start (fonts?)\n");
        return 1;
    }
    setDisplayProjection(kWidth, kHeight);
    run("exact", false, true, frames);
    run("batched", true, true, frames);
    run("floor", false, false, frames);
    grShutdown();
    return 0;
}
