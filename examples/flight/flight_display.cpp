#include "flight.h"

// The whole panel, 1024 x 768: four instrument panels on the background.
void DrawDisplay()
{
    grSetColor(C_BACKGROUND);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grRect(0, 0, 1023, 767);

    grSetColor(C_PANEL);
    grSetBorderColor(B_DARK);
    grSetBorderWidth(BW_3);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grRect(20, 20, 480, 748);
    grRect(500, 200, 640, 748);
    grRect(660, 200, 1004, 748);
    grRect(500, 20, 1004, 180);

    DrawAttitude();
    DrawCompass();
    DrawAltitudeTape();
    DrawFuelGauge();
    DrawFlowTrend();
    DrawLamps();
    DrawSoftKeys();
    DrawFailureFlags();

    grSetFont(F_TITLE);
    grSetColor(C_DIM);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_TOP);
    grText(996, 170, 0.0f, u"FLIGHT PANEL");
    grSetFont(F_CAPTION);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_BOTTOM);
    grText(996, 28, 0.0f, u"a display module of instrument-panel");
}
