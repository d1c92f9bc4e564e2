// Pieces the instrument routines share: the needle outlines and the call
// sequences they repeat.
#pragma once

#include "gr.h"

constexpr GrPoint kNeedle1[7] = {{0, -144}, {6, -120}, {3, -120}, {3, 0}, {-3, 0}, {-3, -120}, {-6, -120}};
// Lopsided at the shaft's upper end (2 against -3): the display draws it so.
constexpr GrPoint kNeedle2[7] = {{0, -100}, {6, -76}, {2, -76}, {3, 0}, {-3, 0}, {-3, -76}, {-6, -76}};
constexpr GrPoint kNeedle3[6] = {{71, 0}, {64, 3}, {38, 3}, {31, 0}, {38, -3}, {64, -3}};
constexpr GrPoint kNeedle4[6] = {{-71, 0}, {-64, 3}, {-38, 3}, {-31, 0}, {-38, -3}, {-64, -3}};

// Draws under a rotation of the current matrix, which is then restored.
template <class Calls>
void tick(float degrees, Calls calls)
{
    grPushMatrix(0);
    grRotate(degrees);
    calls();
    grPopMatrix(0);
}

// A vertical scale mark with everything it selects first.
inline void tickLine(int color, int width, int y1, int y2)
{
    grSetColor(color);
    grSetLineWidth(width);
    grSetLinePattern(0);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grLine(0, y1, 0, y2);
}

// A black readout box with a white frame of width 2; leaves fill off.
inline void readoutBox(int x1, int y1, int x2, int y2)
{
    grSetColor(7);
    grSetMode(GR_MODE_FILL, GR_ON);
    grRect(x1, y1, x2, y2);
    grSetColor(6);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grSetLineWidth(2);
    grRect(x1, y1, x2, y2);
}

// The percentage inputs: sixteenths of the input's upper bits, in double so
// that no input overflows.
inline float percentOfInput(int b) { return static_cast<float>(static_cast<double>(b >> 4) * 64 / 1024); }
