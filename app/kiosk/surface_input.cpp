#include "surface_input.h"

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cmath>

void surfaceToDisplay(const ViewPlacement& placed, int bufferScale, double surfaceX, double surfaceY, float* x,
                      float* y)
{
    double displayX = 0.0, displayY = 0.0;
    placed.ViewToDisplay(surfaceX * bufferScale, surfaceY * bufferScale, &displayX, &displayY);
    *x = static_cast<float>(displayX);
    *y = static_cast<float>(displayY);
}

int32_t displayButtonOfEvdev(uint32_t button)
{
    switch (button) {
    case BTN_LEFT:
        return GR_BUTTON_PRIMARY;
    case BTN_MIDDLE:
        return GR_BUTTON_MIDDLE;
    case BTN_RIGHT:
        return GR_BUTTON_SECONDARY;
    default:
        return GR_BUTTON_NONE;
    }
}

int32_t displayKeyOfKeysym(uint32_t keysym)
{
    if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z)
        return static_cast<int32_t>(keysym - XKB_KEY_a + 'A');
    if ((keysym >= XKB_KEY_A && keysym <= XKB_KEY_Z) || (keysym >= XKB_KEY_0 && keysym <= XKB_KEY_9))
        return static_cast<int32_t>(keysym);
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9)
        return static_cast<int32_t>('0' + (keysym - XKB_KEY_KP_0));
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F12)
        return static_cast<int32_t>(GR_KEY_F1 + (keysym - XKB_KEY_F1));
    switch (keysym) {
    case XKB_KEY_space:
    case XKB_KEY_KP_Space:
        return GR_KEY_SPACE;
    case XKB_KEY_plus:
    case XKB_KEY_equal:  // the plus key unshifted on most layouts
    case XKB_KEY_KP_Add:
        return GR_KEY_PLUS;
    case XKB_KEY_minus:
    case XKB_KEY_KP_Subtract:
        return GR_KEY_MINUS;
    case XKB_KEY_Return:
    case XKB_KEY_KP_Enter:
        return GR_KEY_ENTER;
    case XKB_KEY_Escape:
        return GR_KEY_ESCAPE;
    case XKB_KEY_Tab:
    case XKB_KEY_ISO_Left_Tab:  // Shift+Tab
        return GR_KEY_TAB;
    case XKB_KEY_BackSpace:
        return GR_KEY_BACKSPACE;
    case XKB_KEY_Delete:
    case XKB_KEY_KP_Delete:
        return GR_KEY_DELETE;
    case XKB_KEY_Left:
    case XKB_KEY_KP_Left:
        return GR_KEY_LEFT;
    case XKB_KEY_Right:
    case XKB_KEY_KP_Right:
        return GR_KEY_RIGHT;
    case XKB_KEY_Up:
    case XKB_KEY_KP_Up:
        return GR_KEY_UP;
    case XKB_KEY_Down:
    case XKB_KEY_KP_Down:
        return GR_KEY_DOWN;
    case XKB_KEY_Home:
    case XKB_KEY_KP_Home:
        return GR_KEY_HOME;
    case XKB_KEY_End:
    case XKB_KEY_KP_End:
        return GR_KEY_END;
    case XKB_KEY_Page_Up:
    case XKB_KEY_KP_Page_Up:
        return GR_KEY_PAGE_UP;
    case XKB_KEY_Page_Down:
    case XKB_KEY_KP_Page_Down:
        return GR_KEY_PAGE_DOWN;
    default:
        return 0;
    }
}

GrEvent SurfaceInput::PointerEvent(int32_t type, int32_t pointer, double surfaceX, double surfaceY) const
{
    GrEvent event = {};
    event.type = type;
    event.pointer = pointer;
    event.modifiers = modifiers_;
    surfaceToDisplay(placement_(), bufferScale_, surfaceX, surfaceY, &event.x, &event.y);
    return event;
}

void SurfaceInput::PointerMotion(double surfaceX, double surfaceY)
{
    pointerX_ = surfaceX;
    pointerY_ = surfaceY;
    deliver_(PointerEvent(GR_EVENT_POINTER_MOVE, GR_POINTER_MOUSE, surfaceX, surfaceY));
}

void SurfaceInput::PointerButton(uint32_t evdevButton, bool pressed)
{
    const int32_t button = displayButtonOfEvdev(evdevButton);
    if (button == GR_BUTTON_NONE)
        return;
    const uint32_t bit = 1u << button;
    // A release whose press the surface never saw is no event of its.
    if (!pressed && !(buttonsHeld_ & bit))
        return;
    buttonsHeld_ = pressed ? buttonsHeld_ | bit : buttonsHeld_ & ~bit;
    GrEvent event = PointerEvent(pressed ? GR_EVENT_POINTER_DOWN : GR_EVENT_POINTER_UP, GR_POINTER_MOUSE, pointerX_,
                                 pointerY_);
    event.button = button;
    deliver_(event);
}

void SurfaceInput::PointerLeave()
{
    for (const int32_t button : {GR_BUTTON_PRIMARY, GR_BUTTON_MIDDLE, GR_BUTTON_SECONDARY})
        if (buttonsHeld_ & (1u << button)) {
            GrEvent event = PointerEvent(GR_EVENT_POINTER_UP, GR_POINTER_MOUSE, pointerX_, pointerY_);
            event.button = button;
            deliver_(event);
        }
    buttonsHeld_ = 0;
    axisRest_ = 0.0;
}

void SurfaceInput::PointerAxis(double value)
{
    axisRest_ += value;
}

void SurfaceInput::PointerAxisDiscrete(int32_t detents)
{
    discrete_ = true;
    detents_ += detents;
}

void SurfaceInput::PointerFrame()
{
    int32_t steps = 0;
    if (discrete_) {
        steps = -detents_;
        axisRest_ = 0.0;
    } else {
        // Whole detents only; a touchpad's fine motion adds up.
        const double detents = std::trunc(axisRest_ / kAxisUnitsPerStep);
        axisRest_ -= detents * kAxisUnitsPerStep;
        steps = -static_cast<int32_t>(detents);
    }
    detents_ = 0;
    discrete_ = false;
    if (steps == 0)
        return;
    GrEvent event = PointerEvent(GR_EVENT_WHEEL, GR_POINTER_MOUSE, pointerX_, pointerY_);
    event.steps = steps;
    deliver_(event);
}

void SurfaceInput::TouchDown(int32_t id, double surfaceX, double surfaceY)
{
    const int32_t pointer = touches_.Down(static_cast<uint32_t>(id));
    touchAt_[pointer] = {surfaceX, surfaceY};
    GrEvent event = PointerEvent(GR_EVENT_POINTER_DOWN, pointer, surfaceX, surfaceY);
    event.button = GR_BUTTON_PRIMARY;
    deliver_(event);
}

void SurfaceInput::TouchMotion(int32_t id, double surfaceX, double surfaceY)
{
    const int32_t pointer = touches_.Find(static_cast<uint32_t>(id));
    if (pointer == 0)
        return;
    touchAt_[pointer] = {surfaceX, surfaceY};
    deliver_(PointerEvent(GR_EVENT_POINTER_MOVE, pointer, surfaceX, surfaceY));
}

void SurfaceInput::TouchUp(int32_t id)
{
    const int32_t pointer = touches_.Up(static_cast<uint32_t>(id));
    if (pointer == 0)
        return;
    // wl_touch.up carries no position: the finger lifts where it last was.
    const std::pair<double, double> at = touchAt_[pointer];
    touchAt_.erase(pointer);
    GrEvent event = PointerEvent(GR_EVENT_POINTER_UP, pointer, at.first, at.second);
    event.button = GR_BUTTON_PRIMARY;
    deliver_(event);
}

void SurfaceInput::TouchCancel()
{
    for (const auto& touch : touches_.TakeAll()) {
        const std::pair<double, double> at = touchAt_[touch.second];
        GrEvent event = PointerEvent(GR_EVENT_POINTER_UP, touch.second, at.first, at.second);
        event.button = GR_BUTTON_PRIMARY;
        deliver_(event);
    }
    touchAt_.clear();
}

void SurfaceInput::Key(int32_t key, bool pressed)
{
    if (key == 0)
        return;
    GrEvent event = {};
    event.type = pressed ? GR_EVENT_KEY_DOWN : GR_EVENT_KEY_UP;
    event.key = key;
    event.modifiers = modifiers_;
    deliver_(event);
}
