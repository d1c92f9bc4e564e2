#include "flight.h"

static const GrPoint kFuelNeedle[4] = {{-14, 0}, {0, -5}, {96, 0}, {0, 5}};
static const GrPoint kFlowReserve[4] = {{680, 262}, {800, 262}, {860, 290}, {990, 290}};

// Fuel gauge around (832, 590): an elliptic face, coloured range bands, the
// level as a pie, a needle from empty (left) to full (right).
void DrawFuelGauge()
{
    char16_t text[16];
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetColor(C_BEZEL);
    grSetBorderColor(B_WHITE);
    grSetBorderWidth(BW_2);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grEllipse(832, 590, 160, 118);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grSetColor(C_DIM);
    grSetLineWidth(W_THIN);
    grSetLinePattern(P_DASH_LONG);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grEllipse(832, 590, 150, 108);
    grSetLinePattern(P_SOLID);

    grPushMatrix(40);
    grTranslate(832, 560);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_1);
    grSetColor(C_RED);
    grRingSector(0, 0, 112, 100, 180.0f, -27.0f);
    grSetColor(C_AMBER);
    grRingSector(0, 0, 112, 100, 153.0f, -27.0f);
    grSetColor(C_GREEN);
    grRingSector(0, 0, 112, 100, 126.0f, -126.0f);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetColor(C_WHITE);
    grSetLineWidth(W_THIN);
    grRingSector(0, 0, 118, 96, 0.0f, 180.0f);
    grSetColor(C_RED);
    grSetLineWidth(W_2);
    grArc(0, 0, 70, 180.0f, -27.0f);

    // The level as a pie: amber while below 30 percent.
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetColor(g_fuel < 30.0f ? C_AMBER : C_GREEN);
    grSector(0, 0, 56, 180.0f, -1.8f * g_fuel);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grSetColor(C_WHITE);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSector(0, 0, 56, 0.0f, 180.0f);

    // Scale marks every 10 percent, labels along the arc.
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetLineWidth(W_2);
    grPushMatrix(41);
    grRotate(180.0f);
    grLine(78, 0, 92, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(162.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(144.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(126.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(108.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(90.0f);
    grLine(78, 0, 92, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(72.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(54.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(36.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(18.0f);
    grLine(78, 0, 86, 0);
    grPopMatrix(41);
    grPushMatrix(41);
    grRotate(0.0f);
    grLine(78, 0, 92, 0);
    grPopMatrix(41);
    grSetFont(F_LABEL);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_MIDDLE);
    grText(-134, 0, 90.0f, u"E");
    grText(-95, 95, 45.0f, u"1/4");
    grText(0, 134, 0.0f, u"1/2");
    grText(95, 95, -45.0f, u"3/4");
    grText(134, 0, -90.0f, u"F");

    // Needle and hub.
    grPushMatrix(42);
    grRotate(180.0f - 1.8f * g_fuel);
    grSetColor(C_YELLOW);
    grSetBorderColor(B_BLACK);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grPolygon(kFuelNeedle, 4);
    grPopMatrix(42);
    grSetColor(C_DIM);
    grCircle(0, 0, 9);
    grPopMatrix(40);

    grSetFont(F_READOUT);
    grSetColor(g_fuel < 30.0f ? C_AMBER : C_WHITE);
    grSetBorderColor(B_DARK);
    grSetBorderWidth(BW_2);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_TOP);
    grText(832, 530, 0.0f, grFormat(text, 16, u"%3d %%", grRoundToInt(g_fuel)));
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetFont(F_CAPTION);
    grSetColor(C_WHITE);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
    grText(684, 452, 0.0f, u"fuel, percent of capacity");
}

// Fuel flow over the last 70 frames with its forecast, on a dashed grid.
void DrawFlowTrend()
{
    grSetColor(C_BEZEL);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_1);
    grRect(680, 220, 990, 420);

    grSetColor(C_DIM);
    grSetLineWidth(W_THIN);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetLinePattern(P_DOT);
    grLine(680, 270, 990, 270);
    grLine(680, 310, 990, 310);
    grLine(680, 350, 990, 350);
    grSetLinePattern(P_DASH_DOT);
    grLine(760, 220, 760, 420);
    grLine(840, 220, 840, 420);
    grLine(920, 220, 920, 420);
    grSetLinePattern(P_DASH_LONG);
    grSetColor(C_RED);
    grLine(680, 374, 990, 374);
    grSetColor(C_AMBER);
    grSetLinePattern(P_DASH_DOT_LONG);
    grPolyline(kFlowReserve, 4);
    grSetLinePattern(P_NONE);
    grLine(680, 230, 990, 230);

    grPushClip(40);
    grClipRect(680, 220, 990, 420);
    grSetLinePattern(P_SOLID);
    grSetColor(C_CYAN);
    grSetLineWidth(W_2);
    grSetBorderColor(B_DARK);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grPolyline(g_flowHistory, 8);
    grSetColor(C_MAGENTA);
    grSetLinePattern(P_DASH);
    grBezier(g_flowForecast, 4, 16);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetColor(C_DIM);
    grSetLineWidth(W_THIN);
    grSetLinePattern(P_DOT);
    grBezier(g_flowForecastHigh, 4, 16);
    grBezier(g_flowForecastLow, 4, 16);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSetLinePattern(P_SOLID);
    grSetColor(C_WHITE);
    grSetLineWidth(W_5);
    grSetBorderColor(B_CYAN);
    grPoint(g_flowHistory[0].x, g_flowHistory[0].y);
    grPoint(g_flowHistory[1].x, g_flowHistory[1].y);
    grPoint(g_flowHistory[2].x, g_flowHistory[2].y);
    grPoint(g_flowHistory[3].x, g_flowHistory[3].y);
    grPoint(g_flowHistory[4].x, g_flowHistory[4].y);
    grPoint(g_flowHistory[5].x, g_flowHistory[5].y);
    grPoint(g_flowHistory[6].x, g_flowHistory[6].y);
    grPoint(g_flowHistory[7].x, g_flowHistory[7].y);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetMode(GR_MODE_ANTIALIAS, GR_OFF);
    grSetColor(C_MAGENTA);
    grSetLineWidth(W_3);
    grPoint(g_flowForecast[1].x, g_flowForecast[1].y);
    grPoint(g_flowForecast[2].x, g_flowForecast[2].y);
    grPoint(g_flowForecast[3].x, g_flowForecast[3].y);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grPopClip(40);

    grSetFont(F_SCALE);
    grSetColor(C_WHITE);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_BOTTOM);
    grText(986, 424, 0.0f, u"flow");
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BOTTOM);
    grText(684, 424, 0.0f, u"-70");
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BASELINE);
    grText(934, 226, 0.0f, u"now");
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_BASELINE);
    grText(986, 378, 0.0f, u"max");
}

// Warning lamps: lit images while their condition holds, dark frames else.
void DrawLamps()
{
    grSetColor(C_BEZEL);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_1);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grRect(560, 80, 626, 114);
    grRect(680, 80, 746, 114);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetImage(I_LAMP_FUEL);
    if (g_lampFuel)
        grImage(561, 81);
    grSetImage(I_LAMP_GEAR);
    if (g_lampGear)
        grImage(681, 81);
    grSetFont(F_LABEL);
    grSetColor(C_WHITE);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_TOP);
    grText(593, 72, 0.0f, u"LOW FUEL");
    grText(713, 72, 0.0f, u"GEAR UP");
}
