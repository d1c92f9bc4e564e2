#include "display_option.h"

#include "display_module.h"
#include "gr.h"
#include "gr_display.h"
#include "option_value.h"

const char* const kProgramUsage =
    "usage: instrument-panel [--display MODULE] [--renderer auto|gl|cpu] [--batched] [--data SOURCE]...\n"
    "                        [--record FILE] [--send DESTINATION]... [--fullscreen]\n"
    "                        [--geometry WxH+X+Y] [--no-bars] [--scale fit|FACTOR]\n"
    "                        [--rotate DEGREES] [--mirror] [--threads N]\n"
    "       instrument-panel --help\n"
    "Shows the display in a window.\n"
    "  --display M  a display module (a shared library, a DLL on Windows);\n"
    "               default: the built-in display\n"
    "  --renderer R auto (default): the processor where the OpenGL is a software\n"
    "               rasteriser (llvmpipe, GDI Generic...) or missing, else OpenGL (the\n"
    "               About box says which and why); gl: draw through OpenGL; cpu: draw\n"
    "               on the processor, no OpenGL needed (2x, 4x and 8x antialias)\n"
    "  --batched    draw in the batched submission mode (same pixels, fewer draws)\n"
    "  --data S     feed the display's inputs from S (repeatable): udp:[ADDRESS:]PORT:MAPPING\n"
    "               (ADDRESS 127.0.0.1 unless given), replay:FILE[:loop], or on Linux\n"
    "               mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING] (docs/COCKPIT.md)\n"
    "  --record F   write every value fed to the display to F (CSV: time,input,value)\n"
    "  --fullscreen, --geometry WxH+X+Y, --no-bars: the window full screen, at a size\n"
    "               and place, or without menu, toolbar and status bar (F11 and F12\n"
    "               switch full screen and the bars)\n"
    "  --scale fit|FACTOR  fit the display to the view, aspect kept and centred (the\n"
    "               default), or FACTOR view pixels per unit (1: pixels 1:1)\n"
    "  --rotate D   turn the display 0, 90, 180 or 270 degrees clockwise\n"
    "  --mirror     swap left and right (a head-up display's beam splitter)\n"
    "  --threads N  the CPU backend draws with N threads, this one included (1: on\n"
    "               this thread alone; default: the processors it may run on, up to 4)\n"
    "  --send D     send the display's outputs (what the pilot sets) to D (repeatable):\n"
    "               udp:[ADDRESS:]PORT:MAPPING, in the mapping's format through its\n"
    "               output lines (ADDRESS 127.0.0.1 unless given), or\n"
    "               mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING], each output on\n"
    "               PREFIX/out/<name> (a mapping of format mqtt renames and scales)\n"
    "Exit status: 0 once the window is closed; 1 when the display module is refused\n"
    "or the display cannot start (an image or a font of its tables, OpenGL); 2 for\n"
    "a command line it does not take.\n";

bool takeDisplayOption(int* argc, char** argv, std::string* path, std::string* error)
{
    bool given = false;
    return takeOptionValue(argc, argv, "--display", "the path of a display module", path, &given, error);
}

int readProgramCommandLine(int* argc, char** argv, std::string* out, std::string* error)
{
    std::string path;
    if (!takeDisplayOption(argc, argv, &path, error)) {
        *error += std::string("\n") + kProgramUsage;
        return kExitUsage;
    }
    bool batched = false;
    for (int i = 1; i < *argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            *out = kProgramUsage;
            return 0;
        }
        if (arg == "--batched") {
            batched = true;
            continue;
        }
        *error = (arg.rfind('-', 0) == 0 ? "unknown option: " : "unexpected argument: ") + arg + "\n" +
                 kProgramUsage;
        return kExitUsage;
    }
    *argc = *argc > 0 ? 1 : 0;
    argv[*argc] = nullptr;
    if (!path.empty()) {
        HostedDisplay display;
        if (!loadDisplayModule(path, &display, error))
            return kExitRefused;
        selectDisplay(display);
    }
    grSetBatching(batched);
    return kStartProgram;
}

int selectDisplayOfOption(int* argc, char** argv, std::string* error)
{
    std::string path;
    if (!takeDisplayOption(argc, argv, &path, error))
        return kExitUsage;
    if (path.empty())
        return 0;
    HostedDisplay display;
    if (!loadDisplayModule(path, &display, error))
        return kExitRefused;
    selectDisplay(display);
    return 0;
}

std::string titleShowingDisplay(const std::string& title, const GrDisplay* display)
{
    if (!display || display == builtInHostedDisplay().descriptor)
        return title;
    return std::string(display->name) + " — " + title;
}
