#include "display_input.h"

#include <wx/accel.h>
#include <wx/event.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include "display_placement.h"
#include "display_renderer.h"
#include "touch_gtk.h"
#include "touch_ids.h"

namespace {

int32_t modifiersOf(const wxKeyboardState& state)
{
    return (state.ShiftDown() ? GR_MODIFIER_SHIFT : 0) | (state.ControlDown() ? GR_MODIFIER_CONTROL : 0) |
           (state.AltDown() ? GR_MODIFIER_ALT : 0);
}

int32_t buttonOf(const wxMouseEvent& event)
{
    switch (event.GetButton()) {
    case wxMOUSE_BTN_LEFT:
        return GR_BUTTON_PRIMARY;
    case wxMOUSE_BTN_MIDDLE:
        return GR_BUTTON_MIDDLE;
    case wxMOUSE_BTN_RIGHT:
        return GR_BUTTON_SECONDARY;
    default:
        return GR_BUTTON_NONE;
    }
}

class DisplayInput {
public:
    DisplayInput(wxWindow* window, DisplayRenderer* renderer, std::function<const ViewPlacement&()> placement)
        : window_(window), renderer_(renderer), placement_(std::move(placement))
    {
    }

    void OnMouse(wxMouseEvent& event)
    {
        event.Skip();
        GrEvent e = {};
        e.pointer = GR_POINTER_MOUSE;
        e.modifiers = modifiersOf(event);
        if (event.GetEventType() == wxEVT_MOUSEWHEEL) {
            // Steps of the wheel's own size; a fine-grained wheel adds up.
            wheelRest_ += event.GetWheelRotation();
            const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
            e.steps = wheelRest_ / delta;
            wheelRest_ -= e.steps * delta;
            if (e.steps == 0 || event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL)
                return;
            e.type = GR_EVENT_WHEEL;
        } else if (event.ButtonDown() || event.ButtonDClick()) {
            e.type = GR_EVENT_POINTER_DOWN;
            e.button = buttonOf(event);
            // Keys go to the display once it has been clicked.
            window_->SetFocus();
            if (!window_->HasCapture())
                window_->CaptureMouse();
        } else if (event.ButtonUp()) {
            e.type = GR_EVENT_POINTER_UP;
            e.button = buttonOf(event);
            if (window_->HasCapture() && !event.LeftIsDown() && !event.MiddleIsDown() && !event.RightIsDown())
                window_->ReleaseMouse();
        } else if (event.Moving() || event.Dragging()) {
            e.type = GR_EVENT_POINTER_MOVE;
        } else {
            return;
        }
        place(event.GetPosition(), &e);
        queue(e);
    }

    void OnCaptureLost(wxMouseCaptureLostEvent&)
    {
        GrEvent e = {};
        e.type = GR_EVENT_POINTER_UP;
        e.pointer = GR_POINTER_MOUSE;
        place(window_->ScreenToClient(wxGetMousePosition()), &e);
        queue(e);
    }

    // Each finger is a pointer of its own, from 1.
    void OnTouch(TouchPhase phase, uint64_t key, double x, double y)
    {
        int32_t pointer = 0;
        int32_t type = GR_EVENT_POINTER_MOVE;
        if (phase == TouchPhase::Down) {
            pointer = touches_.Down(key);
            type = GR_EVENT_POINTER_DOWN;
        } else if (phase == TouchPhase::Up || phase == TouchPhase::Cancel) {
            pointer = touches_.Up(key);
            type = GR_EVENT_POINTER_UP;
        } else {
            pointer = touches_.Find(key);
        }
        // A finger put down before the view had the touches is not one.
        if (pointer == 0)
            return;
        queue(touchEvent(type, pointer, x, y));
    }

    void OnKey(wxKeyEvent& event)
    {
        const int32_t key = displayKeyOfWx(event.GetKeyCode());
        if (key == 0 || !renderer_->TakesEvents() || event.ControlDown() || event.AltDown() || isShortcut(event)) {
            event.Skip();
            return;
        }
        GrEvent e = {};
        e.type = event.GetEventType() == wxEVT_KEY_UP ? GR_EVENT_KEY_UP : GR_EVENT_KEY_DOWN;
        e.key = key;
        e.modifiers = modifiersOf(event);
        queue(e);
        // The display answers between frames; whether it used the key is
        // not known here, so the toolkit's own use of it (focus moves) is
        // kept for keys the list does not have.
    }

private:
    // A key of the program's accelerator table stays the program's.
    bool isShortcut(const wxKeyEvent& event) const
    {
        const wxWindow* top = wxGetTopLevelParent(window_);
        const wxAcceleratorTable* table = top ? const_cast<wxWindow*>(top)->GetAcceleratorTable() : nullptr;
        return table && table->IsOk() && table->GetCommand(event) != -1;
    }

    void place(const wxPoint& logical, GrEvent* e) const
    {
        // The centre of the physical pixel under the pointer.
        placeAt(logical.x + 0.5, logical.y + 0.5, e);
    }

    void placeAt(double logicalX, double logicalY, GrEvent* e) const
    {
        const double scale = window_->GetContentScaleFactor();
        double x = 0.0, y = 0.0;
        placement_().ViewToDisplay(logicalX * scale, logicalY * scale, &x, &y);
        e->x = static_cast<float>(x);
        e->y = static_cast<float>(y);
    }

    GrEvent touchEvent(int32_t type, int32_t pointer, double x, double y) const
    {
        GrEvent e = {};
        e.type = type;
        e.pointer = pointer;
        e.button = type == GR_EVENT_POINTER_MOVE ? GR_BUTTON_NONE : GR_BUTTON_PRIMARY;
        // Touch positions are points, not pixels: no half pixel added.
        placeAt(x, y, &e);
        return e;
    }

    void queue(const GrEvent& e)
    {
        if (!renderer_->TakesEvents())
            return;
        renderer_->QueueEvent(e);
        window_->Refresh(false);
    }

    wxWindow* window_;
    DisplayRenderer* renderer_;
    std::function<const ViewPlacement&()> placement_;
    int wheelRest_ = 0;
    TouchIds touches_;
};

}  // namespace

int32_t displayKeyOfWx(int wxKey)
{
    if (wxKey >= 'a' && wxKey <= 'z')
        return wxKey - 'a' + 'A';
    if ((wxKey >= 'A' && wxKey <= 'Z') || (wxKey >= '0' && wxKey <= '9') || wxKey == ' ')
        return wxKey;
    if (wxKey >= WXK_NUMPAD0 && wxKey <= WXK_NUMPAD9)
        return '0' + (wxKey - WXK_NUMPAD0);
    if (wxKey >= WXK_F1 && wxKey <= WXK_F12)
        return GR_KEY_F1 + (wxKey - WXK_F1);
    switch (wxKey) {
    case '+':
    case '=':  // the plus key unshifted on most layouts
    case WXK_NUMPAD_ADD:
        return GR_KEY_PLUS;
    case '-':
    case WXK_NUMPAD_SUBTRACT:
        return GR_KEY_MINUS;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return GR_KEY_ENTER;
    case WXK_ESCAPE:
        return GR_KEY_ESCAPE;
    case WXK_TAB:
        return GR_KEY_TAB;
    case WXK_BACK:
        return GR_KEY_BACKSPACE;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        return GR_KEY_DELETE;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
        return GR_KEY_LEFT;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
        return GR_KEY_RIGHT;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        return GR_KEY_UP;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        return GR_KEY_DOWN;
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
        return GR_KEY_HOME;
    case WXK_END:
    case WXK_NUMPAD_END:
        return GR_KEY_END;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        return GR_KEY_PAGE_UP;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        return GR_KEY_PAGE_DOWN;
    default:
        return 0;
    }
}

void bindDisplayInput(wxWindow* window, DisplayRenderer* renderer, std::function<const ViewPlacement&()> placement)
{
    // The window owns the binder: it lives exactly as long as its events.
    auto* input = new DisplayInput(window, renderer, std::move(placement));
    window->Bind(wxEVT_DESTROY, [input, window](wxWindowDestroyEvent& event) {
        event.Skip();
        if (event.GetEventObject() == window)
            delete input;
    });
    for (const wxEventTypeTag<wxMouseEvent>& type :
         {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP, wxEVT_MIDDLE_DCLICK,
          wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, wxEVT_RIGHT_DCLICK, wxEVT_MOTION, wxEVT_MOUSEWHEEL})
        window->Bind(type, &DisplayInput::OnMouse, input);
    window->Bind(wxEVT_MOUSE_CAPTURE_LOST, &DisplayInput::OnCaptureLost, input);
    window->Bind(wxEVT_KEY_DOWN, &DisplayInput::OnKey, input);
    window->Bind(wxEVT_KEY_UP, &DisplayInput::OnKey, input);
    bindTouches(window, [input](TouchPhase phase, uint64_t key, double x, double y) {
        input->OnTouch(phase, key, x, y);
    });
}
