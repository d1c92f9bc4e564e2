#include "display.h"
#include "gr_display.h"
#include "tables.h"

namespace {

// The gauges' values, as the counters animate them: raw units of the
// instruments' scales.
constexpr GrInput counterInput(const char* name, int counter, float minimum, float maximum)
{
    return {name, "", GR_INPUT_INT32, &g_model.counterValues[counter], minimum, maximum,
            static_cast<float>(minimum), 0};
}

const GrInput kInputs[kCounterCount] = {
    counterInput("engine1.temperature", 0, 0, 17600),  counterInput("engine2.temperature", 1, 0, 17600),
    counterInput("engine1.percent", 2, 0, 28168),      counterInput("engine2.percent", 3, 0, 28168),
    counterInput("engine1.speed", 4, 0, 3000),         counterInput("engine2.speed", 5, 0, 3000),
    counterInput("engine1.torque", 6, 0, 28672),       counterInput("engine2.torque", 7, 0, 28672),
    counterInput("engine1.oil_pressure", 8, 0, 512),   counterInput("engine1.oil_temperature", 9, -560, 2048),
    counterInput("engine2.oil_pressure", 10, 0, 512),  counterInput("engine2.oil_temperature", 11, -560, 2048),
};

const GrDisplay kBuiltInDisplay = {
    GR_DISPLAY_INTERFACE_VERSION,
    "Приборы двигателя",
    768,
    1024,
    &displayTables(),
    UpdateDisplayModel,
    DrawDisplay,
    kInputs,
    kCounterCount,
    nullptr,
    nullptr,
    0,
};

}  // namespace

const GrDisplay& builtInDisplay() { return kBuiltInDisplay; }
