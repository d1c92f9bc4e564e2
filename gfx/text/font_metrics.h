// Vertical metrics of the loaded fonts, which text alignment reads.
#pragma once

#include "gr.h"

struct FontMetrics {
    float height;   // cell height in pixels (ascent + descent)
    float descent;  // pixels below the baseline
};

// One entry per font table position, zero until that font is created.
FontMetrics* fontMetrics();
