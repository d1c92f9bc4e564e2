// A display module built for a later interface than the runtime's.
#include "gr_display.h"

static void nothing() {}

static const GrTables kNoTables = {};

static const GrDisplay kFutureDisplay = {
    GR_DISPLAY_INTERFACE_VERSION + 1, "future", 320, 200, &kNoTables, nothing, nothing, nullptr, 0, nullptr, nullptr, 0,
};

GR_EXPORT_DISPLAY(kFutureDisplay)
