#include "model.h"

#include "gr_display.h"

namespace {

const StepEntry kSteps[] = {
    {0, 50}, {1, 70}, {2, 30}, {3, 70}, {4, 30}, {5, 70}, {6, 30}, {7, 150},
};

constexpr AnimatedCounter bouncing(int64_t start, int64_t minimum, int64_t maximum, int64_t step)
{
    return {start, start, minimum, maximum, step, kMovingUp, kBounce};
}

constexpr AnimatedCounter kInitialCounters[kCounterCount] = {
    bouncing(10240, 0, 17600, 16), bouncing(5120, 0, 17600, 16),
    bouncing(23040, 0, 28168, 16), bouncing(7680, 0, 28168, 16),
    bouncing(0, 0, 3000, 4),       bouncing(600, 0, 3000, 4),
    bouncing(25600, 0, 28672, 16), bouncing(5120, 0, 28672, 16),
    bouncing(0, 0, 512, 1),        bouncing(-320, -560, 2048, 4),
    bouncing(0, 0, 512, 2),        bouncing(0, -560, 2048, 2),
};

DisplayModel initialModel()
{
    DisplayModel model = {};
    model.frameCounter = -1;
    model.steps = {0, 0, 8, kSteps};
    for (int i = 0; i < kCounterCount; ++i)
        model.counters[i] = kInitialCounters[i];
    return model;
}

}  // namespace

DisplayModel g_model = initialModel();

void resetDisplayModel() { g_model = initialModel(); }

int32_t stepSequence(StepSequence& steps)
{
    if (steps.count <= 0 || steps.index < 0 || steps.index >= steps.count)
        steps.index = 0;
    if (steps.count <= 0)
        return 0;
    const StepEntry& entry = steps.entries[steps.index];
    const int32_t phase = entry.value;
    ++steps.ticks;
    if (steps.ticks >= entry.frames) {
        ++steps.index;
        if (steps.index >= steps.count)
            steps.index = 0;
        steps.ticks = 0;
    }
    return phase;
}

int32_t stepCounter(AnimatedCounter& c)
{
    const int32_t output = static_cast<int32_t>(static_cast<uint64_t>(c.current) & 0xFFFFFFFFu);
    switch (c.mode) {
    case kCountUp:
        c.current += c.step;
        if (c.current > c.maximum)
            c.current = c.minimum;
        break;
    case kCountDown:
        c.current -= c.step;
        if (c.current < c.minimum)
            c.current = c.maximum;
        break;
    case kBounce:
        if (c.direction == kMovingUp) {
            if (c.current + c.step <= c.maximum) {
                c.current += c.step;
            } else if (c.current - c.step >= c.minimum) {
                c.current -= c.step;
                c.direction = kMovingDown;
            }
        } else if (c.direction == kMovingDown) {
            if (c.current - c.step >= c.minimum) {
                c.current -= c.step;
            } else if (c.current + c.step <= c.maximum) {
                c.current += c.step;
                c.direction = kMovingUp;
            }
        }
        break;
    default:
        break;
    }
    return output;
}

void UpdateDisplayModel()
{
    g_model.frameCounter = static_cast<int32_t>(static_cast<uint32_t>(g_model.frameCounter) + 1u);
    g_model.firstFrame = g_model.frameCounter == 0 ? 1 : 0;
    g_model.phase = stepSequence(g_model.steps);
    // A fed gauge shows its input, written into counterValues before this;
    // the others animate.
    for (int i = 0; i < kCounterCount; ++i)
        if (grInputState(i) == GR_INPUT_NOT_FED)
            g_model.counterValues[i] = stepCounter(g_model.counters[i]);
}
