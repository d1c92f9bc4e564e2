// The outputs a display declares: the host collects what changed once a
// frame, on the frame's thread, so nothing here locks.
#include <cmath>
#include <cstring>

#include "gr_display.h"
#include "outputs.h"

namespace {

struct OutputSlot {
    double seen;  // the variable's value when last collected, sent or refused
    bool marked;  // grSendOutput since the last collection
};

struct AttachedOutputs {
    const GrOutput* table = nullptr;
    int count = 0;
    OutputSlot slots[GR_MAX_OUTPUTS] = {};
    long long refused = 0;
};

AttachedOutputs g_outputs;

double readVariable(const GrOutput& output)
{
    if (!output.variable)
        return std::nan("");
    if (output.type == GR_INPUT_INT32)
        return *static_cast<const int32_t*>(output.variable);
    return *static_cast<const float*>(output.variable);
}

// NaN is the same as NaN here, so that a display left at NaN is refused once.
bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

}  // namespace

bool grUseOutputs(const GrOutput* outputs, int count)
{
    if (count < 0 || count > GR_MAX_OUTPUTS || (count > 0 && !outputs))
        return false;
    g_outputs.table = outputs;
    g_outputs.count = count;
    g_outputs.refused = 0;
    for (int i = 0; i < count; ++i)
        g_outputs.slots[i] = {readVariable(outputs[i]), false};
    return true;
}

int grFindOutput(const char* name)
{
    if (!name)
        return -1;
    for (int i = 0; i < g_outputs.count; ++i)
        if (g_outputs.table[i].name && std::strcmp(g_outputs.table[i].name, name) == 0)
            return i;
    return -1;
}

void grSendOutput(int output)
{
    if (output >= 0 && output < g_outputs.count)
        g_outputs.slots[output].marked = true;
}

int grCollectOutputs(GrOutputSink sink, void* context)
{
    int sent = 0;
    for (int i = 0; i < g_outputs.count; ++i) {
        const GrOutput& output = g_outputs.table[i];
        OutputSlot& slot = g_outputs.slots[i];
        const double value = readVariable(output);
        if (same(value, slot.seen) && !slot.marked)
            continue;
        slot.seen = value;
        slot.marked = false;
        if (!std::isfinite(value) || value < output.minimum || value > output.maximum) {
            ++g_outputs.refused;
            continue;
        }
        if (sink)
            sink(i, value, context);
        ++sent;
    }
    return sent;
}

long long grOutputsRefused(void) { return g_outputs.refused; }

void outputWrittenByInput(const void* variable)
{
    for (int i = 0; i < g_outputs.count; ++i)
        if (g_outputs.table[i].variable == variable)
            g_outputs.slots[i].seen = readVariable(g_outputs.table[i]);
}
