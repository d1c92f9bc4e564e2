// The display's animated values and panel placements, saved and put back, so
// that a test can render the same frames twice.
#pragma once

#include <algorithm>

#include "layout.h"
#include "model.h"

struct DisplayState {
    DisplayModel model = g_model;
    PanelLayout panels[kPanelCount];
    int32_t laidOutFrame = g_panelsLaidOutFrame;
    DisplayState() { std::copy(g_panels, g_panels + kPanelCount, panels); }
    void restore() const
    {
        g_model = model;
        std::copy(panels, panels + kPanelCount, g_panels);
        g_panelsLaidOutFrame = laidOutFrame;
    }
};
