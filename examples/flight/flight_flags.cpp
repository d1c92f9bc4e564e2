#include "flight.h"

// Where each instrument shows its flag, and what the flag says.
struct FailureFlag {
    int input;
    int x, y;
    const char16_t* text;
};

static const struct FailureFlag kFlags[] = {
    {IN_PITCH, 250, 640, u"ATT"},    {IN_ROLL, 250, 640, u"ATT"},   {IN_HEADING, 250, 250, u"HDG"},
    {IN_ALTITUDE, 570, 620, u"ALT"}, {IN_FUEL, 832, 650, u"FUEL"}, {IN_FUEL_FLOW, 835, 395, u"FLOW"},
};

// A flag as cockpit instruments show lost data: red, lettered in white.
static void DrawFlag(int x, int y, const char16_t* text)
{
    grSetColor(C_RED);
    grSetBorderColor(B_BLACK);
    grSetBorderWidth(BW_2);
    grSetMode(GR_MODE_FILL, 1);
    grSetMode(GR_MODE_BORDER, 1);
    grRect(x - 34, y - 13, x + 34, y + 13);
    grSetMode(GR_MODE_BORDER, 0);
    grSetFont(F_TITLE);
    grSetColor(C_WHITE);
    grSetTextAlign(1, 1);
    grText(x, y, 0.0f, text);
}

void DrawFailureFlags()
{
    int drawnAt = -1;
    for (int i = 0; i < (int)(sizeof kFlags / sizeof kFlags[0]); ++i) {
        const struct FailureFlag* flag = &kFlags[i];
        // Pitch and roll share the attitude indicator's one flag.
        if (grInputState(flag->input) != GR_INPUT_STALE || drawnAt == flag->x + 10000 * flag->y)
            continue;
        drawnAt = flag->x + 10000 * flag->y;
        DrawFlag(flag->x, flag->y, flag->text);
    }
}
