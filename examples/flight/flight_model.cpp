#include "flight.h"

int g_frame = -1;
float g_roll = 0.0f;
float g_pitch = 0.0f;
float g_heading = 0.0f;
float g_course = 0.0f;
float g_deviation = 0.0f;
float g_altitude = 0.0f;
float g_fuel = 0.0f;
float g_flow = 0.0f;
float g_headingBug = 70.0f;
float g_baro = 1013.0f;
int g_page = PAGE_HEADING;
int g_lampFuel = 0;
int g_lampGear = 0;
GrPoint g_flowHistory[8] = {};
GrPoint g_flowForecast[4] = {};
GrPoint g_flowForecastHigh[4] = {};
GrPoint g_flowForecastLow[4] = {};

static int animated(int input) { return grInputState(input) == GR_INPUT_NOT_FED; }

// Flow over the last 70 frames, a sample every 10 frames, oldest first, as
// the animation had it.
static void animateFlowHistory(float t)
{
    g_flowHistory[0] = {690, 230 + grRoundToInt(1.6f * (50.0f + 30.0f * grSinDeg((t - 70.0f) * 2.0f)))};
    g_flowHistory[1] = {725, 230 + grRoundToInt(1.6f * (50.0f + 30.0f * grSinDeg((t - 60.0f) * 2.0f)))};
    g_flowHistory[2] = {760, 230 + grRoundToInt(1.6f * (50.0f + 30.0f * grSinDeg((t - 50.0f) * 2.0f)))};
    g_flowHistory[3] = {795, 230 + grRoundToInt(1.6f * (50.0f + 30.0f * grSinDeg((t - 40.0f) * 2.0f)))};
    g_flowHistory[4] = {830, 230 + grRoundToInt(1.6f * (50.0f + 30.0f * grSinDeg((t - 30.0f) * 2.0f)))};
    g_flowHistory[5] = {865, 230 + grRoundToInt(1.6f * (50.0f + 30.0f * grSinDeg((t - 20.0f) * 2.0f)))};
    g_flowHistory[6] = {900, 230 + grRoundToInt(1.6f * (50.0f + 30.0f * grSinDeg((t - 10.0f) * 2.0f)))};
}

// Fed flow: the samples move one place left every 10 frames.
static void shiftFlowHistory()
{
    if (g_frame % 10 != 0)
        return;
    for (int i = 0; i < 7; ++i)
        g_flowHistory[i] = {690 + 35 * i, g_flowHistory[i + 1].y};
}

void UpdateDisplayModel()
{
    g_frame = g_frame + 1;
    float t = (float)g_frame;
    // Fed inputs hold their latest values already; the others animate.
    if (animated(IN_ROLL))
        g_roll = 28.0f * grSinDeg(t * 1.2f);
    if (animated(IN_PITCH))
        g_pitch = 9.0f * grSinDeg(t * 0.7f + 30.0f);
    if (animated(IN_HEADING))
        g_heading = t * 0.8f + 35.0f - 360.0f * grFloor((t * 0.8f + 35.0f) / 360.0f);
    g_course = 70.0f;
    g_deviation = 1.6f * grSinDeg(t * 0.9f);
    if (animated(IN_ALTITUDE))
        g_altitude = 4200.0f + 650.0f * grSinDeg(t * 1.5f);
    if (animated(IN_FUEL))
        g_fuel = 55.0f + 40.0f * grCosDeg(t * 1.0f);
    if (animated(IN_FUEL_FLOW)) {
        g_flow = 50.0f + 30.0f * grSinDeg(t * 2.0f);
        animateFlowHistory(t);
    } else {
        shiftFlowHistory();
    }
    g_lampFuel = (g_fuel < 40.0f) && ((g_frame / 10) % 2 == 0);
    g_lampGear = g_altitude < 3900.0f;
    g_flowHistory[7] = {935, 230 + grRoundToInt(1.6f * g_flow)};
    // The forecast leaves the last sample along its slope and bends back
    // towards the mean flow.
    g_flowForecast[0] = g_flowHistory[7];
    g_flowForecast[1] = {950, g_flowHistory[7].y + (g_flowHistory[7].y - g_flowHistory[6].y) / 2};
    g_flowForecast[2] = {965, 230 + 80};
    g_flowForecast[3] = {980, 230 + 80};
    g_flowForecastHigh[0] = g_flowForecast[0];
    g_flowForecastHigh[1] = {950, g_flowForecast[1].y + 8};
    g_flowForecastHigh[2] = {965, 230 + 80 + 24};
    g_flowForecastHigh[3] = {980, 230 + 80 + 32};
    g_flowForecastLow[0] = g_flowForecast[0];
    g_flowForecastLow[1] = {950, g_flowForecast[1].y - 8};
    g_flowForecastLow[2] = {965, 230 + 80 - 24};
    g_flowForecastLow[3] = {980, 230 + 80 - 32};
}
