// A minimal display: one dial whose needle swings to and fro, with its
// reading on a plate.
#include "gr_display.h"

static const GrColor kColors[] = {{20, 24, 32}, {255, 255, 255}, {255, 200, 0}};
static const GrColor kBorderColors[] = {{0, 0, 0}};
static const float kLineWidths[] = {3.0f};
static const float kBorderWidths[] = {2.0f};
static const LinePattern kPatterns[] = {{0xFFFF, 0}};
static const ImageSpec kImages[] = {{nullptr, 0, 0}};
static const FontSpec kFonts[] = {{"Arial", 14, 1, 0, u"arialbd.ttf"}};

static const GrTables kTables = {
    kColors, 3, kBorderColors, 1, kLineWidths, 1, kBorderWidths, 1,
    kPatterns, 1, kImages, 1, kFonts, 1,
};

static int g_frame = -1;
static float g_angle = 0.0f;

static void UpdateDisplayModel()
{
    g_frame = g_frame + 1;
    g_angle = 90.0f * grSinDeg((float)g_frame * 3.0f);
}

static void DrawDisplay()
{
    char16_t text[16];
    grSetColor(0);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grRect(0, 0, 200, 200);

    grSetColor(1);
    grSetLineWidth(0);
    grSetLinePattern(0);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grCircle(100, 100, 80);

    grPushMatrix(1);
    grTranslate(100, 100);
    grRotate(-g_angle);
    grSetColor(2);
    grLine(0, 0, 0, 70);
    grPopMatrix(1);

    grSetColor(1);
    grSetFont(0);
    grSetBorderColor(0);
    grSetBorderWidth(0);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_TOP);
    grText(100, 60, 0.0f, grFormat(text, 16, u"%+d", grRoundToInt(g_angle)));
}

static const GrDisplay kDisplay = {
    GR_DISPLAY_INTERFACE_VERSION, "Minimal dial", 200, 200, &kTables, UpdateDisplayModel, DrawDisplay, nullptr, 0,
    nullptr, nullptr, 0,
};

GR_EXPORT_DISPLAY(kDisplay)
