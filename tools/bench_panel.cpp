// panel-bench: what a frame of the running display costs on this machine's
// GL (or on the CPU backend, without GL), headless, against the floor (the same surface doing only clear,
// grBeginFrame, grEndFrame and swap), in exact and batched submission, for
// each drawing backend asked for (gl1, and the shader backend and the CPU
// backend beside it, with their ratios to the first one asked for).
// Blocks of frames alternate display and floor in the same run so that
// machine noise hits both alike; the ratios to the floor are the figures to
// compare between machines and commits.
#include <EGL/egl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "arguments.h"
#include "gr_display.h"
#include "counting_allocator.h"
#include "data_flood.h"
#include "display_renderer.h"
#include "egl_headless.h"
#include "gl_choice.h"
#include "headless_target.h"
#include "gr.h"
#include "heap_policy.h"
#include "model.h"
#include "percentile.h"

namespace {

const char* const kUsage =
    "usage: panel-bench [--samples S]... [--mode exact|batched|both] [--frames N] [--rounds R] [--size WxH]\n"
    "                   [--gl gl1|es2|es3|core|cpu]... [--default-heap] [--packed-stencil] [--flood RATE] [--json]\n"
    "                   [--threads N]\n"
    "       panel-bench --help\n"
    "  --samples S     a sample count of the probed table, or exact (the CPU backend's exact coverage;\n"
    "                  repeatable; default: all of them)\n"
    "  --mode M        the submission modes to measure against the floor (default both)\n"
    "  --frames N      frames per block (default 500)\n"
    "  --rounds R      rounds of exact, floor, batched, floor blocks (default 3, at least 1)\n"
    "  --size WxH      surface size (default 778x1034)\n"
    "  --gl API        a drawing backend and its context (repeatable, measured in the same run; default gl1);\n"
    "                  cpu: the CPU backend, without GL; the others' ratios are to the first one\n"
    "  --default-heap  leave glibc's heap trimming as it is (to measure what keeping the heap buys)\n"
    "  --packed-stencil  draw with the stencil packed with a depth buffer, as the configurations have it,\n"
    "                  instead of stencil alone (to measure what stencil alone buys)\n"
    "  --flood RATE    feed the display's first input over UDP on 127.0.0.1, RATE datagrams a second\n"
    "                  (1 to 1000000) from a thread of this program, while the frames run\n"
    "  --json          one JSON object instead of the table\n"
    "  --threads N     the CPU backend draws with N threads, this one included (default: the processors\n"
    "                  the process may run on, up to 4)\n";

struct Options {
    std::vector<int> samples;
    std::vector<std::string> backends;
    int frames = 500;
    int rounds = 3;
    int width = 778;
    int height = 1034;
    bool exact = true;
    bool batched = true;
    bool keepHeap = true;
    bool packedStencil = false;
    bool json = false;
    bool help = false;
    int floodRate = 0;  // 0: no data source
};

bool parseArgs(int argc, char** argv, Options* o, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            o->json = true;
            continue;
        }
        if (arg == "--default-heap") {
            o->keepHeap = false;
            continue;
        }
        if (arg == "--packed-stencil") {
            o->packedStencil = true;
            continue;
        }
        if (arg == "--help") {
            o->help = true;
            continue;
        }
        if (i + 1 >= argc) {
            *error = arg == "--samples" || arg == "--frames" || arg == "--rounds" || arg == "--size" ||
                             arg == "--mode" || arg == "--gl" || arg == "--flood" || arg == "--threads"
                         ? arg + " needs a value"
                         : "unknown argument: " + arg;
            return false;
        }
        const char* value = argv[++i];
        int n = 0;
        if (arg == "--mode" && (std::strcmp(value, "exact") == 0 || std::strcmp(value, "batched") == 0 ||
                                std::strcmp(value, "both") == 0)) {
            o->exact = std::strcmp(value, "batched") != 0;
            o->batched = std::strcmp(value, "exact") != 0;
        } else if (arg == "--gl" && isToolChoice(value)) {
            o->backends.push_back(value);
        } else if (arg == "--samples" && parseSampleCount(value, &n)) {
            o->samples.push_back(n);
        } else if (arg == "--frames" && parseNumber(value, &n) && n >= 1 && n <= 100000) {
            o->frames = n;
        } else if (arg == "--flood" && parseNumber(value, &n) && n >= 1 && n <= 1000000) {
            o->floodRate = n;
        } else if (arg == "--threads" && parseThreadCount(value, &n)) {
            grSetThreadCount(n);
        } else if (arg == "--rounds" && parseNumber(value, &n) && n >= 1 && n <= 1000) {
            o->rounds = n;
        } else if (arg == "--size") {
            if (!parseViewSize(value, &o->width, &o->height)) {
                *error = std::string("--size takes WxH with sides from 1 to 16384, not ") + value;
                return false;
            }
        } else {
            *error = "bad value for " + arg + ": " + value;
            return false;
        }
    }
    return true;
}

double threadCpuMs()
{
    timespec t = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long pageFaults()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Every frame of one kind over all rounds.
struct Series {
    std::vector<double> ms;
    std::vector<double> cpuMs;
    long long faults = 0, allocations = 0, bytes = 0, draws = 0, vertices = 0, glyphs = 0, uploads = 0,
              glErrors = 0;

    double perFrame(long long total) const { return ms.empty() ? 0 : double(total) / double(ms.size()); }
};

enum class Kind { Exact, Batched, Floor };

class Bench {
public:
    Bench(DisplayRenderer& renderer, HeadlessTarget& target) : renderer_(renderer), target_(target) {}

    void Frame(Kind kind)
    {
        if (kind == Kind::Exact || kind == Kind::Batched) {
            renderer_.Paint(true);
        } else {
            clearFrame();
            grBeginFrame();
            grEndFrame();
            target_.Surface()->SwapBuffers();
        }
        target_.FinishFrame();
    }

    // frames frames of kind, the display's animation from its start.
    void Block(Kind kind, int frames, Series& out)
    {
        grSetBatching(kind == Kind::Batched);
        resetDisplayModel();
        for (int i = 0; i < frames; ++i) {
            const GrCounters c0 = grCounters();
            const AllocationCount a0 = allocationCount();
            const long f0 = pageFaults();
            const double cpu0 = threadCpuMs();
            const auto t0 = std::chrono::steady_clock::now();
            Frame(kind);
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - t0;
            const double cpu1 = threadCpuMs();
            const long f1 = pageFaults();
            const AllocationCount a1 = allocationCount();
            const GrCounters c1 = grCounters();
            out.ms.push_back(took.count());
            out.cpuMs.push_back(cpu1 - cpu0);
            out.faults += f1 - f0;
            out.allocations += a1.allocations - a0.allocations;
            out.bytes += a1.bytes - a0.bytes;
            out.draws += c1.draws - c0.draws;
            out.vertices += c1.vertices - c0.vertices;
            out.glyphs += c1.glyphsBuilt - c0.glyphsBuilt;
            out.uploads += c1.textureUploads - c0.textureUploads;
            out.glErrors += target_.DrainGlErrors();
        }
        grSetBatching(false);
    }

private:
    DisplayRenderer& renderer_;
    HeadlessTarget& target_;
};

// The library's own CPU, from panel-bench-cpu beside this program.
struct CpuLine {
    double medianMs = 0, p99Ms = 0, calls = 0, draws = 0, vertices = 0, allocations = 0, bytes = 0;
    bool valid = false;
};

struct CpuResult {
    CpuLine exact, batched, floor;
};

std::string besideSelf(const char* name)
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return name;
    path[n] = 0;
    std::string dir(path);
    return dir.substr(0, dir.rfind('/') + 1) + name;
}

CpuResult runCpuBench(int frames)
{
    CpuResult result;
    const std::string command = besideSelf("panel-bench-cpu") + " --frames " + std::to_string(frames);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char mode[32] = {};
        CpuLine l;
        if (std::sscanf(line, "%31s %lf %lf %lf %lf %lf %lf %lf", mode, &l.medianMs, &l.p99Ms, &l.calls, &l.draws,
                        &l.vertices, &l.allocations, &l.bytes) != 8)
            continue;
        l.valid = true;
        if (std::strcmp(mode, "exact") == 0)
            result.exact = l;
        else if (std::strcmp(mode, "batched") == 0)
            result.batched = l;
        else if (std::strcmp(mode, "floor") == 0)
            result.floor = l;
    }
    pclose(pipe);
    return result;
}

struct ConfigInfo {
    int depth = -1, stencil = -1;
    int stencilWithoutDepth = 0;  // RGBA8 pbuffer configurations with stencil and no depth
};

ConfigInfo configInfo(int format)
{
    ConfigInfo info;
    EGLDisplay display = headlessDisplay(nullptr);
    if (display == EGL_NO_DISPLAY)
        return info;
    EGLint count = 0;
    eglGetConfigs(display, nullptr, 0, &count);
    std::vector<EGLConfig> configs(count > 0 ? count : 0);
    eglGetConfigs(display, configs.data(), count, &count);
    for (EGLConfig c : configs) {
        EGLint id = 0, depth = 0, stencil = 0, red = 0, alpha = 0, surfaces = 0;
        eglGetConfigAttrib(display, c, EGL_CONFIG_ID, &id);
        eglGetConfigAttrib(display, c, EGL_DEPTH_SIZE, &depth);
        eglGetConfigAttrib(display, c, EGL_STENCIL_SIZE, &stencil);
        eglGetConfigAttrib(display, c, EGL_RED_SIZE, &red);
        eglGetConfigAttrib(display, c, EGL_ALPHA_SIZE, &alpha);
        eglGetConfigAttrib(display, c, EGL_SURFACE_TYPE, &surfaces);
        if (id == format) {
            info.depth = depth;
            info.stencil = stencil;
        }
        if (red == 8 && alpha == 8 && (surfaces & EGL_PBUFFER_BIT) && stencil > 0 && depth == 0)
            ++info.stencilWithoutDepth;
    }
    return info;
}

struct SampleResult {
    int samples = 0;
    std::string backend;
    double createToFirstFrameMs = 0;
    ConfigInfo config;
    bool stencilOnly = false;
    Series exact, batched, floor;
};

void printSeriesRow(const char* name, const Series& s, double floorMedian, const CpuLine* cpu)
{
    if (s.ms.empty())
        return;
    const double median = percentile(s.ms, 0.5);
    std::printf("  %-22s %8.2f %8.2f %7.2f %8.2f %6.0f %8.0f %8.0f %8.1f %10.0f %8.1f %6.2f %6.2f %5.2f\n", name,
                median, percentile(s.ms, 0.99), floorMedian > 0 ? median / floorMedian : 0,
                percentile(s.cpuMs, 0.5), s.perFrame(s.draws), cpu && cpu->valid ? cpu->calls : 0,
                s.perFrame(s.vertices), s.perFrame(s.allocations), s.perFrame(s.bytes), s.perFrame(s.faults),
                s.perFrame(s.glyphs), s.perFrame(s.uploads), s.perFrame(s.glErrors));
}

// The first backend's result at r's sample count, which the others are
// compared with; null for the first backend itself.
const SampleResult* referenceFor(const SampleResult& r, const std::vector<SampleResult>& results)
{
    for (const SampleResult& other : results)
        if (other.samples == r.samples)
            return &other == &r || other.backend == r.backend ? nullptr : &other;
    return nullptr;
}

double medianRatio(const Series& s, const Series& reference)
{
    return s.ms.empty() || reference.ms.empty() ? 0 : percentile(s.ms, 0.5) / percentile(reference.ms, 0.5);
}

void printRatios(const std::vector<SampleResult>& results)
{
    bool any = false;
    for (const SampleResult& r : results) {
        const SampleResult* ref = referenceFor(r, results);
        if (!ref)
            continue;
        if (!any)
            std::printf("\nper frame against the first backend, same run (median / median):\n");
        any = true;
        std::printf("  samples %d: %s exact %.2f x %s exact, %.2f x %s batched; %s batched %.2f x %s exact, "
                    "%.2f x %s batched\n",
                    r.samples, r.backend.c_str(), medianRatio(r.exact, ref->exact), ref->backend.c_str(),
                    medianRatio(r.exact, ref->batched), ref->backend.c_str(), r.backend.c_str(),
                    medianRatio(r.batched, ref->exact), ref->backend.c_str(), medianRatio(r.batched, ref->batched),
                    ref->backend.c_str());
    }
}

void printTable(const Options& o, double startupMs, const CpuResult& cpu, const std::vector<SampleResult>& results)
{
    std::printf("panel-bench: %dx%d headless, %d frames a block, %d rounds of %s, heap %s\n", o.width, o.height,
                o.frames, o.rounds,
                o.exact && o.batched ? "exact/floor/batched/floor" : o.exact ? "exact/floor" : "batched/floor",
                o.keepHeap ? "kept (mallopt)" : "glibc defaults");
    std::printf("start-up to first frame: %.1f ms\n", startupMs);
    if (cpu.exact.valid)
        std::printf("library CPU per frame (GL stand-in dropping every call): exact %.3f ms, batched %.3f ms, "
                    "floor %.4f ms; own heap allocations per frame: exact %.3f, batched %.3f\n",
                    cpu.exact.medianMs, cpu.batched.medianMs, cpu.floor.medianMs, cpu.exact.allocations,
                    cpu.batched.allocations);
    for (const SampleResult& r : results) {
        if (r.backend == kCpuChoice)
            std::printf("\nsamples %d, backend cpu (no GL: the library's frame in memory, on the machine's cores; "
                        "cpu: the calling thread's); create to first frame %.1f ms\n",
                        r.samples, r.createToFirstFrameMs);
        else
            std::printf("\nsamples %d, backend %s (configuration: depth %d, stencil %d; configurations with stencil "
                        "and no depth: %d; drawn with %s); create to first frame %.1f ms\n",
                        r.samples, r.backend.c_str(), r.config.depth, r.config.stencil, r.config.stencilWithoutDepth,
                        r.stencilOnly ? "stencil alone" : "stencil packed with depth", r.createToFirstFrameMs);
        std::printf("  %-22s %8s %8s %7s %8s %6s %8s %8s %8s %10s %8s %6s %6s %5s\n", "per frame", "median",
                    "p99", "xfloor", "cpu", "draws", "GLcalls", "verts", "allocs", "bytes", "faults", "glyphs",
                    "upload", "GLerr");
        const double floorMedian = percentile(r.floor.ms, 0.5);
        printSeriesRow("exact", r.exact, floorMedian, &cpu.exact);
        printSeriesRow("batched", r.batched, floorMedian, &cpu.batched);
        printSeriesRow("floor", r.floor, floorMedian, &cpu.floor);
    }
    printRatios(results);
}

void jsonSeries(const char* name, const Series& s, double floorMedian, const CpuLine* cpu, bool last)
{
    if (s.ms.empty()) {
        std::printf("\"%s\":null%s", name, last ? "" : ",");
        return;
    }
    const double median = percentile(s.ms, 0.5);
    std::printf("\"%s\":{\"medianMs\":%.4f,\"p99Ms\":%.4f,\"ratioToFloor\":%.4f,\"cpuMs\":%.4f,\"draws\":%.2f,"
                "\"glCalls\":%.1f,\"vertices\":%.1f,\"allocations\":%.2f,\"bytes\":%.0f,\"pageFaults\":%.2f,"
                "\"glyphsBuilt\":%.3f,\"textureUploads\":%.3f,\"glErrors\":%.3f}%s",
                name, median, percentile(s.ms, 0.99), floorMedian > 0 ? median / floorMedian : 0,
                percentile(s.cpuMs, 0.5), s.perFrame(s.draws), cpu && cpu->valid ? cpu->calls : 0,
                s.perFrame(s.vertices), s.perFrame(s.allocations), s.perFrame(s.bytes), s.perFrame(s.faults),
                s.perFrame(s.glyphs), s.perFrame(s.uploads), s.perFrame(s.glErrors), last ? "" : ",");
}

void jsonCpu(const char* name, const CpuLine& l, bool last)
{
    std::printf("\"%s\":{\"medianMs\":%.5f,\"p99Ms\":%.5f,\"glCalls\":%.1f,\"draws\":%.1f,\"vertices\":%.1f,"
                "\"allocations\":%.3f,\"bytes\":%.1f}%s",
                name, l.medianMs, l.p99Ms, l.calls, l.draws, l.vertices, l.allocations, l.bytes, last ? "" : ",");
}

void printJson(const Options& o, double startupMs, const CpuResult& cpu, const std::vector<SampleResult>& results)
{
    std::printf("{\"width\":%d,\"height\":%d,\"frames\":%d,\"rounds\":%d,\"heapKept\":%s,\"startupMs\":%.2f,",
                o.width, o.height, o.frames, o.rounds, o.keepHeap ? "true" : "false", startupMs);
    std::printf("\"libraryCpu\":{");
    jsonCpu("exact", cpu.exact, false);
    jsonCpu("batched", cpu.batched, false);
    jsonCpu("floor", cpu.floor, true);
    std::printf("},\"samples\":[");
    for (size_t i = 0; i < results.size(); ++i) {
        const SampleResult& r = results[i];
        std::printf("{\"samples\":%d,\"backend\":\"%s\",\"depthBits\":%d,\"stencilBits\":%d,\"stencilWithoutDepthConfigs\":%d,"
                    "\"stencilAlone\":%s,\"createToFirstFrameMs\":%.2f,",
                    r.samples, r.backend.c_str(), r.config.depth, r.config.stencil, r.config.stencilWithoutDepth,
                    r.stencilOnly ? "true" : "false", r.createToFirstFrameMs);
        const double floorMedian = percentile(r.floor.ms, 0.5);
        jsonSeries("exact", r.exact, floorMedian, &cpu.exact, false);
        jsonSeries("batched", r.batched, floorMedian, &cpu.batched, false);
        jsonSeries("floor", r.floor, floorMedian, &cpu.floor, true);
        if (const SampleResult* ref = referenceFor(r, results))
            std::printf(",\"against\":{\"backend\":\"%s\",\"exactToExact\":%.4f,\"exactToBatched\":%.4f,"
                        "\"batchedToExact\":%.4f,\"batchedToBatched\":%.4f}",
                        ref->backend.c_str(), medianRatio(r.exact, ref->exact), medianRatio(r.exact, ref->batched),
                        medianRatio(r.batched, ref->exact), medianRatio(r.batched, ref->batched));
        std::printf("}%s", i + 1 < results.size() ? "," : "");
    }
    std::printf("]}\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const auto processStart = std::chrono::steady_clock::now();
    Options options;
    std::string error;
    if (!parseArgs(argc, argv, &options, &error)) {
        std::fprintf(stderr, "panel-bench: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.keepHeap && !keepDriverHeap()) {
        std::fprintf(stderr, "panel-bench: this C library cannot be told to keep its heap\n");
        options.keepHeap = false;
    }

    if (options.backends.empty())
        options.backends.push_back("gl1");
    // One renderer for the GL backends' probed table, one for the CPU
    // backend's; the GL is not touched when only the CPU backend is asked for.
    DisplayRenderer glRenderer, cpuRenderer;
    bool anyGl = false, anyCpu = false;
    for (const std::string& backend : options.backends)
        (backend == kCpuChoice ? anyCpu : anyGl) = true;
    for (const bool gl : {true, false}) {
        if (!(gl ? anyGl : anyCpu))
            continue;
        HeadlessTarget probing(gl ? "gl1" : kCpuChoice);
        if (!probing.Init(gl ? glRenderer : cpuRenderer, &error)) {
            std::fprintf(stderr, "panel-bench: %s\n", error.c_str());
            return 1;
        }
    }
    auto rendererFor = [&](const std::string& backend) -> DisplayRenderer& {
        return backend == kCpuChoice ? cpuRenderer : glRenderer;
    };
    if (options.samples.empty())
        for (const PixelFormatEntry& entry : rendererFor(options.backends.front()).Formats().Entries())
            options.samples.push_back(entry.samples);
    for (int s : options.samples)
        for (const std::string& backend : options.backends)
            if (!rendererFor(backend).Formats().IsSupported(s)) {
                std::fprintf(stderr, "panel-bench: no pixel format with %d samples for %s\n", s, backend.c_str());
                return 2;
            }

    // The display's frames poll the source before each update, as the
    // program's do.
    DataFlood flood;
    if (options.floodRate > 0) {
        if (!flood.Start(*rendererFor(options.backends.front()).Display().descriptor, options.floodRate, &error)) {
            std::fprintf(stderr, "panel-bench: %s\n", error.c_str());
            return 1;
        }
        for (DisplayRenderer* renderer : {&glRenderer, &cpuRenderer})
            renderer->SetBeforeUpdate([&flood, processStart] {
                flood.Feed().BeforeUpdate(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart).count());
            });
    }

    double startupMs = 0;
    std::vector<SampleResult> results;
    for (int samples : options.samples)
      for (const std::string& backend : options.backends) {
        SampleResult r;
        r.samples = samples;
        r.backend = backend;
        DisplayRenderer& renderer = rendererFor(backend);
        HeadlessTarget target(backend);
        if (target.UsesGl())
            r.config = configInfo(renderer.Formats().FormatFor(samples));
        if (!target.Prepare(renderer, options.width, options.height, &error)) {
            std::fprintf(stderr, "panel-bench: %s\n", error.c_str());
            return 1;
        }
        if (HeadlessSurface* surface = target.GlSurface())
            surface->UsePackedStencil(options.packedStencil);
        const auto created = std::chrono::steady_clock::now();
        if (!renderer.Create(target.Surface(), samples)) {
            const std::string why = target.GlSurface() && !target.GlSurface()->Error().empty()
                                        ? target.GlSurface()->Error()
                                        : grBackendError();
            std::fprintf(stderr, "panel-bench: cannot draw through %s with %d samples: %s\n", backend.c_str(),
                         samples, why.c_str());
            renderer.Destroy();
            return 1;
        }
        renderer.Resize(options.width, options.height);
        Bench bench(renderer, target);
        grSetBatching(!options.exact);
        bench.Frame(Kind::Exact);
        grSetBatching(false);
        const auto firstFrame = std::chrono::steady_clock::now();
        r.createToFirstFrameMs = std::chrono::duration<double, std::milli>(firstFrame - created).count();
        if (results.empty())
            startupMs = std::chrono::duration<double, std::milli>(firstFrame - processStart).count();

        Series warmUp;  // glyphs, scratch and batch buffers, the driver's caches
        if (options.exact)
            bench.Block(Kind::Exact, 100, warmUp);
        if (options.batched)
            bench.Block(Kind::Batched, 100, warmUp);
        for (int round = 0; round < options.rounds; ++round) {
            if (options.exact) {
                bench.Block(Kind::Exact, options.frames, r.exact);
                bench.Block(Kind::Floor, options.frames, r.floor);
            }
            if (options.batched) {
                bench.Block(Kind::Batched, options.frames, r.batched);
                bench.Block(Kind::Floor, options.frames, r.floor);
            }
        }
        r.stencilOnly = target.GlSurface() && target.GlSurface()->StencilOnly();
        renderer.Destroy();
        results.push_back(std::move(r));
    }
    if (options.floodRate > 0) {
        const FeedCounts counts = flood.Feed().Counts();
        std::fprintf(stderr, "flood: %lld datagrams sent, %lld received, %lld values fed to the frames\n", flood.Sent(),
                    counts.datagrams, counts.fed);
        flood.Stop();
    }
    const CpuResult cpu = runCpuBench(options.frames);
    if (options.json)
        printJson(options, startupMs, cpu, results);
    else
        printTable(options, startupMs, cpu, results);
    return 0;
}
