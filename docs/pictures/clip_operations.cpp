// The clip operations of grClipOp and the sides of grClipHalfPlane: in each
// cell a blue square is drawn after the clipping its title names; the grey
// dashed lines show the mask shapes and clip lines, drawn unclipped.
#include "picture_tables.h"

namespace {

constexpr int kCell = 170;
constexpr int kCellHeight = 130;
constexpr int kRows = 3;
constexpr int kWidth = 4 * kCell;
constexpr int kHeight = kRows * kCellHeight;
constexpr int kSquare = 48;  // half the square's side
constexpr int kRadius = 32;
constexpr int kShift = 14;  // of the two circles from the centre

struct Cell {
    int cx, cy;  // the centre of the drawing
};

Cell StartCell(int column, int row, const char16_t* title)
{
    const int x0 = column * kCell;
    const int y0 = kHeight - (row + 1) * kCellHeight;
    Label(x0 + kCell / 2, y0 + kCellHeight - 10, title);
    return {x0 + kCell / 2, y0 + 52};
}

// Writing the mask puts no colour on the screen, whatever the colour.
void MaskCircle(int op, int cx, int cy, int r)
{
    grClipOp(op);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetColor(ANCHOR);
    grCircle(cx, cy, r);
}

void Square(const Cell& c)
{
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetColor(SHAPE);
    grRect(c.cx - kSquare, c.cy - kSquare, c.cx + kSquare, c.cy + kSquare);
}

void GuideCircle(int cx, int cy, int r)
{
    grClipOp(GR_CLIP_OFF);
    grSetMode(GR_MODE_FILL, GR_OFF);
    grSetColor(GUIDE);
    grSetLinePattern(DASHED);
    grCircle(cx, cy, r);
    grSetLinePattern(SOLID);
}

void GuideLine(int x1, int y1, int x2, int y2)
{
    grClipOp(GR_CLIP_OFF);
    grSetColor(GUIDE);
    grSetLinePattern(DASHED);
    grLine(x1, y1, x2, y2);
    grSetLinePattern(SOLID);
}

void MaskOperations()
{
    Cell c = StartCell(0, 0, u"GR_CLIP_MASK_START");
    grPushClip(1);
    MaskCircle(GR_CLIP_MASK_START, c.cx - kShift, c.cy, kRadius);
    MaskCircle(GR_CLIP_MASK_START, c.cx + kShift, c.cy, kRadius);  // clears the first
    grClipOp(GR_CLIP_INSIDE_MASK);
    Square(c);
    GuideCircle(c.cx - kShift, c.cy, kRadius);
    grPopClip(1);

    c = StartCell(1, 0, u"GR_CLIP_MASK_ADD");
    grPushClip(2);
    MaskCircle(GR_CLIP_MASK_START, c.cx - kShift, c.cy, kRadius);
    MaskCircle(GR_CLIP_MASK_ADD, c.cx + kShift, c.cy, kRadius);
    grClipOp(GR_CLIP_INSIDE_MASK);
    Square(c);
    grPopClip(2);

    c = StartCell(2, 0, u"GR_CLIP_MASK_CUT");
    grPushClip(3);
    MaskCircle(GR_CLIP_MASK_START, c.cx, c.cy, kRadius + 8);
    MaskCircle(GR_CLIP_MASK_CUT, c.cx, c.cy, kRadius - 14);
    grClipOp(GR_CLIP_INSIDE_MASK);
    Square(c);
    grPopClip(3);

    c = StartCell(3, 0, u"GR_CLIP_INSIDE_MASK");
    grPushClip(4);
    MaskCircle(GR_CLIP_MASK_START, c.cx, c.cy, kRadius);
    grClipOp(GR_CLIP_INSIDE_MASK);
    Square(c);
    grPopClip(4);

    c = StartCell(0, 1, u"GR_CLIP_OUTSIDE_MASK");
    grPushClip(5);
    MaskCircle(GR_CLIP_MASK_START, c.cx, c.cy, kRadius);
    grClipOp(GR_CLIP_OUTSIDE_MASK);
    Square(c);
    GuideCircle(c.cx, c.cy, kRadius);
    grPopClip(5);
}

// Each starts inside a circular mask, adds a half-plane or a rectangle and
// then keeps only that.
void SwitchingOperations()
{
    Cell c = StartCell(1, 1, u"GR_CLIP_HALF_PLANE_ONLY");
    grPushClip(6);
    MaskCircle(GR_CLIP_MASK_START, c.cx, c.cy, kRadius);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grClipHalfPlane(GR_KEEP_RIGHT, c.cx);
    grClipOp(GR_CLIP_HALF_PLANE_ONLY);
    Square(c);
    GuideCircle(c.cx, c.cy, kRadius);
    GuideLine(c.cx, c.cy - kSquare - 4, c.cx, c.cy + kSquare + 4);
    grPopClip(6);

    c = StartCell(2, 1, u"GR_CLIP_RECT_ONLY");
    grPushClip(7);
    MaskCircle(GR_CLIP_MASK_START, c.cx, c.cy, kRadius);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grClipRect(c.cx - 10, c.cy - 30, c.cx + 40, c.cy + 30);
    grClipOp(GR_CLIP_RECT_ONLY);
    Square(c);
    GuideCircle(c.cx, c.cy, kRadius);
    grPopClip(7);

    c = StartCell(3, 1, u"GR_CLIP_OFF");
    grPushClip(8);
    MaskCircle(GR_CLIP_MASK_START, c.cx, c.cy, kRadius);
    grClipOp(GR_CLIP_INSIDE_MASK);
    grClipOp(GR_CLIP_OFF);
    Square(c);
    GuideCircle(c.cx, c.cy, kRadius);
    grPopClip(8);
}

// grClipHalfPlane(side, cx) or (side, cy) through the square's centre.
void HalfPlaneSides()
{
    struct Side {
        int side;
        const char16_t* title;
        bool vertical;
    };
    const Side sides[] = {
        {GR_KEEP_RIGHT, u"GR_KEEP_RIGHT", true},
        {GR_KEEP_LEFT, u"GR_KEEP_LEFT", true},
        {GR_KEEP_BELOW, u"GR_KEEP_BELOW", false},
        {GR_KEEP_ABOVE, u"GR_KEEP_ABOVE", false},
    };
    for (int i = 0; i < 4; ++i) {
        const Cell c = StartCell(i, 2, sides[i].title);
        grPushClip(9);
        grClipHalfPlane(sides[i].side, sides[i].vertical ? c.cx : c.cy);
        Square(c);
        if (sides[i].vertical)
            GuideLine(c.cx, c.cy - kSquare - 4, c.cx, c.cy + kSquare + 4);
        else
            GuideLine(c.cx - kSquare - 4, c.cy, c.cx + kSquare + 4, c.cy);
        grPopClip(9);
    }
}

void DrawPicture()
{
    StartPicture(kWidth, kHeight);
    MaskOperations();
    SwitchingOperations();
    HalfPlaneSides();
}

const GrDisplay kPicture = {
    GR_DISPLAY_INTERFACE_VERSION, "Clip operations", kWidth, kHeight, &kPictureTables, NoAnimation, DrawPicture, nullptr, 0,
    nullptr, nullptr, 0,
};

}  // namespace

GR_EXPORT_DISPLAY(kPicture)
