// Flight panel: an attitude indicator, a compass rose, an altitude tape, a
// fuel gauge with its flow trend, and two warning lamps. Generated display
// code: constant tables, animated values, straight-line draw routines.
#pragma once

#include "gr_display.h"

// Colour table
enum {
    C_BACKGROUND, C_PANEL, C_BEZEL, C_SKY, C_GROUND, C_WHITE, C_BLACK, C_YELLOW,
    C_GREEN, C_AMBER, C_RED, C_CYAN, C_MAGENTA, C_DIM, C_TAPE,
};
// Border colour table
enum { B_BLACK, B_WHITE, B_AMBER, B_DARK, B_CYAN };
// Line width table
enum { W_THIN, W_1_5, W_2, W_3, W_5 };
// Border width table
enum { BW_1, BW_2, BW_3 };
// Line pattern table
enum { P_SOLID, P_DASH, P_DASH_LONG, P_DASH_DOT, P_DASH_DOT_LONG, P_DOT, P_NONE };
// Font table
enum { F_LABEL, F_SCALE, F_READOUT, F_CAPTION, F_TITLE };
// Image table
enum { I_LAMP_FUEL, I_LAMP_GEAR };

extern const GrTables kFlightTables;

// Input table: the values a data source may feed instead of the animation.
// The pilot's settings are inputs too, so that a simulator's own changes
// show; the pilot changes them by events and they go out as outputs.
enum {
    IN_PITCH, IN_ROLL, IN_HEADING, IN_ALTITUDE, IN_FUEL, IN_FUEL_FLOW,
    IN_HEADING_BUG, IN_BARO, IN_PAGE, IN_COUNT
};
// Output table: what the pilot sets, sent to the simulator.
enum { OUT_HEADING_BUG, OUT_BARO, OUT_PAGE, OUT_COUNT };
// What the compass readout shows, chosen by the four soft keys.
enum { PAGE_HEADING, PAGE_BUG, PAGE_COURSE, PAGE_BARO, PAGE_COUNT };

// Animated values, advanced once a frame.
extern int g_frame;
extern float g_roll;      // degrees, right wing down positive
extern float g_pitch;     // degrees, nose up positive
extern float g_heading;   // degrees 0..360
extern float g_course;    // degrees 0..360
extern float g_deviation; // course deviation, dots -2..2
extern float g_altitude;  // feet
extern float g_fuel;      // percent
extern float g_flow;      // percent of full flow
extern float g_headingBug; // degrees 0..359, set by the pilot
extern float g_baro;       // barometric setting, hPa 950..1050
extern int g_page;         // PAGE_*
extern int g_lampFuel;
extern int g_lampGear;
extern GrPoint g_flowHistory[8];
extern GrPoint g_flowForecast[4];
extern GrPoint g_flowForecastHigh[4];  // the forecast's spread
extern GrPoint g_flowForecastLow[4];

void UpdateDisplayModel();
void DrawDisplay();
// The pilot's pointer, wheel and keys: heading bug, barometric setting,
// soft keys. Returns 1 for an event it used.
int32_t HandleEvent(const GrEvent* event);

void DrawAttitude();
void DrawCompass();
void DrawAltitudeTape();
void DrawFuelGauge();
void DrawFlowTrend();
void DrawLamps();
void DrawSoftKeys();
// The transform the compass is drawn in, for drawing and hit-testing alike.
void CompassTransform();
// Soft key i's rectangle, for drawing and hit-testing alike.
void SoftKeyRect(int key, int* x1, int* y1, int* x2, int* y2);
// A red flag over each instrument whose data is stale.
void DrawFailureFlags();
