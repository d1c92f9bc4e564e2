#include "native_window.h"

#include <wx/window.h>

// GTK 3's own declaration; the toolkit's development headers are not needed
// for this one call.
extern "C" void gtk_widget_realize(GtkWidget* widget);

void RealizeNativeWindow(wxWindow* window)
{
    if (window && window->GetHandle())
        gtk_widget_realize(window->GetHandle());
}
