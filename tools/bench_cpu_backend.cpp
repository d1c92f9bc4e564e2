// cpu-backend-bench: the built-in display drawn by the CPU backend, timed
// per frame, and one frame written as a PNG to compare with panel-snapshot.
// With --seam the library draws through the backend seam's "cpu" backend
// (its threads: the machine's cores, printed as 0); without, through the GL stand-in, on
// --threads threads.
//   cpu-backend-bench [--samples S] [--threads T] [--at K] [--frames N] [--batched] [--png FILE]
//                     [--compare FILE [--diff FILE] [--max-differing PERCENT]]
// Runs frames 1 to K (default 200) of the animation (as panel-snapshot
// --frames K does), writes frame K and / or counts its pixels that differ
// from a reference frame (panel-snapshot's) by more than kLevels in a
// channel (--diff writes them red over the dimmed frame; with
// --max-differing, more than PERCENT of the pixels fail the run); then,
// warm, times frames 1 to N (default 500) as the peer benchmarks do, and
// counts the heap allocations of those frames; prints the median and 99th
// percentile wall milliseconds and the median processor milliseconds (all
// threads) per frame.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "arguments.h"
#include "counting_allocator.h"
#include "cpu_formats.h"
#include "cpu_gl.h"
#include "display.h"
#include "display_renderer.h"
#include "gr.h"
#include "model.h"
#include "percentile.h"
#include "png_file.h"
#include "tables.h"

namespace {

constexpr int kWidth = 778;
constexpr int kHeight = 1034;
constexpr int kLevels = 2;

// Prints how many pixels of image differ from the PNG at path by more than
// kLevels in some channel, and the largest difference.
bool compare(const RgbaImage& image, const std::string& path, const std::string& diffPath, double maxPercent)
{
    RgbaImage reference;
    std::string error;
    if (!readPng(path, &reference, &error) || reference.width != image.width ||
        reference.height != image.height) {
        std::fprintf(stderr, "cpu-backend-bench: %s: %s\n", path.c_str(),
                     error.empty() ? "not the frame's size" : error.c_str());
        return false;
    }
    long long differing = 0;
    int worst = 0;
    RgbaImage diff = image;
    for (size_t p = 0; p < image.pixels.size(); p += 4) {
        int most = 0;
        for (size_t c = 0; c < 3; ++c)
            most = std::max(most, std::abs(image.pixels[p + c] - reference.pixels[p + c]));
        differing += most > kLevels;
        worst = std::max(worst, most);
        // The difference image: the frame dimmed, differing pixels red.
        for (size_t c = 0; c < 3; ++c)
            diff.pixels[p + c] = static_cast<uint8_t>(most > kLevels ? (c == 0 ? 255 : 0) : image.pixels[p + c] / 4);
    }
    if (!diffPath.empty() && !writePng(diffPath, diff, &error))
        std::fprintf(stderr, "cpu-backend-bench: %s\n", error.c_str());
    const double share = 100.0 * static_cast<double>(differing) / (static_cast<double>(image.pixels.size()) / 4);
    std::printf("against %s: %lld pixels (%.3f %%) differ by more than %d levels, at most %d\n", path.c_str(),
                differing, share, kLevels, worst);
    if (share > maxPercent) {
        std::fprintf(stderr, "cpu-backend-bench: more than %.3f %% of the pixels differ\n", maxPercent);
        return false;
    }
    return true;
}

double processMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// The renderer's frame: the model moves on, the frame is cleared and drawn.
void frame()
{
    UpdateDisplayModel();
    clearFrame();
    grBeginFrame();
    DrawDisplay();
    grEndFrame();
    cpuGlBackend().Finish();
}

}  // namespace

int main(int argc, char** argv)
{
    int samples = 4, threads = 1, at = 200, frames = 500;
    bool batched = false, seam = false;
    std::string png, reference, diff;
    double maxPercent = 100.0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--batched") {
            batched = true;
        } else if (arg == "--seam") {
            seam = true;
        } else if (arg == "--png" && value) {
            png = argv[++i];
        } else if (arg == "--compare" && value) {
            reference = argv[++i];
        } else if (arg == "--diff" && value) {
            diff = argv[++i];
        } else if (arg == "--max-differing" && value) {
            maxPercent = std::atof(argv[++i]);
        } else if ((arg == "--samples" && value && parseSampleCount(value, &samples)) ||
                   (arg == "--threads" && value && parseNumber(value, &threads)) ||
                   (arg == "--at" && value && parseNumber(value, &at)) ||
                   (arg == "--frames" && value && parseNumber(value, &frames))) {
            ++i;
        } else {
            std::fprintf(stderr, "usage: cpu-backend-bench [--seam] [--samples S] [--threads T] [--at K] [--frames N] [--batched] "
                                 "[--png FILE] [--compare FILE [--diff FILE] [--max-differing PERCENT]]\n");
            return 2;
        }
    }
    cpu::CpuBackend& backend = cpuGlBackend();
    if (frames < 1 || at < 1 || threads < 1 || !backend.Resize(kWidth, kHeight, samples)) {
        std::fprintf(stderr, "cpu-backend-bench: samples 0, 2, 4, 8 or exact; threads, --at and frames from 1\n");
        return 2;
    }
    backend.SetThreads(threads);
    const std::string cpuName = cpuBackendName(samples);
    if (seam && !grSelectBackend(cpuName.c_str(), nullptr)) {
        std::fprintf(stderr, "cpu-backend-bench: the library has no backend %s\n", cpuName.c_str());
        return 1;
    }
    grUseTables(&displayTables());
    if (grInit(1.5f) != GR_INIT_OK) {
        std::fprintf(stderr, "cpu-backend-bench: the drawing library did not start (fonts?)\n");
        return 1;
    }
    grSetBatching(batched);
    setDisplayProjection(kWidth, kHeight);
    resetDisplayModel();
    for (int i = 0; i < at; ++i)
        frame();
    if (!png.empty() || !reference.empty()) {
        RgbaImage image;
        image.width = kWidth;
        image.height = kHeight;
        image.pixels.resize(static_cast<size_t>(kWidth) * kHeight * 4);
        if (seam) {
            // The library reads bottom row first, as glReadPixels.
            std::vector<uint8_t> rows(image.pixels.size());
            if (!grReadPixels(kWidth, kHeight, rows.data())) {
                std::fprintf(stderr, "cpu-backend-bench: the frame cannot be read\n");
                return 1;
            }
            const size_t row = static_cast<size_t>(kWidth) * 4;
            for (int y = 0; y < kHeight; ++y)
                std::memcpy(&image.pixels[row * y], &rows[row * (kHeight - 1 - y)], row);
        } else {
            backend.ReadPixels(image.pixels.data());
        }
        for (size_t i = 3; i < image.pixels.size(); i += 4)
            image.pixels[i] = 255;
        std::string error;
        if (!png.empty() && !writePng(png, image, &error)) {
            std::fprintf(stderr, "cpu-backend-bench: %s\n", error.c_str());
            return 1;
        }
        if (!reference.empty() && !compare(image, reference, diff, maxPercent))
            return 1;
    }
    std::vector<double> wall, cpu;
    wall.reserve(static_cast<size_t>(frames));
    cpu.reserve(static_cast<size_t>(frames));
    resetDisplayModel();
    const AllocationCount heap0 = allocationCount();
    for (int i = 0; i < frames; ++i) {
        const double cpu0 = processMs();
        const auto start = std::chrono::steady_clock::now();
        frame();
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(processMs() - cpu0);
    }
    const AllocationCount heap1 = allocationCount();
    std::printf("%s samples %d threads %d %s: median %.3f ms, p99 %.3f ms, processor %.3f ms per frame, "
                "%lld allocations in %d frames\n",
                seam ? "seam" : "stand-in", samples, seam ? 0 : threads, batched ? "batched" : "exact", percentile(wall, 0.5), percentile(wall, 0.99),
                percentile(cpu, 0.5), heap1.allocations - heap0.allocations, frames);
    grShutdown();
    return 0;
}
