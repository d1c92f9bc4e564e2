// Where the three instrument panels stand, and their per-frame transitions
// between the home, focus and parked places.
#pragma once

#include <cstdint>

struct PanelLayout {
    float x;
    float y;
    float scale;
};

constexpr int kPanelCount = 3;
constexpr int kTransitionFrames = 20;

extern PanelLayout g_panels[kPanelCount];
// The frame counter of the frame whose layout step g_panels holds (-1 before
// any): a frame painted again is not stepped again.
extern int32_t g_panelsLaidOutFrame;

// One frame of a moving property from origin o towards target t.
float stepToward(float value, float origin, float target);

// Advances the panel layout by one frame of the transition of this phase.
void advancePanelLayout(int firstFrame, int phase);
