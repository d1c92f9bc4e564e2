// The built-in display, linked into its page like any display.
#include "display.h"
#include "gr_display.h"

GR_EXPORT_DISPLAY(builtInDisplay())
