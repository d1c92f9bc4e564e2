// A display module whose descriptor has an empty display area.
#include "gr_display.h"

static void nothing() {}

static const GrTables kNoTables = {};

static const GrDisplay kFlatDisplay = {
    GR_DISPLAY_INTERFACE_VERSION, "flat", 320, 0, &kNoTables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0,
};

GR_EXPORT_DISPLAY(kFlatDisplay)
