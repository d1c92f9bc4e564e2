#include "native_window.h"

#include <gtk/gtk.h>
#include <wx/window.h>

void RealizeNativeWindow(wxWindow* window)
{
    if (window && window->GetHandle())
        gtk_widget_realize(window->GetHandle());
}
