#include "font_metrics.h"

static FontMetrics g_fontMetrics[GR_MAX_FONTS];

FontMetrics* fontMetrics() { return g_fontMetrics; }
