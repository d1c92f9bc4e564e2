#include "touch_gtk.h"

#include <gtk/gtk.h>
#include <wx/window.h>

namespace {

using TouchHandler = std::function<void(TouchPhase, uint64_t, double, double)>;

gboolean onTouch(GtkWidget*, GdkEvent* event, gpointer data)
{
    const GdkEventTouch& touch = event->touch;
    TouchPhase phase = TouchPhase::Move;
    switch (touch.type) {
    case GDK_TOUCH_BEGIN:
        phase = TouchPhase::Down;
        break;
    case GDK_TOUCH_END:
        phase = TouchPhase::Up;
        break;
    case GDK_TOUCH_CANCEL:
        phase = TouchPhase::Cancel;
        break;
    default:
        break;
    }
    (*static_cast<TouchHandler*>(data))(phase, reinterpret_cast<uintptr_t>(touch.sequence), touch.x, touch.y);
    // Handled here: GTK's default handler would also make it the mouse.
    return TRUE;
}

void freeHandler(gpointer data, GClosure*) { delete static_cast<TouchHandler*>(data); }

}  // namespace

void bindTouches(wxWindow* window, std::function<void(TouchPhase, uint64_t key, double x, double y)> touched)
{
    GtkWidget* widget = window->GetHandle();
    if (!widget)
        return;
    gtk_widget_add_events(widget, GDK_TOUCH_MASK);
    g_signal_connect_data(widget, "touch-event", G_CALLBACK(onTouch), new TouchHandler(std::move(touched)),
                          freeHandler, GConnectFlags(0));
}
