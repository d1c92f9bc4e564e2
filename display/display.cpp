#include "display.h"

#include "gr.h"
#include "layout.h"

void DrawDisplay()
{
    advancePanelLayout(g_model.firstFrame, g_model.phase);

    grSetColor(4);
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_ANTIALIAS, 1);
    grSetMode(GR_MODE_BORDER, 0);
    grRect(0, 0, 767, 1023);
}
