// Identifiers of the Windows shell's resources and commands; windres reads
// this file too, so it holds only #defines.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_RENDERER 101
#define IDP_OLE_INIT_FAILED 100

// The program's own commands, carried by the display view.
#define ID_MULTISAMPLING_OFF 3000
#define ID_MULTISAMPLING_2X 3001
#define ID_MULTISAMPLING_4X 3002
#define ID_MULTISAMPLING_8X 3003
#define ID_MULTISAMPLING_16X 3004
#define ID_START 3005
#define ID_PAUSE 3006
#define ID_MULTISAMPLING_EXACT 3007

// Framework commands with their classic numbers.
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

// Framework strings and child window ids.
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900

// The shell's own messages when the view cannot be made again.
#define IDS_RECREATE_FAILED 3100
#define IDS_RECREATE_PLAIN_FAILED 3101
#define IDS_RESTORE_FAILED 3102
#define IDS_ERROR_CAPTION 3103
