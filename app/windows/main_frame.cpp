#include "main_frame.h"

#include <algorithm>

#include "data_option.h"
#include "display_option.h"
#include "display_renderer.h"
#include "renderer_option.h"
#include "resource.h"
#include "shell_text.h"
#include "window_options.h"

namespace {

const wchar_t kFrameClass[] = L"InstrumentPanelFrame";
constexpr int kToolButtonSide = 23;
constexpr int kToolImageSide = 16;
constexpr COLORREF kToolbarMask = RGB(192, 192, 192);
constexpr int kSizingPasses = 2;
const int kIndicators[3] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
const int kIndicatorKeys[3] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};

// The frame's class asks for nothing: no style, cursor, brush or icon.
bool registerFrameClass(WNDPROC procedure)
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kFrameClass;
    registered = RegisterClassW(&windowClass) != 0;
    return registered;
}

HICON loadIcon(int side)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                         side, side, LR_DEFAULTCOLOR));
}

// Whether the bar is shown in the frame, also while the frame itself is not
// shown yet (when it is laid out and sized before it appears).
bool barShown(HWND bar)
{
    return bar && (GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE) != 0;
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, IDC_ABOUT_RENDERER, WideFromUtf8(programRendererReason()).c_str());
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunAboutBox(HWND owner)
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, aboutProc, 0);
}

bool CMainFrame::LoadFrame(bool ownsItself)
{
    m_ownsItself = ownsItself;
    if (!registerFrameClass(&CMainFrame::WindowProc))
        return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    m_accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    const std::wstring title = WideFromUtf8(
        titleShowingDisplay(Utf8FromWide(ResourceString(IDR_MAINFRAME)), m_wndView.Renderer().Display().descriptor));
    HWND window = CreateWindowExW(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance, this);
    if (!window) {
        if (menu && !IsMenu(menu))
            menu = nullptr;
        if (menu)
            DestroyMenu(menu);
        return false;
    }
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(loadIcon(GetSystemMetrics(SM_CXICON))));
    SizeToShowDisplay();
    return true;
}

// The view's client area as large as the display with its margin (turned
// as asked) or as --geometry says, unless that exceeds the work area: then
// the frame fills the work area. A place from --geometry is kept as given.
void CMainFrame::SizeToShowDisplay()
{
    const GrDisplay& display = *m_wndView.Renderer().Display().descriptor;
    const WindowGeometry& geometry = programWindowOptions().geometry;
    int viewWidth = 0, viewHeight = 0;
    DisplayPlacement(display.width, display.height, kDisplayMargin, programWindowOptions().placement)
        .NaturalViewSize(&viewWidth, &viewHeight);
    if (geometry.sizeGiven) {
        viewWidth = geometry.width;
        viewHeight = geometry.height;
    }
    const SIZE wantedView = {viewWidth, viewHeight};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    const RECT work = monitor.rcWork;
    // The bars, borders and menu take what they take: two passes measure it,
    // the second after the menu has wrapped to the first width.
    for (int pass = 0; pass < kSizingPasses; ++pass) {
        RECT frame = {}, view = {};
        GetWindowRect(m_window, &frame);
        if (!m_wndView.Window() || !GetClientRect(m_wndView.Window(), &view))
            return;
        const int width = static_cast<int>(frame.right - frame.left + wantedView.cx - view.right);
        const int height = static_cast<int>(frame.bottom - frame.top + wantedView.cy - view.bottom);
        if (geometry.positionGiven || geometry.sizeGiven) {
            // A negative place counts from the right or bottom edge (X11's rule).
            const RECT screen = monitor.rcMonitor;
            const int left = !geometry.positionGiven ? static_cast<int>(frame.left)
                             : geometry.x >= 0       ? geometry.x
                                                     : static_cast<int>(screen.right) + geometry.x - width;
            const int top = !geometry.positionGiven ? static_cast<int>(frame.top)
                            : geometry.y >= 0       ? geometry.y
                                                    : static_cast<int>(screen.bottom) + geometry.y - height;
            SetWindowPos(m_window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
            continue;
        }
        const int workLeft = static_cast<int>(work.left), workTop = static_cast<int>(work.top);
        const int workWidth = static_cast<int>(work.right - work.left);
        const int workHeight = static_cast<int>(work.bottom - work.top);
        const bool fits = width <= workWidth && height <= workHeight;
        // A frame that fits keeps its place, moved back inside the work area.
        const int left = fits ? std::clamp(static_cast<int>(frame.left), workLeft, workLeft + workWidth - width) : workLeft;
        const int top = fits ? std::clamp(static_cast<int>(frame.top), workTop, workTop + workHeight - height) : workTop;
        SetWindowPos(m_window, nullptr, left, top, std::min(width, workWidth), std::min(height, workHeight),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CMainFrame::ShowAsAsked()
{
    const WindowOptions& options = programWindowOptions();
    if (options.noBars)
        ShowBars(false);
    if (options.fullscreen)
        SetFullScreen(true);
}

bool CMainFrame::HandleWindowKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || (message.wParam != VK_F11 && message.wParam != VK_F12))
        return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    if (message.wParam == VK_F11)
        SetFullScreen(!m_fullScreen);
    else
        ShowBars(!m_barsShown);
    return true;
}

void CMainFrame::ShowBars(bool show)
{
    m_barsShown = show;
    if (!show && GetMenu(m_window))
        m_menu = GetMenu(m_window);
    SetMenu(m_window, show ? m_menu : nullptr);
    ShowWindow(m_wndToolBar, show ? SW_SHOW : SW_HIDE);
    ShowWindow(m_wndStatusBar, show ? SW_SHOW : SW_HIDE);
    RecalcLayout();
}

// Full screen: a borderless window over the whole monitor it is on; the
// windowed place and style come back when it ends.
void CMainFrame::SetFullScreen(bool on)
{
    if (on == m_fullScreen)
        return;
    m_fullScreen = on;
    if (on) {
        m_windowed.length = sizeof m_windowed;
        GetWindowPlacement(m_window, &m_windowed);
        m_windowedStyle = GetWindowLongPtrW(m_window, GWL_STYLE);
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor);
        SetWindowLongPtrW(m_window, GWL_STYLE, (m_windowedStyle & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
        const RECT& screen = monitor.rcMonitor;
        SetWindowPos(m_window, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
                     screen.bottom - screen.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
        return;
    }
    SetWindowLongPtrW(m_window, GWL_STYLE, m_windowedStyle);
    SetWindowPlacement(m_window, &m_windowed);
    SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

LRESULT CALLBACK CMainFrame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* frame = static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        frame->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
    }
    auto* frame = reinterpret_cast<CMainFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!frame)
        return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = frame->Handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        frame->m_window = nullptr;
        if (frame->m_ownsItself)
            delete frame;
    }
    return result;
}

int CMainFrame::OnCreate()
{
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(loadIcon(GetSystemMetrics(SM_CXSMICON))));
    // The view and its GL context come first: they decide whether the
    // program can run at all.
    m_wndView.SetFrameDrawn([this] { ShowDataStatus(); });
    if (!m_wndView.PrepareRenderer() || !m_wndView.CreateDisplayWindow(m_window))
        return -1;
    if (!CreateToolBar() || !CreateStatusBar())
        return -1;
    return 0;
}

bool CMainFrame::CreateToolBar()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_wndToolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
                                   m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(AFX_IDW_TOOLBAR)), instance,
                                   nullptr);
    if (!m_wndToolBar)
        return false;
    SendMessageW(m_wndToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The bitmap is released on every path once its images are in the list.
    HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!bitmap)
        return false;
    m_toolbarImages = ImageList_Create(kToolImageSide, kToolImageSide, ILC_COLOR24 | ILC_MASK, 0, 0);
    const bool added = m_toolbarImages && ImageList_AddMasked(m_toolbarImages, bitmap, kToolbarMask) != -1;
    DeleteObject(bitmap);
    if (!added)
        return false;
    SendMessageW(m_wndToolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kToolImageSide, kToolImageSide));
    SendMessageW(m_wndToolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kToolButtonSide, kToolButtonSide));
    SendMessageW(m_wndToolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_toolbarImages));
    TBBUTTON buttons[4] = {};
    const int ids[4] = {ID_START, ID_PAUSE, 0, ID_APP_ABOUT};
    for (int i = 0, image = 0; i < 4; ++i) {
        buttons[i].idCommand = ids[i];
        buttons[i].fsStyle = ids[i] ? BTNS_BUTTON : BTNS_SEP;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].iBitmap = ids[i] ? image++ : 0;
    }
    if (!SendMessageW(m_wndToolBar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons)))
        return false;
    SendMessageW(m_wndToolBar, TB_AUTOSIZE, 0, 0);
    return true;
}

bool CMainFrame::CreateStatusBar()
{
    m_wndStatusBar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                     m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(AFX_IDW_STATUS_BAR)),
                                     GetModuleHandleW(nullptr), nullptr);
    if (!m_wndStatusBar)
        return false;
    // Each indicator pane is as wide as its text in the bar's font.
    HDC dc = GetDC(m_wndStatusBar);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(m_wndStatusBar, WM_GETFONT, 0, 0)));
    for (int i = 0; i < 3; ++i) {
        const std::wstring& text = m_indicatorTexts[i] = ResourceString(kIndicators[i]);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        m_indicatorWidths[i] = size.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 6;
    }
    SelectObject(dc, previous);
    ReleaseDC(m_wndStatusBar, dc);
    SetMessageText(ResourceString(AFX_IDS_IDLEMESSAGE));
    RecalcLayout();
    OnIdle();
    return true;
}

void CMainFrame::RecalcLayout()
{
    RECT client = {};
    GetClientRect(m_window, &client);
    int top = 0, bottom = client.bottom;
    if (barShown(m_wndToolBar)) {
        SendMessageW(m_wndToolBar, TB_AUTOSIZE, 0, 0);
        RECT bar = {};
        GetWindowRect(m_wndToolBar, &bar);
        top = bar.bottom - bar.top;
    }
    if (barShown(m_wndStatusBar)) {
        SendMessageW(m_wndStatusBar, WM_SIZE, 0, 0);
        // The message pane takes what the indicators leave; the last pane
        // reaches over the size grip.
        const int indicators = m_indicatorWidths[0] + m_indicatorWidths[1] + m_indicatorWidths[2];
        int rights[4];
        rights[0] = std::max(0, static_cast<int>(client.right) - GetSystemMetrics(SM_CXVSCROLL) - indicators);
        rights[1] = rights[0] + m_indicatorWidths[0];
        rights[2] = rights[1] + m_indicatorWidths[1];
        rights[3] = -1;
        SendMessageW(m_wndStatusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(rights));
        RECT bar = {};
        GetWindowRect(m_wndStatusBar, &bar);
        bottom -= bar.bottom - bar.top;
    }
    if (m_wndView.Window())
        MoveWindow(m_wndView.Window(), 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
}

void CMainFrame::SetMessageText(const std::wstring& text)
{
    if (m_wndStatusBar)
        SendMessageW(m_wndStatusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMainFrame::OnIdle()
{
    if (m_wndToolBar)
        for (int id : {ID_START, ID_PAUSE}) {
            CommandUi ui = {};
            if (m_wndView.UpdateCommand(id, &ui))
                SendMessageW(m_wndToolBar, TB_ENABLEBUTTON, id, MAKELPARAM(ui.enabled ? TRUE : FALSE, 0));
        }
    // Idle time comes once a frame while the display runs: a pane is only
    // set when its lock changed.
    if (m_wndStatusBar)
        for (int i = 0; i < 3; ++i) {
            const int on = (GetKeyState(kIndicatorKeys[i]) & 1) != 0;
            if (on == m_indicatorShown[i])
                continue;
            m_indicatorShown[i] = on;
            const wchar_t* text = on ? m_indicatorTexts[i].c_str() : L"";
            SendMessageW(m_wndStatusBar, SB_SETTEXTW, i + 1, reinterpret_cast<LPARAM>(text));
        }
    ShowDataStatus();
}

// Once a prompt is done, the pane shows the data status again, or the idle
// message without a feed.
void CMainFrame::ShowIdleMessage()
{
    m_dataStatus.clear();
    if (programFeed().Attached() || programOutputs().Attached())
        ShowDataStatus();
    else
        SetMessageText(ResourceString(AFX_IDS_IDLEMESSAGE));
}

void CMainFrame::ShowDataStatus()
{
    DataFeed& feed = programFeed();
    feed.TakeNotices();
    if ((feed.Attached() || programOutputs().Attached()) && m_wndStatusBar) {
        std::string status = feed.Attached() ? feed.Status() : std::string();
        if (programOutputs().Attached())
            status += (status.empty() ? "" : "; ") + programOutputs().Status();
        if (status != m_dataStatus) {
            m_dataStatus = status;
            SetMessageText(WideFromUtf8(status));
        }
    }
}

void CMainFrame::OnCommand(int id)
{
    if (m_wndView.OnCommand(id))
        return;
    switch (id) {
    case ID_APP_EXIT:
        PostMessageW(m_window, WM_CLOSE, 0, 0);
        break;
    case ID_APP_ABOUT:
        RunAboutBox(m_window);
        break;
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR: {
        HWND bar = id == ID_VIEW_TOOLBAR ? m_wndToolBar : m_wndStatusBar;
        ShowWindow(bar, IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
        RecalcLayout();
        break;
    }
    default:
        break;  // the pane accelerators have no handler
    }
}

void CMainFrame::OnInitMenuPopup(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        CommandUi ui = {};
        if (m_wndView.UpdateCommand(static_cast<int>(id), &ui)) {
            EnableMenuItem(menu, i, MF_BYPOSITION | (ui.enabled ? MF_ENABLED : MF_GRAYED));
            CheckMenuItem(menu, i, MF_BYPOSITION | (ui.checked ? MF_CHECKED : MF_UNCHECKED));
        } else if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR) {
            HWND bar = id == ID_VIEW_TOOLBAR ? m_wndToolBar : m_wndStatusBar;
            CheckMenuItem(menu, i, MF_BYPOSITION | (IsWindowVisible(bar) ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

LRESULT CMainFrame::OnNotify(NMHDR* header)
{
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        m_tooltip = CommandTooltip(static_cast<int>(header->idFrom));
        info->lpszText = m_tooltip.data();
        info->hinst = nullptr;
        return 0;
    }
    // Fly-by: a hovered button's prompt shows in the message pane.
    if (header->hwndFrom == m_wndToolBar && header->code == TBN_HOTITEMCHANGE) {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        if (hot->dwFlags & HICF_LEAVING)
            ShowIdleMessage();
        else
            SetMessageText(CommandPrompt(hot->idNew));
    }
    return 0;
}

LRESULT CMainFrame::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        if (m_wndView.Window())
            SetFocus(m_wndView.Window());
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(wParam);
        if (flags == 0xFFFF && lParam == 0)
            ShowIdleMessage();
        else if (flags & (MF_POPUP | MF_SEPARATOR))
            SetMessageText(std::wstring());
        else
            SetMessageText(CommandPrompt(LOWORD(wParam)));
        return 0;
    }
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_DESTROY:
        if (m_ownsItself)
            PostQuitMessage(0);
        break;
    case WM_NCDESTROY:
        if (m_toolbarImages)
            ImageList_Destroy(m_toolbarImages);
        m_toolbarImages = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}
