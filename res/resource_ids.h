// Identifiers of the shell's commands, strings and images.
#pragma once

#include <wx/defs.h>

constexpr int IDR_MAINFRAME = 128;  // menu, accelerators, icon, toolbar, title
constexpr int IDD_ABOUTBOX = 100;

// The program's own commands, carried by the display view.
constexpr int ID_MULTISAMPLING_OFF = 3000;
constexpr int ID_MULTISAMPLING_2X = 3001;
constexpr int ID_MULTISAMPLING_4X = 3002;
constexpr int ID_MULTISAMPLING_8X = 3003;
constexpr int ID_MULTISAMPLING_16X = 3004;
constexpr int ID_START = 3005;
constexpr int ID_PAUSE = 3006;
// Exact coverage, drawn by the CPU backend alone.
constexpr int ID_MULTISAMPLING_EXACT = 3007;

// Framework commands. Exit and About are the toolkit's stock ids. The bar
// toggles keep the low 15 bits of their classic numbers (0xE800, 0xE801),
// since menu ids must stay below 32767; the pane accelerators keep theirs
// (accelerators take any number).
constexpr int ID_APP_EXIT = wxID_EXIT;
constexpr int ID_APP_ABOUT = wxID_ABOUT;
constexpr int ID_VIEW_TOOLBAR = 0xE800 & 0x7FFF;
constexpr int ID_VIEW_STATUS_BAR = 0xE801 & 0x7FFF;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;

// Status-bar indicators and framework strings.
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;
constexpr int AFX_IDS_APP_TITLE = 57344;
constexpr int AFX_IDS_IDLEMESSAGE = 57345;
