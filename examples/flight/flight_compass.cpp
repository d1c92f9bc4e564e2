#include "flight.h"

static const GrPoint kLubber[3] = {{0, 112}, {-8, 128}, {8, 128}};
static const GrPoint kCourseArrow[4] = {{-4, -90}, {4, -90}, {-4, 62}, {4, 62}};
static const GrPoint kCourseHead[3] = {{0, 92}, {-12, 62}, {12, 62}};
static const GrPoint kTapeWindow[4] = {{498, 456}, {520, 456}, {520, 492}, {498, 492}};
static const GrPoint kTapeReadout[5] = {{504, 458}, {618, 458}, {618, 490}, {504, 490}, {498, 474}};

// Compass rose around (250, 185): the card turns with the heading under a
// fixed lubber mark; heading bug, course arrow and deviation bar inside.
void DrawCompass()
{
    char16_t text[16];
    grPushMatrix(20);
    CompassTransform();

    // The card is drawn only on the annulus between radii 62 and 135.
    grPushClip(20);
    grClipOp(GR_CLIP_MASK_START);
    grSetColor(C_WHITE);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grCircle(0, 0, 135);
    grClipOp(GR_CLIP_MASK_CUT);
    grCircle(0, 0, 62);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grSetColor(C_BEZEL);
    grSetBorderColor(B_WHITE);
    grSetBorderWidth(BW_1);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grRing(0, 0, 134, 63);
    grPushMatrix(21);
    grRotate(g_heading);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetColor(C_WHITE);
    grSetLinePattern(P_SOLID);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-0.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-10.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-20.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-30.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-40.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-50.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-60.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-70.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-80.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-90.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-100.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-110.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-120.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-130.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-140.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-150.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-160.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-170.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-180.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-190.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-200.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-210.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-220.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-230.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-240.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-250.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-260.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-270.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-280.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-290.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-300.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-310.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-320.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_2);
    grPushMatrix(22);
    grRotate(-330.0f);
    grLine(0, 108, 0, 132);
    grPopMatrix(22);
    grSetLineWidth(W_THIN);
    grPushMatrix(22);
    grRotate(-340.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grPushMatrix(22);
    grRotate(-350.0f);
    grLine(0, 118, 0, 132);
    grPopMatrix(22);
    grSetFont(F_TITLE);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_TOP);
    grText(0, 104, 0.0f, u"N");
    grText(52, 90, -30.0f, u"3");
    grText(90, 52, -60.0f, u"6");
    grSetColor(C_CYAN);
    grText(104, 0, -90.0f, u"E");
    grSetColor(C_WHITE);
    grText(90, -52, -120.0f, u"12");
    grText(52, -90, -150.0f, u"15");
    grText(0, -104, -180.0f, u"S");
    grText(-52, -90, -210.0f, u"21");
    grText(-90, -52, -240.0f, u"24");
    grText(-104, 0, -270.0f, u"W");
    grText(-90, 52, -300.0f, u"30");
    grText(-52, 90, -330.0f, u"33");
    grPopMatrix(21);
    grPopClip(20);

    // Outer rim, dashed, and the fixed lubber mark.
    grSetMode(GR_MODE_FILL, GR_OFF);
    grSetColor(C_DIM);
    grSetLineWidth(W_2);
    grSetLinePattern(P_DASH_DOT_LONG);
    grSetBorderColor(B_BLACK);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grCircle(0, 0, 142);
    grSetLinePattern(P_SOLID);
    grSetColor(C_YELLOW);
    grSetMode(GR_MODE_FILL, GR_ON);
    grPolygon(kLubber, 3);

    // Heading bug, 10 degrees wide, where the pilot set it.
    grPushMatrix(23);
    grRotate(g_heading - g_headingBug);
    grSetColor(C_MAGENTA);
    grSetBorderColor(B_WHITE);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSector(0, 0, 140, 85.0f, 10.0f);
    grPopMatrix(23);
    grPushMatrix(23);
    grRotate(g_heading - g_course);

    // Course arrow and the deviation bar, 16 units a dot.
    grSetColor(C_MAGENTA);
    grSetBorderColor(B_BLACK);
    grPolygon(kCourseHead, 3);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grTriangleStrip(kCourseArrow, 4);
    grSetColor(C_WHITE);
    grSetLineWidth(W_THIN);
    grSetLinePattern(P_DOT);
    grLine(-32, -48, -32, 48);
    grLine(-16, -48, -16, 48);
    grLine(16, -48, 16, 48);
    grLine(32, -48, 32, 48);
    grSetColor(C_MAGENTA);
    grSetLineWidth(W_3);
    grSetLinePattern(P_DASH);
    grLine((int)(16.0f * g_deviation), -56, (int)(16.0f * g_deviation), 56);
    grPopMatrix(23);

    // Hub: an outlined ring with a border, then its centre.
    grSetLinePattern(P_SOLID);
    grSetColor(C_WHITE);
    grSetLineWidth(W_1_5);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grRing(0, 0, 12, 6);
    grSetMode(GR_MODE_ANTIALIAS, GR_OFF);
    grSetLineWidth(W_5);
    grPoint(0, 0);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);

    // Heading readout on its plate above the rose.
    grSetFont(F_READOUT);
    grSetColor(C_WHITE);
    grSetBorderColor(B_DARK);
    grSetBorderWidth(BW_2);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BOTTOM);
    if (g_page == PAGE_BUG) {
        grSetColor(C_MAGENTA);
        grText(0, 140, 0.0f, grFormat(text, 16, u"%03d", grRoundToInt(g_headingBug) % 360));
    } else if (g_page == PAGE_COURSE) {
        grSetColor(C_CYAN);
        grText(0, 140, 0.0f, grFormat(text, 16, u"%03d", grRoundToInt(g_course) % 360));
    } else if (g_page == PAGE_BARO) {
        grSetColor(C_GREEN);
        grText(0, 140, 0.0f, grFormat(text, 16, u"%d", grRoundToInt(g_baro)));
    } else {
        grText(0, 140, 0.0f, grFormat(text, 16, u"%03d", grRoundToInt(g_heading) % 360));
    }
    grPopMatrix(20);
}

void CompassTransform()
{
    grTranslate(250, 185);
    grScale(0.92f, 0.92f);
}

// Altitude tape: 40 units per 100 feet, marks every 50 feet, the current
// altitude on a plate at the middle of the window.
void DrawAltitudeTape()
{
    char16_t text[16];
    int base = grRoundToInt(grFloor(g_altitude / 100.0f)) * 100;
    int shift = grRoundToInt((g_altitude - (float)base) * 0.4f);
    grPushClip(30);
    grClipOp(GR_CLIP_MASK_START);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grRect(520, 220, 620, 728);
    grClipOp(GR_CLIP_MASK_ADD);
    grPolygon(kTapeWindow, 4);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grSetColor(C_TAPE);
    grRect(498, 220, 620, 728);
    grSetColor(C_WHITE);
    grSetLineWidth(W_2);
    grSetLinePattern(P_SOLID);
    grSetMode(GR_MODE_ANTIALIAS, GR_OFF);
    grSetFont(F_SCALE);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_MIDDLE);
    grLine(520, 474 - shift - 240, 542, 474 - shift - 240);
    grLine(520, 474 - shift - 240 + 20, 532, 474 - shift - 240 + 20);
    grText(548, 474 - shift - 240, 0.0f, grFormat(text, 16, u"%d", base - 600));
    grLine(520, 474 - shift - 200, 542, 474 - shift - 200);
    grLine(520, 474 - shift - 200 + 20, 532, 474 - shift - 200 + 20);
    grText(548, 474 - shift - 200, 0.0f, grFormat(text, 16, u"%d", base - 500));
    grLine(520, 474 - shift - 160, 542, 474 - shift - 160);
    grLine(520, 474 - shift - 160 + 20, 532, 474 - shift - 160 + 20);
    grText(548, 474 - shift - 160, 0.0f, grFormat(text, 16, u"%d", base - 400));
    grLine(520, 474 - shift - 120, 542, 474 - shift - 120);
    grLine(520, 474 - shift - 120 + 20, 532, 474 - shift - 120 + 20);
    grText(548, 474 - shift - 120, 0.0f, grFormat(text, 16, u"%d", base - 300));
    grLine(520, 474 - shift - 80, 542, 474 - shift - 80);
    grLine(520, 474 - shift - 80 + 20, 532, 474 - shift - 80 + 20);
    grText(548, 474 - shift - 80, 0.0f, grFormat(text, 16, u"%d", base - 200));
    grLine(520, 474 - shift - 40, 542, 474 - shift - 40);
    grLine(520, 474 - shift - 40 + 20, 532, 474 - shift - 40 + 20);
    grText(548, 474 - shift - 40, 0.0f, grFormat(text, 16, u"%d", base - 100));
    grLine(520, 474 - shift + 0, 542, 474 - shift + 0);
    grLine(520, 474 - shift + 0 + 20, 532, 474 - shift + 0 + 20);
    grText(548, 474 - shift + 0, 0.0f, grFormat(text, 16, u"%d", base + 0));
    grLine(520, 474 - shift + 40, 542, 474 - shift + 40);
    grLine(520, 474 - shift + 40 + 20, 532, 474 - shift + 40 + 20);
    grText(548, 474 - shift + 40, 0.0f, grFormat(text, 16, u"%d", base + 100));
    grLine(520, 474 - shift + 80, 542, 474 - shift + 80);
    grLine(520, 474 - shift + 80 + 20, 532, 474 - shift + 80 + 20);
    grText(548, 474 - shift + 80, 0.0f, grFormat(text, 16, u"%d", base + 200));
    grLine(520, 474 - shift + 120, 542, 474 - shift + 120);
    grLine(520, 474 - shift + 120 + 20, 532, 474 - shift + 120 + 20);
    grText(548, 474 - shift + 120, 0.0f, grFormat(text, 16, u"%d", base + 300));
    grLine(520, 474 - shift + 160, 542, 474 - shift + 160);
    grLine(520, 474 - shift + 160 + 20, 532, 474 - shift + 160 + 20);
    grText(548, 474 - shift + 160, 0.0f, grFormat(text, 16, u"%d", base + 400));
    grLine(520, 474 - shift + 200, 542, 474 - shift + 200);
    grLine(520, 474 - shift + 200 + 20, 532, 474 - shift + 200 + 20);
    grText(548, 474 - shift + 200, 0.0f, grFormat(text, 16, u"%d", base + 500));
    grLine(520, 474 - shift + 240, 542, 474 - shift + 240);
    grLine(520, 474 - shift + 240 + 20, 532, 474 - shift + 240 + 20);
    grText(548, 474 - shift + 240, 0.0f, grFormat(text, 16, u"%d", base + 600));
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grClipOp(GR_CLIP_OFF);
    grPopClip(30);

    // Frame of the tape, the readout on its plate, the caption turned upright.
    grSetColor(C_DIM);
    grSetLineWidth(W_2);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_1);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grRect(520, 220, 620, 728);
    grSetColor(C_BLACK);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetBorderColor(B_AMBER);
    grPolygon(kTapeReadout, 5);
    grSetFont(F_READOUT);
    grSetColor(C_GREEN);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_3);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_MIDDLE);
    grText(616, 474, 0.0f, grFormat(text, 16, u"%5d", grRoundToInt(g_altitude)));
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetFont(F_CAPTION);
    grSetColor(C_WHITE);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BOTTOM);
    grText(512, 300, 90.0f, u"feet");
    grSetFont(F_TITLE);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BASELINE);
    grText(570, 734, 0.0f, u"ALT");

    // The barometric setting under the tape: the wheel over the tape, or a
    // click on either half of this strip, sets it.
    grSetFont(F_LABEL);
    grSetColor(C_CYAN);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_MIDDLE);
    grText(570, 209, 0.0f, grFormat(text, 16, u"- %d hPa +", grRoundToInt(g_baro)));
}
