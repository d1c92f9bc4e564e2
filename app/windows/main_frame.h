// The main frame on Win32: menu, accelerators, the flat toolbar, the status
// bar with its message pane and key indicators, and the display view
// between them. Commands go to the view first.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "child_view.h"

class CMainFrame {
public:
    CMainFrame() = default;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Creates the frame window from IDR_MAINFRAME (menu, accelerators, icon,
    // title) at the default place, sized so that the view shows the whole
    // display and its margin where the work area allows; false when its creation failed
    // (the window is gone then). The object deletes itself when its window
    // is destroyed if ownsItself is set.
    bool LoadFrame(bool ownsItself);

    HWND Window() const { return m_window; }
    HACCEL Accelerators() const { return m_accelerators; }
    HWND ToolBar() const { return m_wndToolBar; }
    HWND StatusBar() const { return m_wndStatusBar; }
    HIMAGELIST ToolbarImages() const { return m_toolbarImages; }
    CChildView& View() { return m_wndView; }

    // Idle-time updates: toolbar buttons by the command rules, the key
    // indicator panes by the keyboard's lock states.
    void OnIdle();
    // The message pane names the data source and its state while one feeds
    // the display; brought up to date with every frame drawn.
    void ShowDataStatus();
    // Applies --fullscreen and --no-bars once the frame is shown.
    void ShowAsAsked();
    // F11 (full screen on and off) and F12 (the bars back or away), whatever
    // has the focus; true when message was one of them.
    bool HandleWindowKey(const MSG& message);

private:
    void ShowBars(bool show);
    void SetFullScreen(bool on);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    int OnCreate();
    bool CreateToolBar();
    bool CreateStatusBar();
    void RecalcLayout();
    void SizeToShowDisplay();
    void OnCommand(int id);
    void OnInitMenuPopup(HMENU menu);
    void SetMessageText(const std::wstring& text);
    void ShowIdleMessage();
    LRESULT OnNotify(NMHDR* header);

    HWND m_wndStatusBar = nullptr;
    HWND m_wndToolBar = nullptr;
    HIMAGELIST m_toolbarImages = nullptr;
    CChildView m_wndView;
    HWND m_window = nullptr;
    HACCEL m_accelerators = nullptr;
    bool m_ownsItself = false;
    HMENU m_menu = nullptr;          // kept while the bars are hidden
    bool m_barsShown = true;
    bool m_fullScreen = false;
    WINDOWPLACEMENT m_windowed = {};  // where the frame was before full screen
    LONG_PTR m_windowedStyle = 0;
    std::wstring m_tooltip;
    int m_indicatorWidths[3] = {};
    std::wstring m_indicatorTexts[3];     // CAP, NUM, SCRL as loaded
    std::string m_dataStatus;  // the data status the message pane shows
    int m_indicatorShown[3] = {-1, -1, -1};  // whether each pane shows its text; -1 not yet set
};

// Runs the About box modally over owner.
void RunAboutBox(HWND owner);
