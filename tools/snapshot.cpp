#include "snapshot.h"

#include <GL/gl.h>

#include <cstring>

#include "arguments.h"
#include "display_module.h"
#include "display_renderer.h"
#include "gr.h"
#include "gr_display.h"
#include "headless.h"

const char* const kSnapshotUsage =
    "usage: panel-snapshot [--display MODULE] [--frames N] [--samples S] [--size WxH] [--batched]\n"
    "                      [--gl gl1|es2|es3|core] -o out.png\n"
    "       panel-snapshot --formats\n"
    "       panel-snapshot --help\n"
    "Renders the display without a window and writes one frame as a PNG.\n"
    "  --display M  a display module (a shared library); default: the built-in display\n"
    "  --frames N   render frames 1 to N of the animation, write frame N (default 1)\n"
    "  --samples S  samples per pixel (default: 8, else 4, else 2, else 0, as the\n"
    "               window starts with)\n"
    "  --size WxH   view size in pixels (default: the display area and its 10-pixel\n"
    "               margin, 778x1034 for the built-in display)\n"
    "  --batched    draw in the batched submission mode (same pixels, fewer draws)\n"
    "  --gl API     draw through OpenGL 1.1 (gl1, the default) or the shader backend\n"
    "               in an OpenGL ES 2 (es2), ES 3 (es3) or 3.3 core (core) context\n"
    "  --formats    list the pixel formats: \"samples id\" per line\n";

namespace {

constexpr int kMaxFrames = 1000000;

}  // namespace

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
        if (arg != "--frames" && arg != "--samples" && arg != "--size" && arg != "--display" && arg != "--gl" &&
            arg != "-o") {
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
            if (!parseNumber(value, &options->samples) || options->samples < 0) {
                *error = std::string("--samples takes a sample count, not ") + value;
                return false;
            }
        } else if (arg == "--size") {
            if (!parseViewSize(value, &options->width, &options->height)) {
                *error = std::string("--size takes WxH with sides from 1 to 16384, not ") + value;
                return false;
            }
            options->sizeGiven = true;
        } else if (arg == "--gl") {
            GlContextKind kind;
            if (!glContextKindFor(value, &kind)) {
                *error = std::string("--gl takes ") + kGlChoiceNames + ", not " + value;
                return false;
            }
            options->gl = value;
        } else if (arg == "--display") {
            options->displayPath = value;
        } else {
            options->output = value;
        }
    }
    if (!options->listFormats && options->output.empty()) {
        *error = "an output file is needed: -o out.png";
        return false;
    }
    return true;
}

RgbaImage readFramebuffer(int width, int height, bool storedTopRowFirst)
{
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    std::vector<uint8_t> stored(image.pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, stored.data());
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        const int from = storedTopRowFirst ? y : height - 1 - y;
        std::memcpy(&image.pixels[y * row], &stored[from * row], row);
    }
    // A window shows colour only; what the frame left in alpha is no part of it.
    for (size_t i = 3; i < image.pixels.size(); i += 4)
        image.pixels[i] = 255;
    return image;
}

int runSnapshot(const SnapshotOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.help) {
        out << kSnapshotUsage;
        return 0;
    }
    HeadlessProbe probe;
    DisplayRenderer renderer;
    if (!renderer.Init(probe)) {
        err << "panel-snapshot: " << probe.Error() << "\n";
        return 1;
    }
    const PixelFormatTable& formats = renderer.Formats();
    if (options.listFormats) {
        for (const PixelFormatEntry& entry : formats.Entries())
            out << entry.samples << " " << entry.format << "\n";
        return 0;
    }
    const int samples = options.samples < 0 ? formats.DefaultSampleCount() : options.samples;
    if (!formats.IsSupported(samples)) {
        err << "panel-snapshot: no pixel format with " << samples << " samples; available:";
        for (const PixelFormatEntry& entry : formats.Entries())
            err << " " << entry.samples;
        err << "\n";
        return 2;
    }
    HostedDisplay display = builtInHostedDisplay();
    if (!options.displayPath.empty()) {
        std::string error;
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
    grSetBatching(options.batched);
    HeadlessSurface surface(width, height);
    GlContextKind kind = GlContextKind::Compatibility;
    glContextKindFor(options.gl, &kind);
    if (!useHeadlessContext(surface, kind)) {
        err << "panel-snapshot: --gl " << options.gl << " is not available on this platform\n";
        return 1;
    }
    renderer.UseBackend(options.gl, headlessProcLoader());
    if (!renderer.Create(&surface, samples)) {
        // A start-up failure the surface reported is the whole story.
        if (!surface.Reported())
            err << "panel-snapshot: "
                << (surface.Error().empty() ? std::string("cannot create the GL context") : surface.Error()) << "\n";
        renderer.Destroy();
        return 1;
    }
    renderer.Resize(width, height);
    for (int i = 0; i < options.frames; ++i) {
        renderer.Paint(i > 0);
        // A pbuffer's swap does not wait for the GL: unless each frame is
        // finished here, the driver queues the work of all of them.
        glFinish();
    }
    const RgbaImage image = readFramebuffer(width, height, surface.TopRowFirst());
    renderer.Destroy();
    std::string error;
    if (!writePng(options.output, image, &error)) {
        err << "panel-snapshot: " << error << "\n";
        return 1;
    }
    return 0;
}
