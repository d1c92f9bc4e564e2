#include <algorithm>
#include <cstdint>

#include "instrument_parts.h"
#include "instruments.h"

namespace {

// One mark of a quarter-dial's scale: a line along the x axis from x1 to
// the scale's outer end, turned by degrees unless it lies on the axis.
struct ScaleMark {
    bool rotated;
    float degrees;
    int width;  // line width index set before the line; -1 keeps the width
    int x1;
};

constexpr int kKeepWidth = -1;

constexpr ScaleMark kPressureMarks[] = {
    {true, -50, 2, 73},
    {true, -35, kKeepWidth, 73},
    {true, -20, kKeepWidth, 73},
    {true, -10, 1, 77},
    {false, 0, 2, 73},
    {true, 10, 1, 77},
    {true, 20, 2, 73},
    {true, 30, 1, 77},
    {true, 40, 2, 73},
};

constexpr ScaleMark kTemperatureMarks[] = {
    {true, 60, 2, -73},
    {true, 55, 1, -77},
    {true, 50, kKeepWidth, -77},
    {true, 45, 2, -73},
    {true, 37.5f, 1, -77},
    {true, 30, kKeepWidth, -77},
    {true, 22.5f, 2, -73},
    {true, 15, 1, -77},
    {true, 7.5f, kKeepWidth, -77},
    {false, 0, 2, -73},
    {true, -7.5f, 1, -77},
    {true, -15, kKeepWidth, -77},
    {true, -22.5f, 2, -73},
    {true, -30, 1, -77},
    {true, -37.5f, kKeepWidth, -77},
    {true, -45, 2, -73},
};

// The solid pattern is selected once, with the first mark.
template <int N>
void drawScale(const ScaleMark (&marks)[N], int x2)
{
    for (int i = 0; i < N; ++i) {
        const ScaleMark& mark = marks[i];
        if (mark.rotated) {
            grPushMatrix(0);
            grRotate(mark.degrees);
        }
        if (mark.width != kKeepWidth)
            grSetLineWidth(mark.width);
        if (i == 0)
            grSetLinePattern(0);
        grLine(mark.x1, 0, x2, 0);
        if (mark.rotated)
            grPopMatrix(0);
    }
}

// A needle turned by degrees, drawn only inside the stencil mask.
void maskedNeedle(float degrees, int lineEnd, const GrPoint* needle)
{
    grPushMatrix(0);
    grRotate(degrees);
    grPushClip(0);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grSetColor(6);
    grSetLineWidth(1);
    grLine(0, 0, lineEnd, 0);
    grPolygon(needle, 6);
    grPopMatrix(0);
    grPopClip(0);
}

}  // namespace

void DrawInstrument3(int a, int b)
{
    grSetColor(7);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grRect(-74, -74, 74, 74);

    grSetFont(1);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BASELINE);
    grSetColor(6);
    grText(0, 60, 0, u"масло");

    grSetFont(5);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_BASELINE);
    grText(-67, 63, 0, u"давл");
    grText(-69, -6, 0, u"кг/см");
    grText(-42, -1, 0, u"2");

    grPushMatrix(0);
    grTranslate(-90, 0);
    drawScale(kPressureMarks, 84);
    grSetColor(3);
    grArc(0, 0, 84, 344, 12);
    grSetColor(1);
    grArc(0, 0, 84, 356, 19);
    grSetColor(3);
    grArc(0, 0, 84, 15, 18);
    tick(33, [] {
        grSetColor(0);
        grLine(73, 0, 85, 0);
    });
    tick(-16, [] { grLine(73, 0, 85, 0); });
    grSetFont(1);
    grSetColor(6);
    grText(37, -64, 0, u"0");
    grText(59, -32, 0, u"1");
    grText(62, -7, 0, u"2");
    grText(59, 16, 0, u"3");
    grText(46, 38, 0, u"4");
    grPopMatrix(0);

    // 0..1.0 of the scale spans 30 degrees, 1.0..4.0 spans 60.
    float p = static_cast<float>(static_cast<double>(static_cast<uint32_t>(a)) * 32 / 512);
    p = std::min(p, 40.0f);
    const float pressureAngle = p <= 10 ? p * 30 / 10 : (p - 10) * 60 / 30 + 30;
    grPushMatrix(0);
    grTranslate(-90, 0);
    // The mask rectangles only mark the stencil; nothing of them shows.
    grPushClip(0);
    grClipOp(GR_CLIP_MASK_ADD);
    grSetColor(0);
    grRect(17, 56, 90, -76);
    grPopClip(0);
    maskedNeedle(pressureAngle - 50, 76, kNeedle3);
    grPopMatrix(0);

    grSetFont(5);
    grText(42, 63, 0, u"темп");
    grSetFont(1);
    grText(50, -6, 0, u"С°");
    grSetFont(5);
    grText(49, -23, 0, u"х10");

    grPushMatrix(0);
    grTranslate(88, 0);
    drawScale(kTemperatureMarks, -84);
    grSetFont(1);
    grText(-39, -62, 0, u"-3");
    grText(-50, -52, 0, u"0");
    grText(-64, -30, 0, u"3");
    grText(-70, -6, 0, u"6");
    grText(-65, 21, 0, u"9");
    grText(-51, 40, 0, u"12");
    grSetColor(1);
    grArc(0, 0, 84, 162, 48);
    grSetColor(3);
    grArc(0, 0, 84, 210, 25);
    tick(-18.5f, [] {
        grSetColor(0);
        grLine(-73, 0, -85, 0);
    });
    grPopMatrix(0);

    // -30..0 spans 15 degrees, 0..120 spans 90.
    float v = static_cast<float>(static_cast<double>(b) * 64 / 1024);
    v = std::min(v, 120.0f);
    v = std::max(v, -30.0f);
    const float temperatureAngle = v >= 0 ? v * 22.5f / 30 : v * 15 / 30;
    grPushMatrix(0);
    grTranslate(88, 0);
    grPushClip(0);
    grClipOp(GR_CLIP_MASK_ADD);
    grRect(-80, 73, -15, -76);
    grPopClip(0);
    maskedNeedle(45 - temperatureAngle, -76, kNeedle4);
    grPopMatrix(0);
}
