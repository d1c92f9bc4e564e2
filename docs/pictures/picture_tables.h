// The tables the reference pictures of docs/DISPLAY-AUTHORS.md share: dark
// drawing on a light page, a solid and a dashed line, a label font and a
// sample font.
#pragma once

#include "gr_display.h"

enum PictureColor { PAGE, INK, SHAPE, GUIDE, ANCHOR, PLATE };
enum PictureWidth { THIN, THICK };
enum PicturePattern { SOLID, DASHED };
enum PictureFont { LABEL, SAMPLE };

static const GrColor kPictureColors[] = {
    {248, 248, 244}, {30, 30, 30}, {46, 112, 196}, {120, 120, 120}, {214, 40, 40}, {255, 214, 110},
};
static const float kPictureLineWidths[] = {1.0f, 2.0f};
// Plates of the text picture: exactly the cell, and a margin of 4.
static const float kPictureBorderWidths[] = {0.0f, 4.0f};
static const LinePattern kPicturePatterns[] = {{0xFFFF, 0}, {0x0F0F, 0}};
static const ImageSpec kPictureImages[] = {{nullptr, 0, 0}};
static const FontSpec kPictureFonts[] = {
    {"DejaVu Sans", 8, 0, 0, u"DejaVuSans.ttf"},
    {"DejaVu Sans", 16, 0, 0, u"DejaVuSans.ttf"},
};

static const GrTables kPictureTables = {
    kPictureColors, 6, kPictureColors, 6, kPictureLineWidths, 2, kPictureBorderWidths, 2,
    kPicturePatterns, 2, kPictureImages, 1, kPictureFonts, 2,
};

static void NoAnimation() {}

// The view's margin: the area's origin lies this far right of and above the
// view's lower left corner.
static const int kMargin = 10;

// Clears the view, margin included, to the page colour: no clipping,
// antialiased, solid thin lines.
static void StartPicture(int width, int height)
{
    grClipOp(GR_CLIP_OFF);
    grSetMode(GR_MODE_ANTIALIAS, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetColor(PAGE);
    grRect(-kMargin, -kMargin, width, height);
    grSetLineWidth(THIN);
    grSetLinePattern(SOLID);
}

// A label centred on (x, y).
static void Label(int x, int y, const char16_t* text)
{
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetColor(INK);
    grSetFont(LABEL);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_MIDDLE);
    grText(x, y, 0.0f, text);
}
