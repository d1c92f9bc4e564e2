#include "display.h"

#include <cstdint>

#include "gr.h"
#include "instruments.h"
#include "layout.h"

namespace {

// Places a panel: its position in whole display units, its scale as it is.
void placePanel(int tag, const PanelLayout& panel)
{
    grPushMatrix(tag);
    grTranslate(static_cast<int>(panel.x), static_cast<int>(panel.y));
    grScale(panel.scale, panel.scale);
}

int counter(int n) { return g_model.counterValues[n - 1]; }

// A host paints a frame more than once (an expose, the repaint at Pause):
// stepping again would show the next frame's layout with this frame's
// values, a picture no run of frames produces. The first frame's step starts
// from the home places, so it may be taken again.
void layOutPanelsOnce()
{
    if (!g_model.firstFrame && g_model.frameCounter == g_panelsLaidOutFrame)
        return;
    advancePanelLayout(g_model.firstFrame, g_model.phase);
    g_panelsLaidOutFrame = g_model.frameCounter;
}

}  // namespace

void DrawDisplay()
{
    layOutPanelsOnce();

    grSetColor(4);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grRect(0, 0, 767, 1023);

    placePanel(3, g_panels[0]);
    grPushMatrix(1);
    grTranslate(-182, 0);
    grScale(0.7f, 1.1f);
    DrawInstrument1(counter(1), counter(3));
    grPopMatrix(1);
    grPushMatrix(2);
    grTranslate(182, 0);
    DrawInstrument1(counter(2), counter(4));
    grPopMatrix(2);
    grPopMatrix(3);

    placePanel(6, g_panels[1]);
    grPushMatrix(4);
    grTranslate(-182, 0);
    DrawInstrument2(counter(5), counter(7));
    grPopMatrix(4);
    grPushMatrix(5);
    grTranslate(182, 0);
    grScale(1.1f, 0.7f);
    DrawInstrument2(counter(6), counter(8));
    grPopMatrix(5);
    grPopMatrix(6);

    placePanel(9, g_panels[2]);
    grPushMatrix(7);
    grTranslate(-152, 0);
    DrawInstrument3(counter(9), counter(10));
    grPopMatrix(7);
    grPushMatrix(8);
    grTranslate(152, 0);
    DrawInstrument3(counter(11), counter(12));
    grPopMatrix(8);
    grPopMatrix(9);
}
