#include "display_module.h"

#include "display.h"
#include "gr_display.h"

namespace {

HostedDisplay& selection()
{
    static HostedDisplay display = builtInHostedDisplay();
    return display;
}

}  // namespace

HostedDisplay builtInHostedDisplay() { return {&builtInDisplay(), std::string()}; }

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

std::string descriptorProblem(const GrDisplay* d)
{
    if (!d)
        return "its " GR_DISPLAY_ENTRY_NAME " returned no descriptor";
    // Only the first field is read before the version is known to match.
    if (d->interfaceVersion != GR_DISPLAY_INTERFACE_VERSION)
        return "it was built for display interface version " + std::to_string(d->interfaceVersion) +
               ", this runtime has version " + std::to_string(GR_DISPLAY_INTERFACE_VERSION);
    if (!d->name)
        return "its descriptor has no name";
    if (d->width < 1 || d->height < 1 || d->width > kMaxDisplaySide || d->height > kMaxDisplaySide)
        return "its display area " + std::to_string(d->width) + " x " + std::to_string(d->height) +
               " is not between 1 and " + std::to_string(kMaxDisplaySide) + " units a side";
    if (!d->updateDisplayModel || !d->drawDisplay)
        return "its descriptor lacks an entry point";
    if (!d->tables || !grUseTables(d->tables))
        return "its tables are refused (missing, a negative count, or more than " +
               std::to_string(GR_MAX_PATTERNS) + " patterns, " + std::to_string(GR_MAX_IMAGES) +
               " images or " + std::to_string(GR_MAX_FONTS) + " fonts)";
    return std::string();
}
