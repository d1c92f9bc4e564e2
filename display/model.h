// The display's animated values: a frame counter, an eight-step phase
// sequence and twelve counters bouncing between fixed limits. Speeds are
// counted in frames.
#pragma once

#include <cstdint>

constexpr int kCounterCount = 12;

struct StepEntry {
    int32_t value;
    int32_t frames;
};

struct StepSequence {
    int32_t index;
    int32_t ticks;
    int32_t count;
    const StepEntry* entries;
};

enum : uint8_t { kCountUp = 1, kCountDown = 2, kBounce = 3 };
enum : uint8_t { kMovingUp = 1, kMovingDown = 2 };

struct AnimatedCounter {
    int64_t current;
    int64_t start;
    int64_t minimum;
    int64_t maximum;
    int64_t step;
    uint8_t direction;
    uint8_t mode;
};

// Outputs of the last update, read by the draw routines in the same paint.
struct DisplayModel {
    int32_t frameCounter;  // -1 before the first update
    int32_t firstFrame;
    int32_t phase;
    int32_t counterValues[kCounterCount];  // counterValues[0] is counter 1
    StepSequence steps;
    AnimatedCounter counters[kCounterCount];
};

extern DisplayModel g_model;

// Advances every animated value by one frame.
void UpdateDisplayModel();

// One counter's step: returns its value before the move, then moves it.
int32_t stepCounter(AnimatedCounter& counter);

// One step of the phase sequence: returns the phase, then advances.
int32_t stepSequence(StepSequence& steps);

// Puts the model back to its program-start values (tests only need this).
void resetDisplayModel();
