// Which display the renderer shows: the built-in one, or one loaded from a
// display module (a shared library exporting grDisplayDescriptor).
#pragma once

#include <string>

#include "gr_display.h"

struct HostedDisplay {
    const GrDisplay* descriptor;
    // Relative image names of the tables resolve against this folder; empty:
    // the executable's folder.
    std::string imageFolder;
};

// The display linked into the program.
HostedDisplay builtInHostedDisplay();

// The display renderers show unless told otherwise: the built-in one until
// selectDisplay. The program selects once, at start-up.
const HostedDisplay& selectedDisplay();
void selectDisplay(const HostedDisplay& display);

// Loads the display module at path and checks its descriptor. On failure
// returns false with "PATH: reason" in *error and keeps nothing loaded; on
// success the module stays loaded for the rest of the process.
bool loadDisplayModule(const std::string& path, HostedDisplay* display, std::string* error);

// What loading shares on every platform, once the module at path is loaded
// and entry (null if it has none) looked up: fills *display, its images in
// folder, or gives "PATH: reason" in *error and returns false, when the
// caller unloads the module.
bool acceptDisplayModule(const std::string& path, GrDisplayEntry entry, const std::string& folder,
                         HostedDisplay* display, std::string* error);

// Why a module of an older interface version cannot be shown: rebuild it.
std::string rebuildMessage(int version);

// Why a table of inputs is refused (names, types, ranges), or an empty string.
std::string inputsProblem(const GrInput* inputs, int count);

// Why a table of outputs is refused (names, types, ranges), or an empty string.
std::string outputsProblem(const GrOutput* outputs, int count);

// The oldest interface version the runtime still shows: version 2 lacks
// the fields after inputCount, which the functions below stand in for.
constexpr int kOldestShownVersion = 2;
inline bool hasVersion3Fields(const GrDisplay& d) { return d.interfaceVersion >= 3; }
// The display's event entry, or null.
inline int32_t (*displayEventEntry(const GrDisplay& d))(const GrEvent*)
{
    return hasVersion3Fields(d) ? d.handleEvent : nullptr;
}
inline const GrOutput* displayOutputs(const GrDisplay& d) { return hasVersion3Fields(d) ? d.outputs : nullptr; }
inline int displayOutputCount(const GrDisplay& d) { return hasVersion3Fields(d) ? d.outputCount : 0; }

// Why descriptor cannot be shown, or an empty string when it can.
std::string descriptorProblem(const GrDisplay* descriptor);

// The largest display area side the runtime accepts, in units.
constexpr int kMaxDisplaySide = 16000;
