/* A display that takes about 160 ms to draw, four cycles of the hosts'
   40 ms timer: the hosts must still close at once while it runs. Its one
   input lets a replayed recording start it running, as live data does. */
#include "gr_display.h"

#include <stddef.h>

#ifdef _WIN32
#include <windows.h>
static void pause160ms(void) { Sleep(160); }
#else
#include <time.h>
static void pause160ms(void)
{
    const struct timespec period = {0, 160 * 1000 * 1000};
    nanosleep(&period, NULL);
}
#endif

static const GrColor kColors[] = {{20, 24, 32}, {255, 200, 0}};
static const GrColor kBorderColors[] = {{0, 0, 0}};
static const float kLineWidths[] = {3.0f};
static const float kBorderWidths[] = {2.0f};
static const LinePattern kPatterns[] = {{0xFFFF, 0}};
static const ImageSpec kImages[] = {{NULL, 0, 0}};
static const FontSpec kFonts[] = {{"Arial", 14, 1, 0, u"arialbd.ttf"}};

static const GrTables kTables = {
    kColors, 2, kBorderColors, 1, kLineWidths, 1, kBorderWidths, 1,
    kPatterns, 1, kImages, 1, kFonts, 1,
};

static float g_needle = 0.0f;

static const GrInput kInputs[] = {{"needle", "deg", GR_INPUT_FLOAT, &g_needle, -90.0f, 90.0f, 0.0f, 0}};

static void UpdateDisplayModel(void) {}

static void DrawDisplay(void)
{
    pause160ms();
    grSetColor(0);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grRect(0, 0, 200, 200);
    grPushMatrix(1);
    grTranslate(100, 100);
    grRotate(-g_needle);
    grSetColor(1);
    grSetLineWidth(0);
    grSetLinePattern(0);
    grLine(0, 0, 0, 70);
    grPopMatrix(1);
}

static const GrDisplay kDisplay = {
    GR_DISPLAY_INTERFACE_VERSION, "Slow dial", 200, 200, &kTables, UpdateDisplayModel, DrawDisplay, kInputs, 1,
    NULL, NULL, 0,
};

GR_EXPORT_DISPLAY(kDisplay)
