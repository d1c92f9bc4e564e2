// The inputs a display declares, fed by the host's data sources. Like the
// rest of the library it belongs to the frame's thread: the host hands the
// values over there, so nothing here locks.
#include <cmath>
#include <string_view>

#include "gr_display.h"
#include "outputs.h"

namespace {

struct InputSlot {
    double latest;      // clamped to the input's range
    double fedAtMs;     // when the latest value came
    int32_t freshnessMs;
    bool fed;
    bool failed;        // by its source, until the next value
    int state;          // GR_INPUT_*, as of the last grApplyInputs
};

struct AttachedInputs {
    const GrInput* table = nullptr;
    int count = 0;
    InputSlot slots[GR_MAX_INPUTS] = {};
};

AttachedInputs g_inputs;

bool attached(int input) { return input >= 0 && input < g_inputs.count; }

void writeVariable(const GrInput& input, double value)
{
    if (input.type == GR_INPUT_INT32)
        *static_cast<int32_t*>(input.variable) = static_cast<int32_t>(std::lround(value));
    else
        *static_cast<float*>(input.variable) = static_cast<float>(value);
}

}  // namespace

bool grUseInputs(const GrInput* inputs, int count)
{
    if (count < 0 || count > GR_MAX_INPUTS || (count > 0 && !inputs))
        return false;
    g_inputs.table = inputs;
    g_inputs.count = count;
    for (int i = 0; i < count; ++i) {
        const int32_t freshness = inputs[i].freshnessMs;
        g_inputs.slots[i] = {0.0, 0.0, freshness > 0 ? freshness : GR_DEFAULT_FRESHNESS_MS, false,
                             false, GR_INPUT_NOT_FED};
        if (inputs[i].variable)
            writeVariable(inputs[i], inputs[i].start);
    }
    return true;
}

int grFindInput(const char* name)
{
    if (!name)
        return -1;
    for (int i = 0; i < g_inputs.count; ++i) {
        const char* declared = g_inputs.table[i].name;
        if (declared && std::string_view(declared) == name)
            return i;
    }
    return -1;
}

int grInputState(int input) { return attached(input) ? g_inputs.slots[input].state : GR_INPUT_NOT_FED; }

bool grSetInputFreshness(int input, int32_t milliseconds)
{
    if (!attached(input) || milliseconds < 1 || milliseconds > GR_MAX_FRESHNESS_MS)
        return false;
    g_inputs.slots[input].freshnessMs = milliseconds;
    return true;
}

int grFeedInput(int input, double value, double nowMs)
{
    if (!attached(input) || !std::isfinite(value) || !std::isfinite(nowMs))
        return GR_FEED_REFUSED;
    const GrInput& declared = g_inputs.table[input];
    InputSlot& slot = g_inputs.slots[input];
    int result = GR_FEED_ACCEPTED;
    if (value < declared.minimum) {
        value = declared.minimum;
        result = GR_FEED_CLAMPED;
    } else if (value > declared.maximum) {
        value = declared.maximum;
        result = GR_FEED_CLAMPED;
    }
    slot.latest = value;
    slot.fedAtMs = nowMs;
    slot.fed = true;
    slot.failed = false;
    return result;
}

bool grFailInput(int input)
{
    if (!attached(input))
        return false;
    InputSlot& slot = g_inputs.slots[input];
    if (!slot.fed) {
        // Failed before any value: the variable keeps its start value.
        const GrInput& declared = g_inputs.table[input];
        slot.latest = std::fmin(std::fmax(declared.start, declared.minimum), declared.maximum);
        slot.fed = true;
    }
    slot.failed = true;
    return true;
}

void grApplyInputs(double nowMs)
{
    for (int i = 0; i < g_inputs.count; ++i) {
        InputSlot& slot = g_inputs.slots[i];
        if (!slot.fed) {
            slot.state = GR_INPUT_NOT_FED;
            continue;
        }
        slot.state = slot.failed || nowMs - slot.fedAtMs > slot.freshnessMs ? GR_INPUT_STALE : GR_INPUT_FRESH;
        if (g_inputs.table[i].variable) {
            writeVariable(g_inputs.table[i], slot.latest);
            outputWrittenByInput(g_inputs.table[i].variable);
        }
    }
}
