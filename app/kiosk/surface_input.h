// What the seat does on the kiosk's surface, turned into the display's
// events: positions in surface coordinates (Wayland's, y down, in the
// compositor's logical units) go through the buffer scale and the kiosk's
// placement (scale, centring, rotation, mirror, margin) into the display's
// own units; touch ids become pointer ids from 1; wheel motion becomes
// whole steps; evdev buttons and keysyms become the display's buttons and
// key codes. Platform-free: no Wayland here, so it is tested without a
// compositor. Events outside the display area are delivered with their
// coordinates outside it, as the other hosts deliver them (a drag may leave
// the area; the display ignores what it does not hit).
#pragma once

#include <cstdint>
#include <functional>

#include "display_placement.h"
#include "gr_display.h"
#include "touch_ids.h"

// A wheel detent in a wl_pointer axis value, where the compositor sends no
// discrete steps (Weston's and libinput's convention).
constexpr double kAxisUnitsPerStep = 10.0;

// A surface position (x right, y down, logical units) in display units:
// bufferScale buffer pixels a logical unit, then the placement.
void surfaceToDisplay(const ViewPlacement& placed, int bufferScale, double surfaceX, double surfaceY, float* x,
                      float* y);

// The display's button for a Linux evdev button code (BTN_LEFT...).
int32_t displayButtonOfEvdev(uint32_t button);

// The display's key code for an XKB keysym, or 0 for a key our list lacks.
int32_t displayKeyOfKeysym(uint32_t keysym);

class SurfaceInput {
public:
    // deliver gets every event made; placement gives where the display lies
    // on the buffer now.
    SurfaceInput(std::function<void(const GrEvent&)> deliver, std::function<const ViewPlacement&()> placement)
        : deliver_(std::move(deliver)), placement_(std::move(placement))
    {
    }

    // Buffer pixels a surface unit (wl_surface's buffer scale).
    void SetBufferScale(int scale) { bufferScale_ = scale > 0 ? scale : 1; }
    // GR_MODIFIER_* held now.
    void SetModifiers(int32_t modifiers) { modifiers_ = modifiers; }

    // The pointer entered the surface or moved on it.
    void PointerMotion(double surfaceX, double surfaceY);
    // A button at the pointer's last position.
    void PointerButton(uint32_t evdevButton, bool pressed);
    // The pointer left the surface: buttons still held are released there,
    // for the compositor sends their release to another surface.
    void PointerLeave();
    // Vertical wheel motion: discrete detents when the compositor sends them
    // (positive towards the user), else the axis value.
    void PointerAxis(double value);
    void PointerAxisDiscrete(int32_t detents);
    // The end of one group of pointer events (wl_pointer.frame; also called
    // after each event by compositors without frames): the wheel's steps
    // are delivered.
    void PointerFrame();

    void TouchDown(int32_t id, double surfaceX, double surfaceY);
    void TouchMotion(int32_t id, double surfaceX, double surfaceY);
    void TouchUp(int32_t id);
    // The compositor took the touches over (a gesture): every finger lifts.
    void TouchCancel();

    // A key of the display's list (displayKeyOfKeysym) pressed or released.
    void Key(int32_t key, bool pressed);

private:
    GrEvent PointerEvent(int32_t type, int32_t pointer, double surfaceX, double surfaceY) const;

    std::function<void(const GrEvent&)> deliver_;
    std::function<const ViewPlacement&()> placement_;
    int bufferScale_ = 1;
    int32_t modifiers_ = 0;
    double pointerX_ = 0.0;
    double pointerY_ = 0.0;
    uint32_t buttonsHeld_ = 0;  // bit per display button
    double axisRest_ = 0.0;
    int32_t detents_ = 0;
    bool discrete_ = false;
    TouchIds touches_;
    // The last position of each finger down, by its pointer id.
    std::map<int32_t, std::pair<double, double>> touchAt_;
};
