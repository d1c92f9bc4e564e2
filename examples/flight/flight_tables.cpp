#include "flight.h"
#include "gr_display.h"

static const GrColor kColors[] = {
    {24, 28, 36},    // C_BACKGROUND
    {48, 53, 64},    // C_PANEL
    {16, 18, 22},    // C_BEZEL
    {46, 120, 206},  // C_SKY
    {135, 88, 44},   // C_GROUND
    {255, 255, 255}, // C_WHITE
    {0, 0, 0},       // C_BLACK
    {255, 214, 0},   // C_YELLOW
    {52, 210, 92},   // C_GREEN
    {255, 164, 0},   // C_AMBER
    {226, 44, 44},   // C_RED
    {0, 220, 232},   // C_CYAN
    {232, 64, 232},  // C_MAGENTA
    {92, 98, 110},   // C_DIM
    {34, 38, 46},    // C_TAPE
};

static const GrColor kBorderColors[] = {
    {0, 0, 0},       // B_BLACK
    {255, 255, 255}, // B_WHITE
    {255, 164, 0},   // B_AMBER
    {12, 14, 18},    // B_DARK
    {0, 220, 232},   // B_CYAN
};

static const float kLineWidths[] = {1.0f, 1.5f, 2.0f, 3.0f, 5.0f};

static const float kBorderWidths[] = {1.0f, 2.0f, 3.0f};

static const LinePattern kLinePatterns[] = {
    {0xFFFF, 0},  // P_SOLID
    {0xF0F0, 0},  // P_DASH
    {0xF0F0, 1},  // P_DASH_LONG
    {0xF18F, 0},  // P_DASH_DOT
    {0xF18F, 1},  // P_DASH_DOT_LONG
    {0xCCCC, 0},  // P_DOT
    {0x0000, 0},  // P_NONE
};

static const FontSpec kFonts[] = {
    {"Arial", 11, 1, 0, u"arialbd.ttf"},             // F_LABEL
    {"Arial Narrow", 13, 0, 0, u"arialn.ttf"},       // F_SCALE
    {"Courier New", 17, 1, 0, u"courbd.ttf"},        // F_READOUT
    {"Times New Roman", 12, 0, 1, u"timesi.ttf"},    // F_CAPTION
    {"Arial", 15, 1, 0, u"arialbd.ttf"},             // F_TITLE
};

static const ImageSpec kImages[] = {
    {u"lamp_fuel.png", 0, 0x00000000},
    {u"lamp_gear.png", 1, 0x00FF00FF},  // magenta is transparent
};

const GrTables kFlightTables = {
    kColors, 15, kBorderColors, 5, kLineWidths, 5, kBorderWidths, 3,
    kLinePatterns, 7, kImages, 2, kFonts, 5,
};

static const GrInput kInputs[IN_COUNT] = {
    {"pitch", "deg", GR_INPUT_FLOAT, &g_pitch, -90.0f, 90.0f, 0.0f, 0},
    {"roll", "deg", GR_INPUT_FLOAT, &g_roll, -180.0f, 180.0f, 0.0f, 0},
    {"heading", "deg", GR_INPUT_FLOAT, &g_heading, 0.0f, 360.0f, 0.0f, 0},
    {"altitude", "ft", GR_INPUT_FLOAT, &g_altitude, -1000.0f, 60000.0f, 0.0f, 0},
    {"fuel", "%", GR_INPUT_FLOAT, &g_fuel, 0.0f, 100.0f, 0.0f, 0},
    {"fuel_flow", "%", GR_INPUT_FLOAT, &g_flow, 0.0f, 100.0f, 0.0f, 0},
    {"heading_bug", "deg", GR_INPUT_FLOAT, &g_headingBug, 0.0f, 360.0f, 70.0f, 0},
    {"baro", "hPa", GR_INPUT_FLOAT, &g_baro, 950.0f, 1050.0f, 1013.0f, 0},
    {"page", "", GR_INPUT_INT32, &g_page, 0.0f, 3.0f, 0.0f, 0},
};

static const GrOutput kOutputs[OUT_COUNT] = {
    {"heading_bug", "deg", GR_INPUT_FLOAT, &g_headingBug, 0.0f, 360.0f},
    {"baro", "hPa", GR_INPUT_FLOAT, &g_baro, 950.0f, 1050.0f},
    {"page", "", GR_INPUT_INT32, &g_page, 0.0f, 3.0f},
};

static const GrDisplay kFlightDisplay = {
    GR_DISPLAY_INTERFACE_VERSION,
    "Пилотажная панель",
    1024,
    768,
    &kFlightTables,
    UpdateDisplayModel,
    DrawDisplay,
    kInputs,
    IN_COUNT,
    HandleEvent,
    kOutputs,
    OUT_COUNT,
};

GR_EXPORT_DISPLAY(kFlightDisplay)
