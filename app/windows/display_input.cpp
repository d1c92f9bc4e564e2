#include "display_input.h"

#include <windowsx.h>

#include <vector>

#include "display_placement.h"
#include "display_renderer.h"
#include "touch_ids.h"

namespace {

// The fingers on the view's touch screen; one view a program.
TouchIds g_touchIds;

// Windows also sends a mouse message for the first finger; the display has
// the finger already.
bool fromTouch()
{
    const LPARAM kTouchSignatureMask = 0xFFFFFF00;
    const LPARAM kTouchSignature = 0xFF515700;
    return (GetMessageExtraInfo() & kTouchSignatureMask) == kTouchSignature;
}

int32_t modifiers()
{
    return ((GetKeyState(VK_SHIFT) & 0x8000) ? GR_MODIFIER_SHIFT : 0) |
           ((GetKeyState(VK_CONTROL) & 0x8000) ? GR_MODIFIER_CONTROL : 0) |
           ((GetKeyState(VK_MENU) & 0x8000) ? GR_MODIFIER_ALT : 0);
}

// The centre of the client pixel (x, y) in display units.
void place(const ViewPlacement& placement, int x, int y, GrEvent* event)
{
    double u = 0.0, v = 0.0;
    placement.ViewToDisplay(x + 0.5, y + 0.5, &u, &v);
    event->x = static_cast<float>(u);
    event->y = static_cast<float>(v);
}

int32_t buttonOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return GR_BUTTON_PRIMARY;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return GR_BUTTON_MIDDLE;
    default:
        return GR_BUTTON_SECONDARY;
    }
}

// A WM_TOUCH message: each finger's down, move or up as a pointer of its
// own. False when Windows could not hand over the touches.
bool queueTouches(HWND window, WPARAM wParam, LPARAM lParam, DisplayRenderer& renderer,
                  const ViewPlacement& placement)
{
    const HTOUCHINPUT touches = reinterpret_cast<HTOUCHINPUT>(lParam);
    std::vector<TOUCHINPUT> inputs(LOWORD(wParam));
    if (inputs.empty() || !GetTouchInputInfo(touches, static_cast<UINT>(inputs.size()), inputs.data(),
                                             sizeof(TOUCHINPUT)))
        return false;
    for (const TOUCHINPUT& input : inputs) {
        GrEvent event = {};
        event.modifiers = modifiers();
        if (input.dwFlags & TOUCHEVENTF_DOWN) {
            event.type = GR_EVENT_POINTER_DOWN;
            event.button = GR_BUTTON_PRIMARY;
            event.pointer = g_touchIds.Down(input.dwID);
        } else if (input.dwFlags & TOUCHEVENTF_UP) {
            event.type = GR_EVENT_POINTER_UP;
            event.button = GR_BUTTON_PRIMARY;
            event.pointer = g_touchIds.Up(input.dwID);
        } else {
            event.type = GR_EVENT_POINTER_MOVE;
            event.pointer = g_touchIds.Find(input.dwID);
        }
        if (event.pointer == 0)
            continue;  // a finger that came down before the view had it
        // In hundredths of a screen pixel.
        POINT at = {TOUCH_COORD_TO_PIXEL(input.x), TOUCH_COORD_TO_PIXEL(input.y)};
        ScreenToClient(window, &at);
        place(placement, at.x, at.y, &event);
        renderer.QueueEvent(event);
    }
    CloseTouchInputHandle(touches);
    SetFocus(window);
    InvalidateRect(window, nullptr, FALSE);
    return true;
}

}  // namespace

int32_t displayKeyOfVirtualKey(WPARAM key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE)
        return static_cast<int32_t>(key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return static_cast<int32_t>('0' + (key - VK_NUMPAD0));
    if (key >= VK_F1 && key <= VK_F12)
        return static_cast<int32_t>(GR_KEY_F1 + (key - VK_F1));
    switch (key) {
    case VK_ADD:
    case VK_OEM_PLUS:
        return GR_KEY_PLUS;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        return GR_KEY_MINUS;
    case VK_RETURN:
        return GR_KEY_ENTER;
    case VK_ESCAPE:
        return GR_KEY_ESCAPE;
    case VK_TAB:
        return GR_KEY_TAB;
    case VK_BACK:
        return GR_KEY_BACKSPACE;
    case VK_DELETE:
        return GR_KEY_DELETE;
    case VK_LEFT:
        return GR_KEY_LEFT;
    case VK_RIGHT:
        return GR_KEY_RIGHT;
    case VK_UP:
        return GR_KEY_UP;
    case VK_DOWN:
        return GR_KEY_DOWN;
    case VK_HOME:
        return GR_KEY_HOME;
    case VK_END:
        return GR_KEY_END;
    case VK_PRIOR:
        return GR_KEY_PAGE_UP;
    case VK_NEXT:
        return GR_KEY_PAGE_DOWN;
    default:
        return 0;
    }
}

bool takeDisplayInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DisplayRenderer& renderer,
                      const ViewPlacement& placement)
{
    if (!renderer.TakesEvents())
        return false;
    if (message == WM_TOUCH)
        return queueTouches(window, wParam, lParam, renderer, placement);
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL && fromTouch())
        return false;
    GrEvent event = {};
    event.pointer = GR_POINTER_MOUSE;
    event.modifiers = modifiers();
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        event.type = GR_EVENT_POINTER_DOWN;
        event.button = buttonOf(message);
        // Keys go to the display once it has been clicked; a drag that
        // leaves the window still reaches it.
        SetFocus(window);
        SetCapture(window);
        place(placement, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &event);
        break;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        event.type = GR_EVENT_POINTER_UP;
        event.button = buttonOf(message);
        if (!(wParam & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)))
            ReleaseCapture();
        place(placement, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &event);
        break;
    case WM_MOUSEMOVE:
        event.type = GR_EVENT_POINTER_MOVE;
        place(placement, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &event);
        break;
    case WM_MOUSEWHEEL: {
        // In steps of WHEEL_DELTA; the position comes in screen coordinates.
        static int rest = 0;
        rest += GET_WHEEL_DELTA_WPARAM(wParam);
        event.steps = rest / WHEEL_DELTA;
        rest -= event.steps * WHEEL_DELTA;
        if (event.steps == 0)
            return true;
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window, &at);
        event.type = GR_EVENT_WHEEL;
        place(placement, at.x, at.y, &event);
        break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
        event.key = displayKeyOfVirtualKey(wParam);
        if (event.key == 0 || (event.modifiers & (GR_MODIFIER_CONTROL | GR_MODIFIER_ALT)))
            return false;
        event.type = message == WM_KEYDOWN ? GR_EVENT_KEY_DOWN : GR_EVENT_KEY_UP;
        break;
    default:
        return false;
    }
    renderer.QueueEvent(event);
    InvalidateRect(window, nullptr, FALSE);
    return true;
}
