// The display's three gauges. Each routine draws one complete instrument
// around its own origin from its two inputs; the frame routine places them.
#pragma once

// Room for one formatted text of an instrument, in UTF-16 code units.
constexpr int kReadoutSize = 400;

// Temperature "x100C°" (a) and percentage "тк%" (b) on one round dial.
void DrawInstrument1(int a, int b);
// Revolutions "об/м" (a) and torque "Мкр%" (b) on one round dial.
void DrawInstrument2(int a, int b);
// The oil gauge "масло": pressure (a) and temperature (b) quarter-dials.
void DrawInstrument3(int a, int b);

// Instrument 1's percentage as its needle and lower readout show it.
float instrument1Percent(int b);
// Instrument 2's torque as its needle and lower readout show it.
float instrument2Torque(int b);

// The readout texts as the routines draw them.
char16_t* formatInstrument1Temperature(char16_t (&text)[kReadoutSize], int a);
char16_t* formatInstrument1Percent(char16_t (&text)[kReadoutSize], int b);
char16_t* formatInstrument2Speed(char16_t (&text)[kReadoutSize], int a);
char16_t* formatInstrument2Torque(char16_t (&text)[kReadoutSize], int b);
