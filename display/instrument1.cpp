#include <algorithm>
#include <cstdint>

#include "instrument_parts.h"
#include "instruments.h"

namespace {

// The inner scale ends at 110.
constexpr float kPercentLimit = 110.0f;
// The temperature needle stops at 920 while the readout goes on.
constexpr int kTemperatureLimit = 920;

void innerMinorTick()
{
    grLine(0, 98, 0, 122);
}

}  // namespace

float instrument1Percent(int b) { return std::min(percentOfInput(b), kPercentLimit); }

char16_t* formatInstrument1Temperature(char16_t (&text)[kReadoutSize], int a)
{
    return grFormat(text, kReadoutSize, u"%d°C", a >> 4);
}

char16_t* formatInstrument1Percent(char16_t (&text)[kReadoutSize], int b)
{
    return grFormat(text, kReadoutSize, u"%4.1f", instrument1Percent(b));
}

void DrawInstrument1(int a, int b)
{
    grSetColor(5);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);

    grRing(0, 0, 150, 123);
    grSetColor(7);
    grCircle(0, 0, 123);

    grSetColor(1);
    grRingSector(-2, 0, 150, 123, 101, 49);
    grSetColor(3);
    grRingSector(0, 0, 150, 123, 92, 10);
    grSetColor(0);
    grRingSector(0, 0, 150, 123, 57, 35);

    for (int i = 0; i <= 180; i += 20) {
        tick(-(i + 32), [i] {
            tickLine(6, 5, -124, -150);
            if (i % 40 == 0) {
                grSetMode(GR_MODE_FILL, GR_ON);
                grCircle(0, -141, 10);
            }
        });
    }
    for (int i = 0; i <= 160; i += 20)
        tick(-(i + 42), [] { tickLine(6, 3, -124, -150); });

    grSetFont(1);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
    grSetColor(7);
    grText(-79, -126, 0, u"0");
    grText(-138, -50, 0, u"2");
    grText(-135, 46, 0, u"4");
    grText(-71, 119, 0, u"6");
    grText(25, 132, 0, u"8");

    for (int k = 0; k <= 10; ++k) {
        tick(-(31 * k + 50), [k] {
            tickLine(k == 6 || k == 10 ? 0 : 6, 3, 98, 122);
            tick(-6.25f, [] {
                grSetColor(6);
                grSetLineWidth(1);
                innerMinorTick();
            });
            tick(-12.5f, innerMinorTick);
            tick(-18.75f, innerMinorTick);
            tick(-25.0f, innerMinorTick);
        });
    }
    tick(-391, [] {
        grSetLineWidth(3);
        grLine(0, 98, 0, 122);
    });

    grSetFont(1);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
    grText(68, -38, 0, u"20");
    grText(1, -91, 0, u"40");
    grText(-73, -56, 0, u"60");
    grText(-78, 33, 0, u"80");
    grText(-13, 74, 0, u"100");

    grSetColor(1);
    grSetLineWidth(5);
    grArc(0, 0, 92, 102, 112);
    grSetColor(3);
    grArc(0, 0, 92, 91, 10);

    grSetColor(6);
    grText(64, 145, 0, u"x100C°");

    readoutBox(-108, 155, -12, 189);

    grSetFont(0);
    grText(-30, -48, 0, u"n");
    grSetFont(3);
    grText(-8, -48, 0, u"тк%");

    grRect(-35, -22, 39, 12);

    char16_t text[kReadoutSize];
    grPushMatrix(0);
    grTranslate(-15, 161);
    grSetFont(4);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_BASELINE);
    grText(0, 0, 0, formatInstrument1Temperature(text, a));
    grPopMatrix(0);

    const int t = std::min(a >> 4, kTemperatureLimit);
    const float angle = static_cast<float>(static_cast<double>(static_cast<uint32_t>(t)) * 180 / 900);
    grPushMatrix(0);
    grRotate(-(angle + 32));
    grPolygon(kNeedle1, 7);
    grPopMatrix(0);

    const float e = instrument1Percent(b);
    grPushMatrix(0);
    grRotate(130 - e * 31 / 10);
    grPolygon(kNeedle2, 7);
    grPopMatrix(0);

    grPushMatrix(0);
    grTranslate(40, -16);
    grSetColor(7);
    grSetMode(GR_MODE_FILL, GR_ON);
    grRect(-73, -4, -2, 27);
    grSetColor(6);
    grText(-8, 0, 0, formatInstrument1Percent(text, b));
    grPopMatrix(0);
}
