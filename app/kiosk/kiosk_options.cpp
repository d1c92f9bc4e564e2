#include "kiosk_options.h"

#include "arguments.h"

const char* const kKioskUsage =
    "usage: instrument-panel-kiosk [--display MODULE] [--renderer auto|gl|cpu] [--gl gl1|es2|es3|core]\n"
    "                              [--samples S] [--frames N] [--batched] [--output NAME]\n"
    "                              [--scale fit|FACTOR] [--rotate DEGREES] [--mirror] [--threads N]\n"
    "                              [--data SOURCE]... [--record FILE] [--send DESTINATION]...\n"
    "Shows the display full screen on a Wayland compositor, running from the start.\n"
    "  --display M  a display module (a shared library); default: the built-in display\n"
    "  --renderer R auto (default without --gl): the processor where EGL is missing or\n"
    "               its GL is a software rasteriser (llvmpipe...), else the GL; stderr\n"
    "               says which and why; gl: draw through EGL with the GL of --gl; cpu:\n"
    "               draw on the processor into shared memory, no EGL (samples 0, 2, 4,\n"
    "               8 or exact)\n"
    "  --gl G       the GL to draw with: es3 (default), es2, core (the shader backend)\n"
    "               or gl1 (desktop OpenGL with its fixed function)\n"
    "  --samples S  samples per pixel (default: 8, else 4, else 2, else 0), or exact:\n"
    "               the exact share of each pixel's area (the processor alone)\n"
    "  --frames N   show frames 1 to N, then hold frame N paused\n"
    "  --batched    draw in the batched submission mode (same pixels, fewer draws)\n"
    "  --output O   show the display on the compositor's output named O (its name,\n"
    "               such as HDMI-A-1, or its description); default: the compositor's\n"
    "  --scale fit|FACTOR  fit the display to the output, aspect kept and centred\n"
    "               (the default), or draw FACTOR pixels per unit (1: pixels 1:1)\n"
    "  --rotate D   turn the display 0, 90, 180 or 270 degrees clockwise\n"
    "  --mirror     swap left and right (a head-up display's beam splitter)\n"
    "  --threads N  the CPU backend draws with N threads, this one included (1: on\n"
    "               this thread alone; default: the processors it may run on, up to 4)\n"
    "  --data S     feed the display's inputs from S (repeatable): udp:[ADDRESS:]PORT:MAPPING,\n"
    "               replay:FILE[:loop] or mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING]\n"
    "  --record F   record the values fed into F (CSV: time,input,value)\n"
    "  --send D     send the display's outputs (what the pilot sets) to D (repeatable):\n"
    "               udp:[ADDRESS:]PORT:MAPPING, in the mapping's format through its\n"
    "               output lines (ADDRESS 127.0.0.1 unless given), or\n"
    "               mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING], each output on\n"
    "               PREFIX/out/<name>\n"
    "Keys: Space starts and pauses, S starts, P pauses, 0 2 4 8 choose the\n"
    "samples while paused, D shows and hides the data state (shown on its own\n"
    "while a broker is not connected), Escape or Q quits. A display that takes\n"
    "events gets the pointer, the touch screen and the other keys; the kiosk's\n"
    "own keys act when the display leaves them unused, except D, Escape and Q,\n"
    "which stay the kiosk's.\n";

namespace {

constexpr int kMaxHoldFrame = 1000000;

}  // namespace

bool parseKioskArgs(int argc, const char* const* argv, KioskOptions* options, std::string* error)
{
    // A GL named with --gl is the user's choice: no automatic one then.
    bool rendererGiven = false, glGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options->help = true;
            return true;
        }
        if (arg == "--batched") {
            options->batched = true;
            continue;
        }
        if (arg != "--samples" && arg != "--frames" && arg != "--gl" && arg != "--renderer" && arg != "--output") {
            *error = "unknown argument: " + arg;
            return false;
        }
        if (i + 1 >= argc) {
            *error = arg + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        if (arg == "--output") {
            options->output = value;
            if (options->output.empty()) {
                *error = "--output needs the name of an output";
                return false;
            }
        } else if (arg == "--renderer") {
            const std::string renderer = value;
            if (renderer != "auto" && renderer != "gl" && renderer != "cpu") {
                *error = "--renderer takes auto, gl or cpu, not " + renderer;
                return false;
            }
            options->cpu = renderer == "cpu";
            options->autoRenderer = renderer == "auto";
            rendererGiven = true;
        } else if (arg == "--gl") {
            if (!glContextKindFor(value, &options->glKind)) {
                *error = std::string("--gl takes ") + kGlChoiceNames + ", not " + value;
                return false;
            }
            options->gl = value;
            glGiven = true;
        } else if (arg == "--samples") {
            if (!parseSampleCount(value, &options->samples)) {
                *error = std::string("--samples takes a sample count or exact, not ") + value;
                return false;
            }
        } else if (!parseNumber(value, &options->holdFrame) || options->holdFrame < 1 ||
                   options->holdFrame > kMaxHoldFrame) {
            *error = std::string("--frames takes a count from 1 to 1000000, not ") + value;
            return false;
        }
    }
    if (glGiven && !rendererGiven)
        options->autoRenderer = false;
    return true;
}
