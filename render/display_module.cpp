#include "display_module.h"

#include <cmath>
#include <cstring>

#include "gr_display.h"
#if !defined(PANEL_DISPLAY_LINKED_IN)
#include "display.h"
#endif

namespace {

HostedDisplay& selection()
{
    static HostedDisplay display = builtInHostedDisplay();
    return display;
}

// One table of the descriptor as the checks see it; limit 0: no limit.
struct TableCheck {
    const char* name;
    const void* entries;
    int count;
    int limit;
    const char* limitName;
};

// Which table is unusable and why, or an empty string.
std::string tablesProblem(const GrTables& t)
{
    const TableCheck checks[] = {
        {"colour", t.colors, t.colorCount, 0, nullptr},
        {"border colour", t.borderColors, t.borderColorCount, 0, nullptr},
        {"line width", t.lineWidths, t.lineWidthCount, 0, nullptr},
        {"border width", t.borderWidths, t.borderWidthCount, 0, nullptr},
        {"pattern", t.patterns, t.patternCount, GR_MAX_PATTERNS, "GR_MAX_PATTERNS"},
        {"image", t.images, t.imageCount, GR_MAX_IMAGES, "GR_MAX_IMAGES"},
        {"font", t.fonts, t.fontCount, GR_MAX_FONTS, "GR_MAX_FONTS"},
    };
    for (const TableCheck& c : checks) {
        const std::string table = std::string("its ") + c.name + " table ";
        if (c.count < 0)
            return table + "has a negative count, " + std::to_string(c.count);
        if (c.count > 0 && !c.entries)
            return table + "has " + std::to_string(c.count) + " entries but no address";
        if (c.limit > 0 && c.count > c.limit)
            return table + "has " + std::to_string(c.count) + " entries, more than the " + std::to_string(c.limit) +
                   " allowed (" + c.limitName + ")";
    }
    return std::string();
}

}  // namespace

#if defined(PANEL_DISPLAY_LINKED_IN)
// A page links exactly one display, the one it exports, and no other.
extern "C" const GrDisplay* grDisplayDescriptor();
HostedDisplay builtInHostedDisplay() { return {grDisplayDescriptor(), std::string()}; }
#else
HostedDisplay builtInHostedDisplay() { return {&builtInDisplay(), std::string()}; }
#endif

const HostedDisplay& selectedDisplay() { return selection(); }

bool acceptDisplayModule(const std::string& path, GrDisplayEntry entry, const std::string& folder,
                         HostedDisplay* display, std::string* error)
{
    if (!entry) {
        *error = path + ": not a display module: it exports no function " GR_DISPLAY_ENTRY_NAME;
        return false;
    }
    const GrDisplay* descriptor = entry();
    const std::string problem = descriptorProblem(descriptor);
    if (!problem.empty()) {
        *error = path + ": display refused: " + problem;
        return false;
    }
    display->descriptor = descriptor;
    display->imageFolder = folder;
    return true;
}

void selectDisplay(const HostedDisplay& display) { selection() = display; }

std::string rebuildMessage(int version)
{
    return "it was built for display interface version " + std::to_string(version) +
           ", whose C++ names this runtime no longer has; rebuild it against this runtime's gr.h and "
           "gr_display.h (interface version " + std::to_string(GR_DISPLAY_INTERFACE_VERSION) + ")";
}

std::string inputsProblem(const GrInput* inputs, int count)
{
    if (count < 0 || count > GR_MAX_INPUTS || (count > 0 && !inputs))
        return "its table of inputs is missing or has " + std::to_string(count) + " inputs (0 to " +
               std::to_string(GR_MAX_INPUTS) + ")";
    for (int i = 0; i < count; ++i) {
        const GrInput& input = inputs[i];
        const std::string which = "its input " + std::to_string(i + 1);
        if (!input.name || !*input.name || std::strlen(input.name) > GR_MAX_INPUT_NAME)
            return which + " has no name, or one longer than " + std::to_string(GR_MAX_INPUT_NAME) + " bytes";
        for (const char* c = input.name; *c; ++c)
            if (!((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9') || *c == '_' || *c == '.'))
                return which + " \"" + input.name + "\" has a name of other than lower-case letters, digits, _ and .";
        for (int j = 0; j < i; ++j)
            if (std::strcmp(inputs[j].name, input.name) == 0)
                return which + " \"" + input.name + "\" repeats the name of input " + std::to_string(j + 1);
        if (input.type != GR_INPUT_FLOAT && input.type != GR_INPUT_INT32)
            return which + " \"" + input.name + "\" has an unknown type " + std::to_string(input.type);
        if (!input.variable)
            return which + " \"" + input.name + "\" has no variable";
        if (!(std::isfinite(input.minimum) && std::isfinite(input.maximum) && input.minimum <= input.maximum &&
              input.start >= input.minimum && input.start <= input.maximum))
            return which + " \"" + input.name + "\" has no finite range holding its start value";
        if (input.freshnessMs < 0 || input.freshnessMs > GR_MAX_FRESHNESS_MS)
            return which + " \"" + input.name + "\" has a freshness limit outside 0.." +
                   std::to_string(GR_MAX_FRESHNESS_MS) + " ms";
    }
    return std::string();
}

std::string outputsProblem(const GrOutput* outputs, int count)
{
    if (count < 0 || count > GR_MAX_OUTPUTS || (count > 0 && !outputs))
        return "its table of outputs is missing or has " + std::to_string(count) + " outputs (0 to " +
               std::to_string(GR_MAX_OUTPUTS) + ")";
    for (int i = 0; i < count; ++i) {
        const GrOutput& output = outputs[i];
        const std::string which = "its output " + std::to_string(i + 1);
        if (!output.name || !*output.name || std::strlen(output.name) > GR_MAX_INPUT_NAME)
            return which + " has no name, or one longer than " + std::to_string(GR_MAX_INPUT_NAME) + " bytes";
        for (const char* c = output.name; *c; ++c)
            if (!((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9') || *c == '_' || *c == '.'))
                return which + " \"" + output.name + "\" has a name of other than lower-case letters, digits, _ and .";
        for (int j = 0; j < i; ++j)
            if (std::strcmp(outputs[j].name, output.name) == 0)
                return which + " \"" + output.name + "\" repeats the name of output " + std::to_string(j + 1);
        if (output.type != GR_INPUT_FLOAT && output.type != GR_INPUT_INT32)
            return which + " \"" + output.name + "\" has an unknown type " + std::to_string(output.type);
        if (!output.variable)
            return which + " \"" + output.name + "\" has no variable";
        if (!(std::isfinite(output.minimum) && std::isfinite(output.maximum) && output.minimum <= output.maximum))
            return which + " \"" + output.name + "\" has no finite range";
    }
    return std::string();
}

std::string descriptorProblem(const GrDisplay* d)
{
    if (!d)
        return "its " GR_DISPLAY_ENTRY_NAME " returned no descriptor";
    // Only the first field is read before the version is known to match.
    if (d->interfaceVersion < kOldestShownVersion && d->interfaceVersion > 0)
        return rebuildMessage(d->interfaceVersion);
    if (d->interfaceVersion < kOldestShownVersion || d->interfaceVersion > GR_DISPLAY_INTERFACE_VERSION)
        return "it was built for display interface version " + std::to_string(d->interfaceVersion) +
               ", this runtime has version " + std::to_string(GR_DISPLAY_INTERFACE_VERSION);
    if (!d->name)
        return "its descriptor has no name";
    if (d->width < 1 || d->height < 1 || d->width > kMaxDisplaySide || d->height > kMaxDisplaySide)
        return "its display area " + std::to_string(d->width) + " x " + std::to_string(d->height) +
               " is not between 1 and " + std::to_string(kMaxDisplaySide) + " units a side";
    if (!d->updateDisplayModel || !d->drawDisplay)
        return "its descriptor lacks an entry point";
    if (const std::string problem = inputsProblem(d->inputs, d->inputCount); !problem.empty())
        return problem;
    if (const std::string problem = outputsProblem(displayOutputs(*d), displayOutputCount(*d)); !problem.empty())
        return problem;
    if (!d->tables)
        return "its descriptor has no tables";
    const std::string tables = tablesProblem(*d->tables);
    if (!tables.empty())
        return tables;
    // The library's own check, which the one above spells out table by table.
    if (!grUseTables(d->tables))
        return "its tables are refused by the drawing library";
    return std::string();
}
