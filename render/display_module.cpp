#include "display_module.h"

#include "display.h"
#include "gr_display.h"

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
