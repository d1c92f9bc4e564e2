// The Win32 shell in process: the frame's title, menu tree, accelerators,
// toolbar, status bar, prompts and tooltips, and the view's commands as
// menu, toolbar and accelerators reach them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "display_renderer.h"
#include "gr_display.h"
#include "main_frame.h"
#include "resource.h"

namespace {

// The multisampling menu's levels, exact coverage last.
const int kLevelIds[] = {ID_MULTISAMPLING_OFF, ID_MULTISAMPLING_2X,  ID_MULTISAMPLING_4X,
                         ID_MULTISAMPLING_8X,  ID_MULTISAMPLING_16X, ID_MULTISAMPLING_EXACT};

const wchar_t kTitle[] = L"Графическая библиотека для файлов кодогенерации, полученных с помощью модуля Lorvane2.X";

std::wstring menuText(HMENU menu, int position)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

// "text=id" per item, "-" for separators, "text>" for submenus.
std::vector<std::wstring> menuItems(HMENU menu)
{
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        // A popup's state carries its item count in the high byte, which
        // can read as MF_SEPARATOR (0x800): popups are asked first.
        if (GetSubMenu(menu, i))
            items.push_back(menuText(menu, i) + L">");
        else if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR)
            items.push_back(L"-");
        else
            items.push_back(menuText(menu, i) + L"=" + std::to_wstring(GetMenuItemID(menu, i)));
    }
    return items;
}

std::wstring statusText(HWND bar, int part)
{
    wchar_t text[256] = {};
    SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
    return text;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControls();
        ASSERT_TRUE(frame_.LoadFrame(false));
        ShowWindow(frame_.Window(), SW_SHOW);
        UpdateWindow(frame_.Window());
        frame_.OnIdle();
    }
    void TearDown() override
    {
        if (frame_.Window())
            DestroyWindow(frame_.Window());
    }
    void Command(int id) { SendMessageW(frame_.Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    HMENU Popup(std::initializer_list<int> path)
    {
        HMENU menu = GetMenu(frame_.Window());
        for (int position : path)
            menu = GetSubMenu(menu, position);
        SendMessageW(frame_.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        return menu;
    }
    static UINT State(HMENU menu, int id) { return GetMenuState(menu, id, MF_BYCOMMAND); }
    bool ButtonEnabled(int id) { return SendMessageW(frame_.ToolBar(), TB_ISBUTTONENABLED, id, 0) != 0; }

    CMainFrame frame_;
};

}  // namespace

TEST_F(ShellTest, TitleMenuTreeAndAccelerators)
{
    wchar_t title[256] = {};
    GetWindowTextW(frame_.Window(), title, 256);
    EXPECT_STREQ(title, kTitle);
    HMENU bar = GetMenu(frame_.Window());
    EXPECT_EQ(menuItems(bar), (std::vector<std::wstring>{L"Файл>", L"Вид>", L"Прорисовка>", L"Информация>"}));
    EXPECT_EQ(menuItems(GetSubMenu(bar, 0)), (std::vector<std::wstring>{L"Выход\tAlt+F4=57665"}));
    EXPECT_EQ(menuItems(GetSubMenu(bar, 1)),
              (std::vector<std::wstring>{L"Панель инструментов=59392", L"Панель статуса=59393"}));
    EXPECT_EQ(menuItems(GetSubMenu(bar, 2)),
              (std::vector<std::wstring>{L"Мультисемплинг>", L"-", L"Старт=3005", L"Пауза=3006"}));
    EXPECT_EQ(menuItems(GetSubMenu(GetSubMenu(bar, 2), 0)),
              (std::vector<std::wstring>{L"Отключен=3000", L"-", L"2x=3001", L"4x=3002", L"8x=3003", L"16x=3004", L"-",
                                         L"Точное покрытие=3007"}));
    EXPECT_EQ(menuItems(GetSubMenu(bar, 3)), (std::vector<std::wstring>{L"О программе...=57664"}));

    ACCEL keys[4] = {};
    ASSERT_EQ(CopyAcceleratorTableW(frame_.Accelerators(), keys, 4), 2);
    EXPECT_EQ(keys[0].key, VK_F6);
    EXPECT_EQ(keys[0].cmd, ID_NEXT_PANE);
    EXPECT_EQ(keys[0].fVirt & (FVIRTKEY | FSHIFT), FVIRTKEY);
    EXPECT_EQ(keys[1].key, VK_F6);
    EXPECT_EQ(keys[1].cmd, ID_PREV_PANE);
    EXPECT_EQ(keys[1].fVirt & (FVIRTKEY | FSHIFT), FVIRTKEY | FSHIFT);
}

TEST_F(ShellTest, ToolbarStatusBarPromptsAndTooltips)
{
    HWND toolbar = frame_.ToolBar();
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 4);
    const int ids[4] = {ID_START, ID_PAUSE, 0, ID_APP_ABOUT};
    for (int i = 0; i < 4; ++i) {
        TBBUTTON button = {};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, ids[i]);
        EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, ids[i] == 0);
    }
    EXPECT_EQ(GetWindowLongPtrW(toolbar, GWL_STYLE) & TBSTYLE_FLAT, TBSTYLE_FLAT);
    EXPECT_EQ(ImageList_GetImageCount(frame_.ToolbarImages()), 3);
    int w = 0, h = 0;
    ImageList_GetIconSize(frame_.ToolbarImages(), &w, &h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 16);
    const LRESULT size = SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(LOWORD(size), 23);
    EXPECT_EQ(HIWORD(size), 23);

    HWND status = frame_.StatusBar();
    EXPECT_EQ(SendMessageW(status, SB_GETPARTS, 0, 0), 4);
    EXPECT_EQ(statusText(status, 0), L"Ready");
    SendMessageW(frame_.Window(), WM_MENUSELECT, MAKEWPARAM(ID_START, MF_STRING), 0);
    EXPECT_EQ(statusText(status, 0), L"Старт") << "a menu item's prompt";
    SendMessageW(frame_.Window(), WM_MENUSELECT, MAKEWPARAM(ID_MULTISAMPLING_4X, MF_STRING), 0);
    EXPECT_EQ(statusText(status, 0), L"") << "levels have no prompt";
    SendMessageW(frame_.Window(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(statusText(status, 0), L"Ready") << "a closed menu gives the idle text back";

    // The key panes show their text while the lock is on.
    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    const BYTE saved[3] = {keys[VK_CAPITAL], keys[VK_NUMLOCK], keys[VK_SCROLL]};
    keys[VK_CAPITAL] |= 1;
    keys[VK_NUMLOCK] &= ~1;
    keys[VK_SCROLL] |= 1;
    ASSERT_TRUE(SetKeyboardState(keys));
    frame_.OnIdle();
    EXPECT_EQ(statusText(status, 1), L"CAP");
    EXPECT_EQ(statusText(status, 2), L"");
    EXPECT_EQ(statusText(status, 3), L"SCRL");
    keys[VK_CAPITAL] = saved[0];
    keys[VK_NUMLOCK] = saved[1];
    keys[VK_SCROLL] = saved[2];
    SetKeyboardState(keys);
    frame_.OnIdle();
    EXPECT_EQ(statusText(status, 1), (saved[0] & 1) ? L"CAP" : L"");

    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = toolbar;
    info.hdr.idFrom = ID_PAUSE;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(frame_.Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, L"Пауза");
    info.hdr.idFrom = ID_APP_ABOUT;
    SendMessageW(frame_.Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.lpszText, L"About");

    // Hiding the toolbar gives the view its rows and takes the check mark.
    RECT before = {}, after = {};
    GetWindowRect(frame_.View().Window(), &before);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(IsWindowVisible(toolbar));
    GetWindowRect(frame_.View().Window(), &after);
    EXPECT_LT(after.top, before.top);
    EXPECT_EQ(State(Popup({1}), ID_VIEW_TOOLBAR) & MF_CHECKED, 0u);
    EXPECT_EQ(State(Popup({1}), ID_VIEW_STATUS_BAR) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    Command(ID_START);
    EXPECT_TRUE(frame_.View().IsRunning()) << "the menu still starts with the toolbar hidden";
}

TEST_F(ShellTest, StartPauseAndANewLevelFollowTheViewsRules)
{
    CChildView& view = frame_.View();
    const int first = view.SampleCount();
    EXPECT_TRUE(view.Renderer().Formats().IsSupported(first));
    EXPECT_TRUE(ButtonEnabled(ID_START));
    EXPECT_FALSE(ButtonEnabled(ID_PAUSE));

    Command(ID_START);
    frame_.OnIdle();
    EXPECT_TRUE(view.IsRunning());
    EXPECT_FALSE(ButtonEnabled(ID_START));
    EXPECT_TRUE(ButtonEnabled(ID_PAUSE));
    HMENU levels = Popup({2, 0});
    for (int id : kLevelIds)
        EXPECT_TRUE(State(levels, id) & MF_GRAYED) << "no level changes while running: " << id;
    HMENU drawing = Popup({2});
    EXPECT_TRUE(State(drawing, ID_START) & MF_GRAYED);
    EXPECT_FALSE(State(drawing, ID_PAUSE) & MF_GRAYED);

    Command(ID_PAUSE);
    EXPECT_FALSE(view.IsRunning());
    levels = Popup({2, 0});
    const PixelFormatTable& formats = view.Renderer().Formats();
    for (int id : kLevelIds) {
        const int samples = CommandSampleCount(id);
        EXPECT_EQ((State(levels, id) & MF_GRAYED) == 0, formats.IsSupported(samples)) << id;
        EXPECT_EQ((State(levels, id) & MF_CHECKED) != 0, samples == first) << id;
    }

    // A new level makes a new view window, laid out between the bars.
    HWND old = view.Window();
    Command(ID_MULTISAMPLING_OFF);
    EXPECT_EQ(view.SampleCount(), 0);
    EXPECT_TRUE(IsWindow(view.Window()));
    EXPECT_NE(view.Window(), old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(GetDlgCtrlID(view.Window()), AFX_IDW_PANE_FIRST);
    RECT client = {}, pane = {};
    GetClientRect(frame_.Window(), &client);
    GetClientRect(view.Window(), &pane);
    EXPECT_GT(pane.bottom, client.bottom / 2);
    levels = Popup({2, 0});
    EXPECT_TRUE(State(levels, ID_MULTISAMPLING_OFF) & MF_CHECKED);
    for (int id : kLevelIds)
        EXPECT_EQ((State(levels, id) & MF_CHECKED) != 0, id == ID_MULTISAMPLING_OFF) << "level " << id << " still checked";

    // The pane accelerators reach nobody, and nothing breaks.
    Command(ID_NEXT_PANE);
    EXPECT_TRUE(IsWindow(frame_.Window()));
}

// The view shows the whole display and its margin when the work area is
// large enough (the test screen is), and the frame stays within the work area.
TEST_F(ShellTest, FrameIsSizedToShowTheWholeDisplay)
{
    const GrDisplay& display = *frame_.View().Renderer().Display().descriptor;
    const int margin = static_cast<int>(kDisplayMargin);
    RECT pane = {}, frame = {}, work = {};
    GetClientRect(frame_.View().Window(), &pane);
    EXPECT_EQ(pane.right, display.width + margin);
    EXPECT_EQ(pane.bottom, display.height + margin);
    GetWindowRect(frame_.Window(), &frame);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_GE(frame.left, work.left);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LE(frame.bottom, work.bottom);
}

TEST(AboutBox, TemplateHasItsCaptionTextsAndButton)
{
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr,
                                     [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; },
                                     0);
    ASSERT_NE(dialog, nullptr);
    wchar_t text[256] = {};
    GetWindowTextW(dialog, text, 256);
    EXPECT_STREQ(text, L"О программе");
    GetDlgItemTextW(dialog, IDOK, text, 256);
    EXPECT_STREQ(text, L"OK");
    RECT units = {0, 0, 273, 87}, window = {};
    MapDialogRect(dialog, &units);
    GetClientRect(dialog, &window);
    EXPECT_EQ(window.right, units.right);
    EXPECT_EQ(window.bottom, units.bottom);
    std::vector<std::wstring> statics;
    int icons = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowTextW(child, text, 256);
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icons += SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (GetDlgCtrlID(child) != IDOK)
            statics.push_back(text);
    }
    EXPECT_EQ(icons, 1) << "the program's icon";
    // The description, the developer and the line the renderer's choice fills.
    ASSERT_EQ(statics.size(), 3u);
    EXPECT_EQ(statics[0], L"Графическая библиотека для файлов кодогенерации, полученных с помощью модуля расширения "
                          L"Lorvane2.X .");
    DestroyWindow(dialog);
}
