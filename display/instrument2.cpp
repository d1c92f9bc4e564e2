#include <algorithm>
#include <cstdint>

#include "instrument_parts.h"
#include "instruments.h"

namespace {

// The torque scale ends at 120.
constexpr float kTorqueLimit = 120.0f;
// The revolutions needle stops at 2500 while the readout goes on.
constexpr int kSpeedLimit = 2500;

void innerMinorTick()
{
    grLine(0, 100, 0, 128);
}

// A main tick of the inner scale with its four minor ticks.
void innerTick(float minor1, float minor2, float minor3, float minor4)
{
    tickLine(6, 3, 100, 128);
    tick(-minor1, [] {
        grSetLineWidth(1);
        innerMinorTick();
    });
    tick(-minor2, innerMinorTick);
    tick(-minor3, innerMinorTick);
    tick(-minor4, innerMinorTick);
}

}  // namespace

float instrument2Torque(int b) { return std::min(percentOfInput(b), kTorqueLimit); }

char16_t* formatInstrument2Speed(char16_t (&text)[kReadoutSize], int a)
{
    return grFormat(text, kReadoutSize, u"%d", a);
}

char16_t* formatInstrument2Torque(char16_t (&text)[kReadoutSize], int b)
{
    return grFormat(text, kReadoutSize, u"%d", static_cast<int>(instrument2Torque(b)));
}

void DrawInstrument2(int a, int b)
{
    grSetColor(5);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);

    grRing(0, 0, 150, 133);
    grSetColor(7);
    grCircle(0, 0, 133);

    grSetColor(1);
    grRingSector(-2, 0, 150, 133, 90, 166);
    grSetColor(0);
    grRingSector(0, 0, 150, 133, 35, 55);

    for (int i = 0; i <= 25; ++i) {
        tick(90 - 13 * i, [i] {
            tickLine(6, 5, -134, -150);
            if (i % 5 == 0) {
                grSetMode(GR_MODE_FILL, GR_ON);
                grCircle(0, -148, 11);
            }
        });
    }

    grSetFont(1);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
    grSetColor(7);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grText(144, -6, 0, u"0");
    grText(59, -141, 0, u"5");
    grText(-104, -120, 0, u"10");
    grText(-152, 32, 0, u"15");
    grText(-34, 140, 0, u"20");
    grText(113, 78, 0, u"25");

    for (int k = 0; k <= 2; ++k)
        tick(-(24 * k + 135), [] { innerTick(4.8f, 9.6f, 14.4f, 19.2f); });
    for (int k = 0; k <= 8; ++k)
        tick(-(21.6f * k + 207), [] { innerTick(4.32f, 8.64f, 12.96f, 17.28f); });
    tick(-401, [] {
        grSetLineWidth(3);
        grLine(0, 100, 0, 128);
    });

    grSetFont(1);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
    grText(50, -62, 0, u"0");
    grText(-12, -83, 0, u"20");
    grText(-65, -57, 0, u"40");
    grText(-85, -5, 0, u"60");
    grText(-62, 48, 0, u"80");
    grText(-18, 71, 0, u"100");
    grText(39, 56, 0, u"120");

    grSetColor(1);
    grSetLineWidth(5);
    grArc(0, 0, 92, 91.5f, 222);
    grSetColor(3);
    grArc(0, 0, 92, 80, 12.2f);

    tick(-371, [] {
        grSetColor(0);
        grSetLineWidth(3);
        grLine(0, 90, 0, 128);
    });

    grSetFont(5);
    grSetColor(6);
    grText(125, 56, 0, u"x100");
    grText(125, 45, 0, u"об/м");

    grPushMatrix(0);
    grTranslate(-30, -5);
    readoutBox(-138, 155, -12, 189);
    grPopMatrix(0);

    grSetFont(3);
    grText(-28, -43, 0, u"Мкр%");

    grPushMatrix(0);
    grTranslate(0, 4);
    grRect(-35, -22, 39, 12);
    grPopMatrix(0);

    char16_t text[kReadoutSize];
    grPushMatrix(0);
    grTranslate(-15, 156);
    grSetFont(4);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_BASELINE);
    grText(-85, 0, 0, formatInstrument2Speed(text, a));
    grSetFont(3);
    grText(-32, 0, 0, u"об/м");
    grPopMatrix(0);

    const double r = a > kSpeedLimit ? kSpeedLimit : static_cast<uint32_t>(a);
    const float angle = static_cast<float>(r * 325 / 2500);
    grPushMatrix(0);
    grRotate(90 - angle);
    grPolygon(kNeedle1, 7);
    grPopMatrix(0);

    // 0..30 spans 72 degrees, 30..120 spans 194.4; both meet at -27.
    const float e = instrument2Torque(b);
    const float rho = e <= 30 ? 45 - e * 72 / 30 : -27 - (e - 30) * 194.4f / 90;
    grPushMatrix(0);
    grRotate(rho);
    grPolygon(kNeedle2, 7);
    grPopMatrix(0);

    grPushMatrix(0);
    grTranslate(40, -12);
    grSetColor(7);
    grSetMode(GR_MODE_FILL, GR_ON);
    grRect(-73, -4, -2, 27);
    grSetFont(4);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BASELINE);
    grSetColor(6);
    grText(-40, 0, 0, formatInstrument2Torque(text, b));
    grPopMatrix(0);
}
