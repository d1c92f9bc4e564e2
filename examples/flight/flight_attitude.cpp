#include "flight.h"

static const GrPoint kRollPointer[3] = {{0, 176}, {9, 158}, {-9, 158}};
static const GrPoint kWingLeft[4] = {{-120, -4}, {-58, -4}, {-58, 4}, {-120, 4}};
static const GrPoint kWingRight[4] = {{58, -4}, {120, -4}, {120, 4}, {58, 4}};
static const GrPoint kChevron[6] = {{-52, 2}, {-46, -7}, {0, -18}, {0, -29}, {52, 2}, {46, -7}};

// Attitude indicator around (250, 520): sky and ground behind a round
// window, the pitch ladder inside a rectangle, roll scale and pointer above,
// the aircraft symbol in front.
void DrawAttitude()
{
    char16_t text[16];
    grPushMatrix(10);
    grTranslate(250, 520);

    // The dial's round window: the bezel goes outside it, the sky inside.
    grPushClip(10);
    grClipOp(GR_CLIP_MASK_START);
    grSetColor(C_WHITE);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grCircle(0, 0, 160);
    grClipOp(GR_CLIP_OUTSIDE_MASK);
    grSetColor(C_BEZEL);
    grRect(-176, -176, 176, 176);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grSetColor(C_SKY);
    grRect(-170, -170, 170, 170);

    // The ground below the horizon, a half-plane of the turned and shifted frame.
    grPushMatrix(11);
    grRotate(g_roll);
    grTranslate(0, (int)(-4.0f * g_pitch));
    grPushClip(11);
    grClipHalfPlane(GR_KEEP_BELOW, 0);
    grSetColor(C_GROUND);
    grRect(-400, -700, 400, 0);
    grPopClip(11);
    grSetColor(C_WHITE);
    grSetLineWidth(W_2);
    grSetLinePattern(P_SOLID);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_1);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grLine(-300, 0, 300, 0);
    grPopMatrix(11);

    // Pitch ladder, 4 units a degree, inside the ladder's rectangle.
    grPushClip(12);
    grClipRect(-95, -110, 95, 110);
    grPushMatrix(12);
    grRotate(g_roll);
    grTranslate(0, (int)(-4.0f * g_pitch));
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetColor(C_WHITE);
    grSetLineWidth(W_1_5);
    grSetFont(F_SCALE);
    grLine(-22, 20, 22, 20);
    grLine(-45, 40, 45, 40);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_MIDDLE);
    grText(-51, 40, 0.0f, u"10");
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_MIDDLE);
    grText(51, 40, 0.0f, u"10");
    grLine(-22, 60, 22, 60);
    grLine(-45, 80, 45, 80);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_MIDDLE);
    grText(-51, 80, 0.0f, u"20");
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_MIDDLE);
    grText(51, 80, 0.0f, u"20");
    grLine(-22, 100, 22, 100);
    grSetLinePattern(P_DASH);
    grLine(-22, -20, 22, -20);
    grLine(-45, -40, 45, -40);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_MIDDLE);
    grText(-51, -40, 0.0f, u"10");
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_MIDDLE);
    grText(51, -40, 0.0f, u"10");
    grLine(-22, -60, 22, -60);
    grLine(-45, -80, 45, -80);
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_MIDDLE);
    grText(-51, -80, 0.0f, u"20");
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_MIDDLE);
    grText(51, -80, 0.0f, u"20");
    grLine(-22, -100, 22, -100);
    grPopMatrix(12);
    grPopClip(12);
    grPopClip(10);

    // Roll scale: an arc with marks at 0, 10, 20, 30, 45 and 60 degrees.
    grSetColor(C_WHITE);
    grSetLineWidth(W_2);
    grSetLinePattern(P_SOLID);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_1);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grArc(0, 0, 178, 30.0f, 120.0f);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grPushMatrix(13);
    grRotate(-60.0f);
    grLine(0, 178, 0, 196);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(-45.0f);
    grLine(0, 178, 0, 188);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(-30.0f);
    grLine(0, 178, 0, 196);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(-20.0f);
    grLine(0, 178, 0, 188);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(-10.0f);
    grLine(0, 178, 0, 188);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(0.0f);
    grLine(0, 178, 0, 196);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(10.0f);
    grLine(0, 178, 0, 188);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(20.0f);
    grLine(0, 178, 0, 188);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(30.0f);
    grLine(0, 178, 0, 196);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(45.0f);
    grLine(0, 178, 0, 188);
    grPopMatrix(13);
    grPushMatrix(13);
    grRotate(60.0f);
    grLine(0, 178, 0, 196);
    grPopMatrix(13);
    grSetFont(F_LABEL);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_BOTTOM);
    grPushMatrix(14);
    grRotate(-60.0f);
    grText(0, 199, 0.0f, u"60");
    grPopMatrix(14);
    grPushMatrix(14);
    grRotate(-30.0f);
    grText(0, 199, 0.0f, u"30");
    grPopMatrix(14);
    grPushMatrix(14);
    grRotate(30.0f);
    grText(0, 199, 0.0f, u"30");
    grPopMatrix(14);
    grPushMatrix(14);
    grRotate(60.0f);
    grText(0, 199, 0.0f, u"60");
    grPopMatrix(14);

    // Roll pointer, turning with the horizon.
    grPushMatrix(15);
    grRotate(g_roll);
    grSetColor(C_YELLOW);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grPolygon(kRollPointer, 3);
    grPopMatrix(15);

    // The aircraft: wings, a chevron and a centre dot.
    grSetColor(C_YELLOW);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_1);
    grSetMode(GR_MODE_BORDER, GR_ON);
    grPolygon(kWingLeft, 4);
    grPolygon(kWingRight, 4);
    grTriangleStrip(kChevron, 6);
    grSetMode(GR_MODE_FILL, GR_ON);
    grCircle(0, 0, 5);

    // Readouts: pitch and roll in degrees.
    grSetFont(F_READOUT);
    grSetColor(C_WHITE);
    grSetBorderColor(B_DARK);
    grSetBorderWidth(BW_2);
    grSetTextAlign(GR_ALIGN_LEFT, GR_ALIGN_TOP);
    grText(-168, -176, 0.0f, grFormat(text, 16, u"P%+3d", grRoundToInt(g_pitch)));
    grSetTextAlign(GR_ALIGN_RIGHT, GR_ALIGN_TOP);
    grText(168, -176, 0.0f, grFormat(text, 16, u"R%+3d", grRoundToInt(g_roll)));
    grPopMatrix(10);
}
