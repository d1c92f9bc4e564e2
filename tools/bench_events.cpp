// panel-bench-events: how long a pointer event takes to show, headless.
//   panel-bench-events [--display MODULE] [--gl gl1|es2|es3|core|cpu] [--events N]
// Each round queues a wheel step at a point (the flight example's compass
// rose unless --at X,Y is given), paints, waits for the frame to be drawn
// and reads it back, as a host that shows it would; the time from queueing
// to the pixels read, in milliseconds: p50, p99 and max.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display_module.h"
#include "headless_target.h"

namespace {

const char* const kUsage =
    "usage: panel-bench-events [--display MODULE] [--gl gl1|es2|es3|core|cpu] [--samples S] [--events N]\n"
    "                          [--at X,Y]\n"
    "Queues N pointer events (default 500), one a frame, each a wheel step at X,Y\n"
    "(display units; default 250,185, the flight example's compass rose), and\n"
    "times each from the queue to its frame read back: p50, p99 and max in ms.\n"
    "S: samples per pixel (default 0).\n";

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(p * (values.size() - 1) + 0.5));
    return values[at];
}

}  // namespace

int main(int argc, char** argv)
{
    std::string module, gl = "gl1";
    int events = 500;
    int samples = 0;
    float atX = 250.0f, atY = 185.0f;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--display" && hasValue)
            module = argv[++i];
        else if (arg == "--gl" && hasValue)
            gl = argv[++i];
        else if (arg == "--events" && hasValue && (events = std::atoi(argv[++i])) > 0)
            continue;
        else if (arg == "--samples" && hasValue && (samples = std::atoi(argv[++i])) >= 0)
            continue;
        else if (arg == "--at" && hasValue && std::sscanf(argv[++i], "%f,%f", &atX, &atY) == 2)
            continue;
        else {
            std::fputs(kUsage, arg == "--help" ? stdout : stderr);
            return arg == "--help" ? 0 : 2;
        }
    }
    std::string error;
    if (!module.empty()) {
        HostedDisplay display{nullptr, ""};
        if (!loadDisplayModule(module, &display, &error)) {
            std::fprintf(stderr, "panel-bench-events: %s\n", error.c_str());
            return 1;
        }
        selectDisplay(display);
    }
    DisplayRenderer renderer;
    HeadlessTarget target(gl);
    const GrDisplay& display = *renderer.Display().descriptor;
    const int width = display.width + static_cast<int>(kDisplayMargin);
    const int height = display.height + static_cast<int>(kDisplayMargin);
    if (!target.Init(renderer, &error) || !target.Prepare(renderer, width, height, &error)) {
        std::fprintf(stderr, "panel-bench-events: %s\n", error.c_str());
        return 1;
    }
    if (!renderer.Formats().IsSupported(samples) || !renderer.Create(target.Surface(), samples)) {
        std::fprintf(stderr, "panel-bench-events: cannot draw through %s with %d samples: %s\n", gl.c_str(), samples,
                     target.CreateError().c_str());
        return 1;
    }
    if (!renderer.TakesEvents())
        std::fprintf(stderr, "panel-bench-events: the display takes no events; timing the frames alone\n");
    renderer.Resize(width, height);
    RgbaImage frame;
    std::vector<double> ms;
    for (int i = 0; i < events + 20; ++i) {
        GrEvent wheel = {};
        wheel.type = GR_EVENT_WHEEL;
        wheel.x = atX;
        wheel.y = atY;
        wheel.steps = 1;
        const auto queued = std::chrono::steady_clock::now();
        renderer.QueueEvent(wheel);
        renderer.Paint(false);
        target.FinishFrame();
        target.Read(width, height, &frame);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - queued;
        if (i >= 20)  // the first frames build glyphs and buffers
            ms.push_back(took.count());
    }
    renderer.Destroy();
    std::printf("%s, %s, %d samples, %d events: pointer event to frame read back p50 %.2f ms, p99 %.2f ms, "
                "max %.2f ms\n",
                display.name, gl.c_str(), samples, events, percentile(ms, 0.5), percentile(ms, 0.99),
                *std::max_element(ms.begin(), ms.end()));
    return 0;
}
