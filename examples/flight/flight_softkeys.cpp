#include "flight.h"

static const char16_t* const kSoftKeyLabels[PAGE_COUNT] = {u"HDG", u"BUG", u"CRS", u"QNH"};

void SoftKeyRect(int key, int* x1, int* y1, int* x2, int* y2)
{
    *x1 = 520 + key * 80;
    *y1 = 136;
    *x2 = *x1 + 70;
    *y2 = 170;
}

// Four soft keys along the top of the lamp panel; the lit one says what
// the compass readout shows.
void DrawSoftKeys()
{
    grSetFont(F_LABEL);
    grSetTextAlign(GR_ALIGN_CENTER, GR_ALIGN_MIDDLE);
    grSetBorderWidth(BW_2);
    grSetMode(GR_MODE_FILL, GR_ON);
    grSetMode(GR_MODE_BORDER, GR_ON);
    for (int key = 0; key < PAGE_COUNT; ++key) {
        int x1, y1, x2, y2;
        SoftKeyRect(key, &x1, &y1, &x2, &y2);
        const int lit = key == g_page;
        grSetColor(lit ? C_CYAN : C_BEZEL);
        grSetBorderColor(lit ? B_WHITE : B_DARK);
        grRect(x1, y1, x2, y2);
        grSetColor(lit ? C_BLACK : C_WHITE);
        grSetMode(GR_MODE_BORDER, GR_OFF);
        grText((x1 + x2) / 2, (y1 + y2) / 2, 0.0f, kSoftKeyLabels[key]);
        grSetMode(GR_MODE_BORDER, GR_ON);
    }
    grSetMode(GR_MODE_BORDER, GR_OFF);
}
