#include "flight.h"

// The pointer dragging the heading bug, or -1.
static int g_bugPointer = -1;

static float wrapDegrees(float degrees)
{
    return degrees - 360.0f * grFloor(degrees / 360.0f);
}

// Whole degrees 0..359.
static void setHeadingBug(float degrees)
{
    g_headingBug = (float)(grRoundToInt(wrapDegrees(degrees)) % 360);
}

static void setBaro(float hpa)
{
    g_baro = hpa < 950.0f ? 950.0f : hpa > 1050.0f ? 1050.0f : hpa;
}

static void selectPage(int page)
{
    g_page = page;
    grSendOutput(OUT_PAGE);  // a key pressed again is sent again
}

// The card shows the heading at the top: a point turned a degrees
// clockwise from the top sits on heading + a.
static int bugFromPoint(float x, float y, int mustHitRose)
{
    int used = 0;
    grPushMatrix(40);
    CompassTransform();
    float u, v;
    if ((!mustHitRose || grHitCircle(x, y, 0, 0, 142)) && grToLocal(x, y, &u, &v) && (u != 0.0f || v != 0.0f)) {
        setHeadingBug(g_heading + grAtan2Deg(u, v));
        used = 1;
    }
    grPopMatrix(40);
    return used;
}

static int onRose(float x, float y)
{
    grPushMatrix(41);
    CompassTransform();
    const int hit = grHitCircle(x, y, 0, 0, 142);
    grPopMatrix(41);
    return hit;
}

static int pointerDown(const GrEvent* e)
{
    for (int key = 0; key < PAGE_COUNT; ++key) {
        int x1, y1, x2, y2;
        SoftKeyRect(key, &x1, &y1, &x2, &y2);
        if (grHitRect(e->x, e->y, x1, y1, x2, y2)) {
            selectPage(key);
            return 1;
        }
    }
    if (grHitRect(e->x, e->y, 500, 200, 640, 219)) {
        setBaro(g_baro + (e->x < 570.0f ? -1.0f : 1.0f));
        return 1;
    }
    if (g_bugPointer < 0 && bugFromPoint(e->x, e->y, 1)) {
        g_bugPointer = e->pointer;
        return 1;
    }
    return 0;
}

static int key(const GrEvent* e)
{
    const int step = (e->modifiers & GR_MODIFIER_SHIFT) ? 10 : 1;
    switch (e->key) {
    case GR_KEY_LEFT:
        setHeadingBug(g_headingBug - step);
        return 1;
    case GR_KEY_RIGHT:
        setHeadingBug(g_headingBug + step);
        return 1;
    case GR_KEY_UP:
    case GR_KEY_PLUS:
        setBaro(g_baro + step);
        return 1;
    case GR_KEY_DOWN:
    case GR_KEY_MINUS:
        setBaro(g_baro - step);
        return 1;
    }
    if (e->key >= '1' && e->key < '1' + PAGE_COUNT) {
        selectPage(e->key - '1');
        return 1;
    }
    if (e->key >= GR_KEY_F1 && e->key < (int)GR_KEY_F1 + (int)PAGE_COUNT) {
        selectPage(e->key - GR_KEY_F1);
        return 1;
    }
    return 0;
}

int32_t HandleEvent(const GrEvent* e)
{
    switch (e->type) {
    case GR_EVENT_POINTER_DOWN:
        return pointerDown(e);
    case GR_EVENT_POINTER_MOVE:
        return e->pointer == g_bugPointer && bugFromPoint(e->x, e->y, 0);
    case GR_EVENT_POINTER_UP:
        if (e->pointer != g_bugPointer)
            return 0;
        // The release lands where the drag ends, even when the host merged
        // or missed the last move before it.
        bugFromPoint(e->x, e->y, 0);
        g_bugPointer = -1;
        return 1;
    case GR_EVENT_WHEEL:
        if (onRose(e->x, e->y)) {
            setHeadingBug(g_headingBug + (float)e->steps);
            return 1;
        }
        if (grHitRect(e->x, e->y, 500, 200, 640, 748)) {
            setBaro(g_baro + (float)e->steps);
            return 1;
        }
        return 0;
    case GR_EVENT_KEY_DOWN:
        return key(e);
    }
    return 0;
}
