// The kiosk's seat input in the display's units, without a compositor:
// surface positions through every rotation, mirror, scale and buffer scale
// land where a person sees the display's points, events outside the
// display area arrive with coordinates outside it (as the other hosts
// deliver them), fingers get pointer ids from 1, the wheel whole steps, and
// keys the codes of our list.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "surface_input.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;
constexpr double kMargin = 10.0;
// The surface in the compositor's logical units.
constexpr int kSurfaceWidth = 300;
constexpr int kSurfaceHeight = 400;

struct Recorder {
    std::vector<GrEvent> events;
    ViewPlacement placed;
    SurfaceInput input{[this](const GrEvent& e) { events.push_back(e); },
                       [this]() -> const ViewPlacement& { return placed; }};
};

bool inside(const GrEvent& e) { return e.x >= 0 && e.y >= 0 && e.x < kWidth && e.y < kHeight; }

// rotation, mirrored, scale (0: fit), buffer scale
using Case = std::tuple<int, bool, double, int>;

class SurfaceToDisplay : public ::testing::TestWithParam<Case> {};

TEST_P(SurfaceToDisplay, PositionsLandWhereThePersonSeesThemAndOutsideStaysOutside)
{
    const auto [rotation, mirrored, scale, bufferScale] = GetParam();
    PlacementOptions options;
    options.fit = scale == 0.0;
    options.scale = scale;
    options.rotation = rotation;
    options.mirrored = mirrored;
    Recorder r;
    r.placed = DisplayPlacement(kWidth, kHeight, kMargin, options)
                   .Place(kSurfaceWidth * bufferScale, kSurfaceHeight * bufferScale);
    r.input.SetBufferScale(bufferScale);
    // Display units per surface unit.
    const double step = bufferScale / r.placed.Scale();

    // The surface's centre is the centre of the display with its margin,
    // to the half pixel a whole-pixel origin may move it.
    const double cx = kSurfaceWidth / 2.0, cy = kSurfaceHeight / 2.0;
    r.input.TouchDown(5, cx, cy);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_NEAR(r.events[0].x, (kWidth - kMargin) / 2.0, 0.5 * step + 1e-3);
    EXPECT_NEAR(r.events[0].y, (kHeight - kMargin) / 2.0, 0.5 * step + 1e-3);
    EXPECT_TRUE(inside(r.events[0]));

    // A move right and a move down on the surface go along the display's
    // axes as they are turned and mirrored: which way the display's x and y
    // point on the screen.
    const double d = 8.0;
    r.input.TouchMotion(5, cx + d, cy);
    r.input.TouchMotion(5, cx, cy + d);
    ASSERT_EQ(r.events.size(), 3u);
    const double rightX = r.events[1].x - r.events[0].x, rightY = r.events[1].y - r.events[0].y;
    const double downX = r.events[2].x - r.events[0].x, downY = r.events[2].y - r.events[0].y;
    // Turned clockwise: right is +x, +y, -x, -y; down is -y, +x, +y, -x.
    const int quarter = rotation / 90;
    const double rightXWant[] = {1, 0, -1, 0}, rightYWant[] = {0, 1, 0, -1};
    const double downXWant[] = {0, 1, 0, -1}, downYWant[] = {-1, 0, 1, 0};
    const double flip = mirrored ? -1.0 : 1.0;
    EXPECT_NEAR(rightX, flip * rightXWant[quarter] * d * step, 1e-3);
    EXPECT_NEAR(rightY, flip * rightYWant[quarter] * d * step, 1e-3);
    EXPECT_NEAR(downX, downXWant[quarter] * d * step, 1e-3);
    EXPECT_NEAR(downY, downYWant[quarter] * d * step, 1e-3);

    // Every event of the finger is the same pointer, from 1.
    r.input.TouchUp(5);
    ASSERT_EQ(r.events.size(), 4u);
    for (const GrEvent& e : r.events)
        EXPECT_EQ(e.pointer, 1);
    EXPECT_EQ(r.events[3].type, GR_EVENT_POINTER_UP);
    EXPECT_FLOAT_EQ(r.events[3].x, r.events[2].x);  // lifted where it last was

    // The surface's corners lie beyond the display and its margin: the
    // events arrive, outside the display area, so that no control is hit.
    r.events.clear();
    for (double x : {0.5, kSurfaceWidth - 0.5})
        for (double y : {0.5, kSurfaceHeight - 0.5}) {
            r.input.PointerMotion(x, y);
            r.input.PointerButton(BTN_LEFT, true);
            r.input.PointerButton(BTN_LEFT, false);
        }
    ASSERT_EQ(r.events.size(), 12u);
    for (const GrEvent& e : r.events) {
        EXPECT_FALSE(inside(e)) << e.x << ", " << e.y;
        EXPECT_EQ(e.pointer, GR_POINTER_MOUSE);
    }

    // The same position at a buffer scale of 1 on a surface as many pixels
    // as this buffer: the buffer scale only renames the units.
    Recorder pixels;
    pixels.placed = r.placed;
    pixels.input.PointerMotion(cx * bufferScale + 3, cy * bufferScale - 7);
    r.events.clear();
    r.input.PointerMotion(cx + 3.0 / bufferScale, cy - 7.0 / bufferScale);
    EXPECT_NEAR(pixels.events[0].x, r.events[0].x, 1e-3);
    EXPECT_NEAR(pixels.events[0].y, r.events[0].y, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(TurnsMirrorsAndScales, SurfaceToDisplay,
                         ::testing::Combine(::testing::Values(0, 90, 180, 270), ::testing::Bool(),
                                            ::testing::Values(0.0, 1.0, 1.5), ::testing::Values(1, 2)));

TEST(SurfaceInput, FingersKeepTheirOwnIdsAndTheWheelTurnsInWholeSteps)
{
    Recorder r;
    r.placed = DisplayPlacement(kWidth, kHeight, kMargin, PlacementOptions()).Place(kSurfaceWidth, kSurfaceHeight);
    // Wayland's touch ids start anywhere, 0 included; the display's from 1,
    // the smallest free one for a new finger.
    r.input.TouchDown(0, 100, 200);
    r.input.TouchDown(7, 120, 200);
    r.input.TouchUp(0);
    r.input.TouchDown(9, 140, 200);
    r.input.TouchMotion(7, 125, 210);
    r.input.TouchMotion(3, 125, 210);  // never down: nothing
    r.input.TouchUp(3);
    ASSERT_EQ(r.events.size(), 5u);
    const int pointers[] = {1, 2, 1, 1, 2};
    const int types[] = {GR_EVENT_POINTER_DOWN, GR_EVENT_POINTER_DOWN, GR_EVENT_POINTER_UP, GR_EVENT_POINTER_DOWN,
                         GR_EVENT_POINTER_MOVE};
    for (size_t i = 0; i < r.events.size(); ++i) {
        EXPECT_EQ(r.events[i].pointer, pointers[i]) << i;
        EXPECT_EQ(r.events[i].type, types[i]) << i;
    }
    // A cancelled touch lifts every finger.
    r.events.clear();
    r.input.TouchCancel();
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[0].type, GR_EVENT_POINTER_UP);
    EXPECT_EQ(r.events[0].pointer + r.events[1].pointer, 3);
    r.input.TouchDown(9, 140, 200);
    EXPECT_EQ(r.events.back().pointer, 1);

    // Discrete detents win over the axis value; positive Wayland motion is
    // towards the user, the display's steps are away from the user.
    r.events.clear();
    r.input.PointerMotion(150, 200);
    r.input.PointerAxisDiscrete(-2);
    r.input.PointerAxis(-20.0);
    r.input.PointerFrame();
    // Without detents, the axis value adds up to whole steps of 10.
    r.input.PointerAxis(6.0);
    r.input.PointerFrame();
    r.input.PointerAxis(6.0);
    r.input.PointerFrame();
    r.input.PointerFrame();
    ASSERT_EQ(r.events.size(), 3u);
    EXPECT_EQ(r.events[1].type, GR_EVENT_WHEEL);
    EXPECT_EQ(r.events[1].steps, 2);
    EXPECT_EQ(r.events[2].steps, -1);
    EXPECT_FLOAT_EQ(r.events[2].x, r.events[0].x);

    // Buttons at the pointer; a release never pressed here is dropped; one
    // held when the pointer leaves is released then.
    r.events.clear();
    r.input.SetModifiers(GR_MODIFIER_SHIFT);
    r.input.PointerButton(BTN_RIGHT, false);
    r.input.PointerButton(BTN_SIDE, true);
    r.input.PointerButton(BTN_RIGHT, true);
    r.input.PointerLeave();
    r.input.PointerButton(BTN_RIGHT, false);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[0].button, GR_BUTTON_SECONDARY);
    EXPECT_EQ(r.events[0].modifiers, GR_MODIFIER_SHIFT);
    EXPECT_EQ(r.events[1].type, GR_EVENT_POINTER_UP);
    EXPECT_EQ(r.events[1].button, GR_BUTTON_SECONDARY);
}

TEST(SurfaceInput, KeysymsBecomeTheKeyCodesOfOurList)
{
    const std::pair<uint32_t, int32_t> keys[] = {
        {XKB_KEY_a, 'A'},          {XKB_KEY_Z, 'Z'},           {XKB_KEY_7, '7'},
        {XKB_KEY_KP_3, '3'},       {XKB_KEY_space, GR_KEY_SPACE}, {XKB_KEY_equal, GR_KEY_PLUS},
        {XKB_KEY_KP_Subtract, GR_KEY_MINUS}, {XKB_KEY_KP_Enter, GR_KEY_ENTER}, {XKB_KEY_ISO_Left_Tab, GR_KEY_TAB},
        {XKB_KEY_KP_Left, GR_KEY_LEFT}, {XKB_KEY_Page_Down, GR_KEY_PAGE_DOWN}, {XKB_KEY_F1, GR_KEY_F1},
        {XKB_KEY_F12, GR_KEY_F12}, {XKB_KEY_F13, 0},           {XKB_KEY_Shift_L, 0},
        {XKB_KEY_Cyrillic_a, 0}};
    for (const auto& [keysym, key] : keys)
        EXPECT_EQ(displayKeyOfKeysym(keysym), key) << std::hex << keysym;
    Recorder r;
    r.input.SetModifiers(GR_MODIFIER_CONTROL);
    r.input.Key('Q', true);
    r.input.Key(0, true);  // a key our list lacks: nothing
    r.input.Key('Q', false);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[0].type, GR_EVENT_KEY_DOWN);
    EXPECT_EQ(r.events[1].type, GR_EVENT_KEY_UP);
    EXPECT_EQ(r.events[1].key, 'Q');
    EXPECT_EQ(r.events[1].modifiers, GR_MODIFIER_CONTROL);
}

}  // namespace
