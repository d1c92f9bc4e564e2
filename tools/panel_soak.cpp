// panel-soak: runs the animated display headless for many frames, or
// re-creates its context many times, and reports every so often what
// would show a leak or a fault: resident memory, open files, live GL
// textures, GL errors and calls the drawing library refused.
#include <algorithm>
#include <iostream>
#include <string>

#include "arguments.h"
#include "gr_display.h"
#include "gl_choice.h"
#include "soak.h"

namespace {

const char* const kUsage =
    "usage: panel-soak [--frames N] [--cycles C] [--every K] [--size WxH] [--samples S] [--gl gl1|es2|es3|core|cpu]\n"
    "                  [--threads N]\n"
    "  --frames N   frames to draw with the animation running (default 100000)\n"
    "  --cycles C   instead, destroy and re-create the context C times, stepping\n"
    "               through the offered multisampling levels, one frame each\n"
    "  --every K    report after every K frames or cycles (default 5000, or 50)\n"
    "  --gl API     the drawing library's backend and the context it draws in (default gl1;\n"
    "               cpu: the CPU backend, without GL; --samples 0, 2, 4 or 8)\n"
    "  --threads N  the CPU backend draws with N threads, this one included (default: the\n"
    "               processors the process may run on, up to 4)\n"
    "Ends with status 1 when a GL error was raised or a call refused.\n";

bool parseCount(const char* text, long* value) { return parseNumber(text, value) && *value >= 0 && *value <= 100000000; }

struct Options {
    long frames = 100000;
    long cycles = 0;
    long every = 0;
    int width = 778, height = 1034;
    long samples = -1;
    std::string gl = "gl1";
    bool help = false;
};

bool parse(int argc, char** argv, Options* o, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            o->help = true;
            return true;
        }
        if (i + 1 >= argc) {
            *error = arg + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool ok = false;
        if (arg == "--frames")
            ok = parseCount(value, &o->frames) && o->frames > 0;
        else if (arg == "--cycles")
            ok = parseCount(value, &o->cycles) && o->cycles > 0;
        else if (arg == "--every")
            ok = parseCount(value, &o->every) && o->every > 0;
        else if (arg == "--samples")
            ok = parseCount(value, &o->samples);
        else if (arg == "--gl") {
            ok = isToolChoice(value);
            o->gl = value;
        } else if (arg == "--size") {
            ok = parseViewSize(value, &o->width, &o->height);
        } else if (arg == "--threads") {
            int threads = 0;
            ok = parseThreadCount(value, &threads) && grSetThreadCount(threads);
        } else {
            *error = "unknown argument: " + arg;
            return false;
        }
        if (!ok) {
            *error = "bad value for " + arg + ": " + value;
            return false;
        }
    }
    if (o->every == 0)
        o->every = o->cycles > 0 ? 50 : 5000;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!parse(argc, argv, &options, &error)) {
        std::cerr << "panel-soak: " << error << "\n" << kUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    HeadlessDisplay display;
    display.UseBackend(options.gl);
    if (!display.Start(options.width, options.height, static_cast<int>(options.samples), &error)) {
        std::cerr << "panel-soak: " << error << "\n";
        return 1;
    }
    display.RunFrames(1);
    std::cout << "start " << describe(display.Figures()) << std::endl;
    if (options.cycles > 0) {
        for (long c = 1; c <= options.cycles; ++c) {
            if (!display.Recreate(&error)) {
                std::cerr << "panel-soak: cycle " << c << ": " << error << "\n";
                return 1;
            }
            display.RunFrames(1);
            if (c % options.every == 0 || c == options.cycles)
                std::cout << describe(display.Figures()) << ", " << display.Samples() << " samples" << std::endl;
        }
    } else {
        for (long done = 0; done < options.frames;) {
            const long n = std::min(options.every, options.frames - done);
            display.RunFrames(n);
            done += n;
            std::cout << describe(display.Figures()) << std::endl;
        }
    }
    const SoakFigures end = display.Figures();
    std::cout << "peak resident " << peakResidentKilobytes() / 1024.0 << " MB" << std::endl;
    return end.glErrors == 0 && end.refusedCalls == 0 ? 0 : 1;
}
