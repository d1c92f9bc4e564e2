// gr-bench: how long each primitive family takes on this machine's GL,
// headless. Prints microseconds per call (CPU building plus GL drawing,
// with glFinish per batch), for speed targets to be checked against.
#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "display_renderer.h"
#include "egl_headless.h"
#include "gr.h"
#include "tables.h"

namespace {

constexpr int kSize = 512;
constexpr int kCalls = 2000;

const GrPoint kNeedle[] = {{0, -144}, {6, -120}, {3, -120}, {3, 0}, {-3, 0}, {-3, -120}, {-6, -120}};
const GrPoint kCurve[] = {{0, 0}, {30, 80}, {90, -40}, {120, 20}};

struct Case {
    const char* name;
    std::function<void(int)> draw;
};

double microsecondsPerCall(const Case& c)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    grBeginFrame();
    c.draw(0);  // warm-up: textures and scratch growth
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i)
        c.draw(i);
    glFinish();
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / kCalls;
}

void setMode(bool fill, bool border, int pattern)
{
    grSetMode(GR_MODE_FILL, fill);
    grSetMode(GR_MODE_BORDER, border);
    grSetLinePattern(pattern);
}

}  // namespace

int main()
{
    EglProbe probe;
    PixelFormatTable formats;
    if (!formats.Probe(probe)) {
        std::fprintf(stderr, "gr-bench: %s\n", probe.Error().c_str());
        return 1;
    }
    const int samples = formats.DefaultSampleCount();
    EglPbufferSurface surface(kSize, kSize);
    if (!surface.Bind() || !surface.CreateContext(formats.FormatFor(samples)) || !surface.MakeCurrent()) {
        std::fprintf(stderr, "gr-bench: cannot create a GL context\n");
        return 1;
    }
    grUseTables(&displayTables());
    grInit(1.5f);
    setDisplayProjection(kSize, kSize);
    grSetColor(6);
    grSetBorderColor(2);
    grSetLineWidth(3);
    grSetBorderWidth(1);

    const std::vector<Case> cases = {
        {"line solid", [](int i) { setMode(false, false, 0); grLine(10, i % 400, 400, 200); }},
        {"line dashed bordered", [](int i) { setMode(false, true, 3); grLine(10, i % 400, 400, 200); }},
        {"arc r=92 sweep 112", [](int) { setMode(false, false, 0); grArc(250, 250, 92, 102, 112); }},
        {"circle filled r=123", [](int) { setMode(true, false, 0); grCircle(250, 250, 123); }},
        {"ring sector filled", [](int) { setMode(true, false, 0); grRingSector(250, 250, 150, 123, 57, 35); }},
        {"ring outline bordered", [](int) { setMode(false, true, 0); grRing(250, 250, 150, 123); }},
        {"rect filled", [](int) { setMode(true, false, 0); grRect(100, 100, 300, 200); }},
        {"rect dashed outline", [](int) { setMode(false, false, 2); grRect(100, 100, 300, 200); }},
        {"ellipse dashed", [](int) { setMode(false, false, 1); grEllipse(250, 250, 150, 60); }},
        {"polygon needle bordered", [](int) { setMode(false, true, 0); grPolygon(kNeedle, 7); }},
        {"bezier cubic 40 segments", [](int) { setMode(false, false, 0); grBezier(kCurve, 4, 40); }},
    };
    std::printf("%d x %d pbuffer, %d samples, %d calls per case\n", kSize, kSize, samples, kCalls);
    for (const Case& c : cases)
        std::printf("%-28s %8.2f us/call\n", c.name, microsecondsPerCall(c));
    grShutdown();
    surface.DeleteContext();
    surface.Release();
    return 0;
}
