#include "snapshot.h"

#include <GL/gl.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>
#include <optional>
#include <iostream>

#include "arguments.h"
#include "data_feed.h"
#include "display_module.h"
#include "display_renderer.h"
#include "gr.h"
#include "gr_display.h"
#include "headless_target.h"
#include "progress.h"
#include "heap_policy.h"

const char* const kSnapshotUsage =
    "usage: panel-snapshot [--display MODULE] [--frames N] [--samples S] [--size WxH] [--batched]\n"
    "                      [--gl gl1|es2|es3|core|cpu] [--data SOURCE]... [--record FILE]\n"
    "                      [--progress] [--max-memory MB] [--threads N] -o out.png\n"
    "       panel-snapshot --formats\n"
    "       panel-snapshot --help\n"
    "Renders the display without a window and writes one frame as a PNG.\n"
    "  --display M  a display module (a shared library); default: the built-in display\n"
    "  --frames N   render frames 1 to N of the animation, write frame N (default 1)\n"
    "  --samples S  samples per pixel (default: 8, else 4, else 2, else 0, as the\n"
    "               window starts with; with --gl cpu any of 0, 2, 4 and 8, or exact:\n"
    "               each pixel's exact covered area, finer than 8 samples)\n"
    "  --size WxH   view size in pixels (default: the display area and its 10-pixel\n"
    "               margin, 778x1034 for the built-in display)\n"
    "  --batched    draw in the batched submission mode (same pixels, fewer draws)\n"
    "  --gl API     draw through OpenGL 1.1 (gl1, the default) or the shader backend\n"
    "               in an OpenGL ES 2 (es2), ES 3 (es3) or 3.3 core (core) context, or\n"
    "               the CPU backend (cpu), which needs no GL, no EGL and no driver\n"
    "  --data S     feed the display's inputs from S (repeatable): udp:[ADDRESS:]PORT:MAPPING\n"
    "               (ADDRESS 127.0.0.1 unless given), replay:FILE[:loop] or\n"
    "               mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING]; frame k shows the\n"
    "               values of time k x 40 ms (frames keep that pace with UDP and MQTT)\n"
    "  --record F   write every value fed to F (CSV: time,input,value)\n"
    "  --progress   print progress (frames done, frames/s, time left) and a summary\n"
    "               on stderr; the default when stderr is a terminal\n"
    "  --max-memory MB  render frames estimated to need up to MB MiB (default 2048;\n"
    "               larger frames are refused before anything is allocated)\n"
    "  --threads N  the CPU backend draws with N threads, this one included (1: on\n"
    "               this thread alone; default: the processors it may run on, up to 4)\n"
    "  --formats    list the pixel formats: \"samples id\" per line\n"
    "The data summary goes to standard output; progress, notices and errors to\n"
    "standard error.\n"
    "Exit status: 0 done; 1 the display module or a data source is refused, or\n"
    "rendering fails; 2 a bad command line (a --data SOURCE of the wrong shape\n"
    "among them), a sample count without a pixel format or a frame above the cap.\n";

namespace {

constexpr int kMaxFrames = 1000000;

// SIGINT or SIGTERM: the frames stop, the recording is closed whole and the
// last frame drawn is written.
volatile std::sig_atomic_t g_stopSignal = 0;

void stopOnSignal(int signal) { g_stopSignal = signal; }

// Bytes a pixel of each buffer takes: RGBA colour, a stencil-only buffer.
constexpr uint64_t kColorBytes = 4;
constexpr uint64_t kStencilBytes = 1;
constexpr uint64_t kBytesPerMb = 1u << 20;

std::string megabytes(uint64_t bytes)
{
    return std::to_string((bytes + kBytesPerMb - 1) / kBytesPerMb) + " MiB";
}

const char* glErrorName(GLenum error)
{
    switch (error) {
    case GL_OUT_OF_MEMORY: return "the OpenGL ran out of memory";
    case GL_INVALID_OPERATION: return "the OpenGL refused an operation";
    case GL_INVALID_VALUE: return "the OpenGL refused a value";
    case GL_INVALID_ENUM: return "the OpenGL refused an enumerant";
    default: return "the OpenGL reported an error";
    }
}

}  // namespace

uint64_t frameMemoryBytes(int width, int height, int samples)
{
    const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    // Exact coverage keeps no samples: a pixel and its stencil, as 0 samples.
    const bool single = samples == 0 || samples == GR_EXACT_COVERAGE_SAMPLES;
    const uint64_t perSample = single ? 1 : static_cast<uint64_t>(samples);
    const uint64_t resolved = single ? 0 : kColorBytes;
    const uint64_t surface = kColorBytes;
    const uint64_t readBack = 2 * kColorBytes;
    return pixels * (surface + perSample * (kColorBytes + kStencilBytes) + resolved + readBack);
}

bool parseSnapshotArgs(int argc, const char* const* argv, SnapshotOptions* options, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--formats") {
            options->listFormats = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options->help = true;
            return true;
        }
        if (arg == "--batched") {
            options->batched = true;
            continue;
        }
        if (arg == "--progress") {
            options->progress = true;
            continue;
        }
        if (arg != "--frames" && arg != "--samples" && arg != "--size" && arg != "--display" && arg != "--gl" &&
            arg != "-o" && arg != "--data" && arg != "--record" && arg != "--max-memory" && arg != "--threads") {
            *error = "unknown argument: " + arg;
            return false;
        }
        if (!value) {
            *error = arg + " needs a value";
            return false;
        }
        ++i;
        if (arg == "--frames") {
            if (!parseNumber(value, &options->frames) || options->frames < 1 || options->frames > kMaxFrames) {
                *error = std::string("--frames takes a count from 1 to 1000000, not ") + value;
                return false;
            }
        } else if (arg == "--samples") {
            if (!parseSampleCount(value, &options->samples)) {
                *error = std::string("--samples takes a sample count or exact, not ") + value;
                return false;
            }
        } else if (arg == "--size") {
            if (!parseViewSize(value, &options->width, &options->height)) {
                *error = std::string("--size takes WxH with sides from 1 to 16384, not ") + value;
                return false;
            }
            options->sizeGiven = true;
        } else if (arg == "--gl") {
            if (!isToolChoice(value)) {
                *error = std::string("--gl takes ") + kToolChoiceNames + ", not " + value;
                return false;
            }
            options->gl = value;
        } else if (arg == "--max-memory") {
            if (!parseNumber(value, &options->maxMemoryMb) || options->maxMemoryMb < 1) {
                *error = std::string("--max-memory takes a size in MiB from 1, not ") + value;
                return false;
            }
        } else if (arg == "--threads") {
            if (!parseThreadCount(value, &options->threads)) {
                *error = std::string("--threads takes a thread count from 1 to 64, not ") + value;
                return false;
            }
        } else if (arg == "--display") {
            options->displayPath = value;
        } else if (arg == "--data") {
            // A SOURCE of the wrong shape is a bad command line; one that
            // cannot open is found when the display is attached.
            SourceOption wanted;
            if (!parseSourceOption(value, &wanted, error))
                return false;
            options->dataSources.push_back(value);
        } else if (arg == "--record") {
            options->recordPath = value;
        } else {
            options->output = value;
        }
    }
    if (!options->listFormats && options->output.empty()) {
        *error = "an output file is needed: -o out.png";
        return false;
    }
    if (!options->recordPath.empty() && options->dataSources.empty()) {
        *error = "--record needs a --data source";
        return false;
    }
    return true;
}

bool readFrame(int width, int height, bool storedTopRowFirst, RgbaImage* image)
{
    std::vector<uint8_t> stored(static_cast<size_t>(width) * height * 4);
    *image = RgbaImage();
    if (!grReadPixels(width, height, stored.data()))
        return false;
    image->width = width;
    image->height = height;
    image->pixels.resize(stored.size());
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        const int from = storedTopRowFirst ? y : height - 1 - y;
        std::memcpy(&image->pixels[y * row], &stored[from * row], row);
    }
    // A window shows colour only; what the frame left in alpha is no part of it.
    for (size_t i = 3; i < image->pixels.size(); i += 4)
        image->pixels[i] = 255;
    return true;
}

RgbaImage readFramebuffer(int width, int height, bool storedTopRowFirst)
{
    RgbaImage image;
    readFrame(width, height, storedTopRowFirst, &image);
    return image;
}

namespace {

// Attaches the --data sources and the --record file; *live: a source
// receives in real time.
bool attachSources(const SnapshotOptions& options, const GrDisplay& display, DataFeed* feed, bool* live,
                   std::string* error)
{
    if (options.dataSources.empty())
        return true;
    std::vector<SourceOption> requested;
    for (const std::string& text : options.dataSources) {
        SourceOption wanted;
        if (!parseSourceOption(text, &wanted, error))
            return false;
        *live = *live || wanted.kind != SourceOption::Kind::Replay;
        requested.push_back(wanted);
    }
    return feed->Attach(display, requested, options.recordPath, error);
}

}  // namespace

int runSnapshot(const SnapshotOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.help) {
        out << kSnapshotUsage;
        return 0;
    }
    HeadlessTarget target(options.gl);
    DisplayRenderer renderer;
    std::string error;
    if (!target.Init(renderer, &error)) {
        err << "panel-snapshot: " << error << "\n";
        return 1;
    }
    const PixelFormatTable& formats = renderer.Formats();
    if (options.listFormats) {
        for (const PixelFormatEntry& entry : formats.Entries())
            out << entry.samples << " " << entry.format << "\n";
        return 0;
    }
    const int samples = options.samples < 0 ? formats.DefaultSampleCount() : options.samples;
    if (samples == GR_EXACT_COVERAGE_SAMPLES && !formats.IsSupported(samples)) {
        err << "panel-snapshot: exact coverage is drawn by the CPU backend alone (--gl cpu); " << options.gl
            << " has no such level\n";
        return 2;
    }
    if (!formats.IsSupported(samples)) {
        err << "panel-snapshot: no pixel format with " << samples << " samples; available:";
        for (const PixelFormatEntry& entry : formats.Entries())
            err << " " << entry.samples;
        err << "\n";
        return 2;
    }
    HostedDisplay display = builtInHostedDisplay();
    if (!options.displayPath.empty()) {
        if (!loadDisplayModule(options.displayPath, &display, &error)) {
            err << "panel-snapshot: " << error << "\n";
            return 1;
        }
    }
    renderer.SetDisplay(display);
    // A module's display decides the default size; the defaults are the
    // built-in display's area and margin.
    const bool sizeFromArea = !options.displayPath.empty() && !options.sizeGiven;
    const int margin = static_cast<int>(kDisplayMargin);
    const int width = sizeFromArea ? display.descriptor->width + margin : options.width;
    const int height = sizeFromArea ? display.descriptor->height + margin : options.height;
    const uint64_t cost = frameMemoryBytes(width, height, samples);
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + " at " +
                             std::to_string(samples) + " samples";
    if (cost > static_cast<uint64_t>(options.maxMemoryMb) * kBytesPerMb) {
        err << "panel-snapshot: " << size << " needs about " << megabytes(cost) << ", more than the cap of "
            << options.maxMemoryMb << " MiB; --max-memory " << (cost + kBytesPerMb - 1) / kBytesPerMb
            << " renders it\n";
        return 2;
    }
    if (cost >= static_cast<uint64_t>(kAnnouncedCostMb) * kBytesPerMb || options.progress)
        err << "panel-snapshot: " << size << " needs about " << megabytes(cost) << "\n";
    grSetBatching(options.batched);
    grSetThreadCount(options.threads);
    if (!target.Prepare(renderer, width, height, &error)) {
        err << "panel-snapshot: " << error << "\n";
        return 1;
    }
    if (!renderer.Create(target.Surface(), samples)) {
        // A start-up failure the surface reported is the whole story.
        if (!target.Reported())
            err << "panel-snapshot: " << target.CreateError() << "\n";
        renderer.Destroy();
        return 1;
    }
    renderer.Resize(width, height);
    DataFeed feed;
    bool live = false;
    if (!attachSources(options, *display.descriptor, &feed, &live, &error)) {
        err << "panel-snapshot: " << error << "\n";
        renderer.Destroy();
        return 1;
    }
    int frame = 0;
    renderer.SetBeforeUpdate([&] { feed.BeforeUpdate(frame * kSnapshotFrameMs); });
    const auto start = std::chrono::steady_clock::now();
    std::optional<FrameProgress> progress;
    if (options.progress)
        progress.emplace(err, options.frames, options.progressInPlace);
    for (int i = 0; i < options.frames; ++i) {
        frame = i + 1;
        // Datagrams arrive in real time: a frame waits for its time.
        if (live)
            std::this_thread::sleep_until(start + std::chrono::microseconds(static_cast<long long>(frame * kSnapshotFrameMs * 1000.0)));
        renderer.Paint(i > 0);
        target.FinishFrame();
        for (const std::string& notice : feed.TakeNotices())
            err << "panel-snapshot: " << notice << "\n";
        if (progress)
            progress->FrameDone(i + 1);
        if (g_stopSignal != 0) {
            err << "panel-snapshot: stopped by " << (g_stopSignal == SIGINT ? "SIGINT" : "SIGTERM") << " after frame "
                << frame << " of " << options.frames << "; writing that frame\n";
            break;
        }
    }
    // A frame the GL could not draw (out of memory on the way) is black
    // or partial: it is refused, not written.
    const GLenum drawError = target.TakeGlError();
    if (drawError != GL_NO_ERROR) {
        renderer.Destroy();
        err << "panel-snapshot: the frame of " << width << " x " << height << " pixels at " << samples
            << " samples could not be drawn: " << glErrorName(drawError) << "\n";
        return 1;
    }
    if (progress)
        progress->Finish(frame);
    RgbaImage image;
    const bool read = target.Read(width, height, &image);
    renderer.Destroy();
    if (!read) {
        err << "panel-snapshot: the frame of " << width << " x " << height << " pixels could not be read back\n";
        return 1;
    }
    if (feed.Attached()) {
        const FeedCounts counts = feed.Counts();
        out << "data: " << feed.Status() << "; " << counts.datagrams << " datagrams, " << counts.malformed
            << " malformed, " << counts.refused << " refused, " << counts.clamped << " clamped, " << counts.fed
            << " values fed\n";
    }
    if (!feed.Detach(&error)) {
        err << "panel-snapshot: " << error << "\n";
        return 1;
    }
    if (!writePng(options.output, image, &error)) {
        err << "panel-snapshot: " << error << "\n";
        return 1;
    }
    return 0;
}

int snapshotMain(int argc, const char* const* argv)
{
    keepDriverHeap();
    SnapshotOptions options;
    std::string error;
    if (!parseSnapshotArgs(argc, argv, &options, &error)) {
        std::cerr << "panel-snapshot: " << error << "\n" << kSnapshotUsage;
        return 2;
    }
    // A person at a terminal sees how a long run goes; a script asks.
    options.progressInPlace = stderrIsTerminal();
    options.progress = options.progress || options.progressInPlace;
    std::signal(SIGINT, stopOnSignal);
    std::signal(SIGTERM, stopOnSignal);
    return runSnapshot(options, std::cout, std::cerr);
}
