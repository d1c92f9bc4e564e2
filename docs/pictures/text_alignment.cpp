// The alignments of grSetTextAlign: in each cell the same text is drawn at
// the red cross with the alignment of its column and row, on a plate of
// border width 0 that shows the advance and the font's cell. The last row
// shows plates with a margin of border width 4 under text turned by 0, 20
// and -20 degrees about its anchor, aligned left on the baseline, centred
// in the middle and right at the bottom.
#include "picture_tables.h"

namespace {

constexpr int kLabelColumn = 130;
constexpr int kCell = 140;
constexpr int kCellHeight = 56;
constexpr int kHeader = 24;
constexpr int kRows = 4;  // and a last row of its own height
constexpr int kLastRowHeight = 80;
constexpr int kWidth = kLabelColumn + 3 * kCell;
constexpr int kHeight = kHeader + kRows * kCellHeight + kLastRowHeight;
constexpr int kCross = 8;

const char16_t* const kSample = u"Agy 42";

void Cross(int x, int y)
{
    grSetMode(GR_MODE_BORDER, GR_OFF);
    grSetColor(ANCHOR);
    grSetLineWidth(THIN);
    grLine(x - kCross, y, x + kCross + 1, y);
    grLine(x, y - kCross, x, y + kCross + 1);
}

void Sample(int x, int y, int horizontal, int vertical, int plateMargin, float angle)
{
    grSetMode(GR_MODE_BORDER, GR_ON);
    grSetBorderColor(PLATE);
    grSetBorderWidth(plateMargin);
    grSetColor(INK);
    grSetFont(SAMPLE);
    grSetTextAlign(horizontal, vertical);
    grText(x, y, angle, kSample);
    Cross(x, y);
}

int RowCentre(int row) { return kHeight - kHeader - row * kCellHeight - kCellHeight / 2; }
int ColumnCentre(int column) { return kLabelColumn + column * kCell + kCell / 2; }

void DrawPicture()
{
    StartPicture(kWidth, kHeight);
    const int horizontals[] = {GR_ALIGN_LEFT, GR_ALIGN_CENTER, GR_ALIGN_RIGHT};
    const char16_t* const columnTitles[] = {u"GR_ALIGN_LEFT", u"GR_ALIGN_CENTER", u"GR_ALIGN_RIGHT"};
    const int verticals[] = {GR_ALIGN_BASELINE, GR_ALIGN_TOP, GR_ALIGN_MIDDLE, GR_ALIGN_BOTTOM};
    const char16_t* const rowTitles[] = {u"GR_ALIGN_BASELINE", u"GR_ALIGN_TOP", u"GR_ALIGN_MIDDLE",
                                         u"GR_ALIGN_BOTTOM"};
    for (int column = 0; column < 3; ++column)
        Label(ColumnCentre(column), kHeight - kHeader / 2, columnTitles[column]);
    for (int row = 0; row < 4; ++row) {
        Label(kLabelColumn / 2, RowCentre(row), rowTitles[row]);
        for (int column = 0; column < 3; ++column)
            Sample(ColumnCentre(column), RowCentre(row), horizontals[column], verticals[row], 0, 0.0f);
    }
    Label(kLabelColumn / 2, kLastRowHeight / 2 + 7, u"GR_MODE_BORDER,");
    Label(kLabelColumn / 2, kLastRowHeight / 2 - 7, u"border width 4");
    Sample(ColumnCentre(0), kLastRowHeight / 2, GR_ALIGN_LEFT, GR_ALIGN_BASELINE, 1, 0.0f);
    Sample(ColumnCentre(1), kLastRowHeight / 2, GR_ALIGN_CENTER, GR_ALIGN_MIDDLE, 1, 20.0f);
    Sample(ColumnCentre(2), kLastRowHeight / 2, GR_ALIGN_RIGHT, GR_ALIGN_BOTTOM, 1, -20.0f);
}

const GrDisplay kPicture = {
    GR_DISPLAY_INTERFACE_VERSION, "Text alignment", kWidth, kHeight, &kPictureTables, NoAnimation, DrawPicture, nullptr, 0,
    nullptr, nullptr, 0,
};

}  // namespace

GR_EXPORT_DISPLAY(kPicture)
