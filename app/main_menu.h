// The main menu and accelerator table (IDR_MAINFRAME).
#pragma once

#include <wx/accel.h>

class wxMenuBar;

wxMenuBar* CreateMainMenu();
wxAcceleratorTable CreateMainAccelerators();
