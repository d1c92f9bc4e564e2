#include "display.h"
#include "gr_display.h"
#include "tables.h"

namespace {

const GrDisplay kBuiltInDisplay = {
    GR_DISPLAY_INTERFACE_VERSION,
    "Приборы двигателя",
    768,
    1024,
    &displayTables(),
    UpdateDisplayModel,
    DrawDisplay,
};

}  // namespace

const GrDisplay& builtInDisplay() { return kBuiltInDisplay; }
