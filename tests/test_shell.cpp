// The host shell in-process on a real X display (the test runs under its
// own Xvfb): start-up, the commands as menu and toolbar send them, the frame
// timer and paints, multisampling re-creation, bars, About box, failures.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/glcanvas.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/stopwatch.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app.h"
#include "canvas_surface.h"
#include "glx_probe.h"
#include "layout.h"
#include "main_frame.h"
#include "multisampling_commands.h"
#include "model.h"
#include "resource_ids.h"
#include "shell_strings.h"
#include "status_panes.h"

#include <GL/gl.h>
#include <GL/glx.h>

wxIMPLEMENT_APP_NO_MAIN(App);

namespace {

wxString U(const char* text) { return wxString::FromUTF8(text); }

// Runs the toolkit's events until done holds; false after a generous wait.
bool PumpUntil(const std::function<bool()>& done, long timeoutMs = 15000)
{
    wxStopWatch watch;
    while (!done()) {
        if (watch.Time() > timeoutMs)
            return false;
        wxEventLoopBase::GetActive()->Yield();
        wxTheApp->ProcessIdle();
        wxMilliSleep(1);
    }
    return true;
}

struct ShownMessage {
    wxString text;
    wxString caption;
    long style;
    wxWindow* parent;
};

// Message boxes are answered with OK and recorded; other dialogs go to
// onOtherDialog, which decides whether they are shown.
class DialogRecorder : public wxModalDialogHook {
public:
    std::vector<ShownMessage> messages;
    std::function<int(wxDialog*)> onOtherDialog;

protected:
    int Enter(wxDialog* dialog) override
    {
        if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
            messages.push_back({box->GetMessage(), box->GetTitle(), box->GetMessageDialogStyle(), box->GetParent()});
            return wxID_OK;
        }
        if (onOtherDialog)
            return onOtherDialog(dialog);
        ADD_FAILURE() << "unexpected dialog: " << dialog->GetTitle();
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

DialogRecorder* g_dialogs = nullptr;

// Counts the paints of one canvas; the view's own handler still runs.
class PaintCounter {
public:
    void Watch(wxWindow* canvas)
    {
        count = 0;
        canvas->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            ++count;
            event.Skip();
        });
    }
    int count = 0;
};

// A driver that offers a configuration no window can be created with: the
// real plain and multisampled configurations plus a made-up 2x one.
class UnusableTwoSampleProbe : public PixelFormatProbe {
public:
    static constexpr int kMadeUpFormat = 0x7fff0002;
    explicit UnusableTwoSampleProbe(Display* display) : real_(display) {}
    bool ChoosePlainFormat(int* format) override { return real_.ChoosePlainFormat(format); }
    bool HasMultisampleExtension() override { return true; }
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override
    {
        // Only next to real ones, so the table still tries both swap methods.
        if (!real_.ChooseMultisampleFormats(swapExchange, formats) || formats->empty())
            return false;
        formats->push_back(kMadeUpFormat);
        return true;
    }
    bool QuerySamples(int format, int* samples) override
    {
        if (format != kMadeUpFormat)
            return real_.QuerySamples(format, samples);
        *samples = 2;
        return true;
    }

private:
    GlxProbe real_;
};

class FailingProbe : public PixelFormatProbe {
public:
    bool plainOk = false;
    int plainFormat = 0;
    bool ChoosePlainFormat(int* format) override
    {
        *format = plainFormat;
        return plainOk;
    }
    bool HasMultisampleExtension() override { return false; }
    bool ChooseMultisampleFormats(bool, std::vector<int>*) override { return false; }
    bool QuerySamples(int, int*) override { return false; }
};

int CommandOfSamples(int samples)
{
    for (const MultisamplingCommand& command : kMultisamplingCommands)
        if (command.samples == samples)
            return command.id;
    return -1;
}

bool NoTopLevelWindowsLeft()
{
    wxTheApp->ProcessIdle();
    return wxTopLevelWindows.empty();
}

void DestroyAllFrames()
{
    for (wxWindow* window : wxTopLevelWindows)
        window->Destroy();
    EXPECT_TRUE(PumpUntil(NoTopLevelWindowsLeft));
}

int SampleCountOfCurrentContext()
{
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    return samples;
}

// One line per item, submenus indented: "label = id [check]" or "-".
std::string MenuOutline(wxMenu* menu, const std::string& indent)
{
    std::string out;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        out += indent;
        if (item->IsSeparator()) {
            out += "-\n";
            continue;
        }
        out += item->GetItemLabel().utf8_string();
        if (item->GetSubMenu()) {
            out += '\n';
            out += MenuOutline(item->GetSubMenu(), indent + ' ');
            continue;
        }
        out += " = ";
        out += std::to_string(item->GetId());
        if (item->IsCheckable())
            out += " check";
        out += '\n';
    }
    return out;
}

// The program through its application object, as a user starts it.
class ShellTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wxGetApp().OnInit());
        frame = dynamic_cast<CMainFrame*>(wxGetApp().GetTopWindow());
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(View().Window(), nullptr);
        paints.Watch(View().Window());
        View().Window()->Refresh(false);
        ASSERT_TRUE(PumpUntil([this] { return paints.count > 0; })) << "the view never painted";
        View().Bind(wxEVT_TIMER, [this](wxTimerEvent& event) {
            ++ticks;
            event.Skip();
        });
        g_dialogs->messages.clear();
        g_dialogs->onOtherDialog = nullptr;
    }

    void TearDown() override { DestroyAllFrames(); }

    CChildView& View() { return frame->View(); }
    const PixelFormatTable& Formats() { return View().Renderer().Formats(); }

    void UpdateMenus() { frame->GetMenuBar()->UpdateMenus(); }

    wxMenuItem* MenuItem(int id) { return frame->GetMenuBar()->FindItem(id); }

    // Sends a menu command the way a click does: only when the item is enabled.
    bool ClickMenu(int id)
    {
        UpdateMenus();
        if (!MenuItem(id)->IsEnabled())
            return false;
        frame->ProcessCommand(id);
        return true;
    }

    bool ClickTool(int id)
    {
        wxToolBar* bar = frame->GetToolBar();
        bar->UpdateWindowUI();
        if (!bar->GetToolEnabled(id))
            return false;
        bar->OnLeftClick(id, false);
        return true;
    }

    // Repaints until a panel transition under way has come to rest.
    void SettlePanels()
    {
        for (int i = 0; i < 3 * kTransitionFrames; ++i) {
            PanelLayout before[kPanelCount];
            std::memcpy(before, g_panels, sizeof before);
            RepaintOnce();
            if (std::memcmp(before, g_panels, sizeof before) == 0)
                return;
        }
        ADD_FAILURE() << "the panels never came to rest";
    }

    void RepaintOnce()
    {
        const int before = paints.count;
        View().Window()->Refresh(false);
        ASSERT_TRUE(PumpUntil([&] { return paints.count > before; }));
    }

    // Runs the animation for some frames, then pauses it.
    void RunFrames(int frames)
    {
        const int start = g_model.frameCounter;
        ASSERT_TRUE(ClickMenu(ID_START));
        ASSERT_TRUE(PumpUntil([&] { return g_model.frameCounter >= start + frames; }));
        ASSERT_TRUE(ClickMenu(ID_PAUSE));
    }

    CMainFrame* frame = nullptr;
    PaintCounter paints;
    int ticks = 0;
};

TEST_F(ShellTest, OpensTheMainWindowShowingTheWholeDisplayArea)
{
    EXPECT_EQ(frame->GetTitle(), U(ShellString(IDR_MAINFRAME)));
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(frame->GetIcons().GetIconCount(), 4u);
    EXPECT_TRUE(frame->GetIcons().GetIcon(wxSize(16, 16)).IsOk());
    // The test screen (1280 x 1200) has room for it.
    EXPECT_EQ(View().Window()->GetClientSize(), wxSize(kViewWidth, kViewHeight));
    EXPECT_EQ(View().Window()->GetClientSize(), frame->GetClientSize());

    EXPECT_EQ(View().SampleCount(), Formats().DefaultSampleCount());
    EXPECT_FALSE(View().IsRunning());
    EXPECT_FALSE(View().IsTimerRunning());
    EXPECT_EQ(CanvasFormat(*View().Window()), Formats().FormatFor(View().SampleCount()));
    // The first frame shows the initial values, not an empty background.
    EXPECT_GE(g_model.frameCounter, 0);
}

TEST_F(ShellTest, MenuTreeAndAccelerators)
{
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 4u);
    std::string outline;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        outline += bar->GetMenuLabel(i).utf8_string() + '\n' + MenuOutline(bar->GetMenu(i), " ");
    const std::string expected = wxString::Format(
        U("Файл\n"
        " Выход\tAlt+F4 = %d\n"
        "Вид\n"
        " Панель инструментов = %d check\n"
        " Панель статуса = %d check\n"
        "Прорисовка\n"
        " Мультисемплинг\n"
        "  Отключен = 3000 check\n"
        "  -\n"
        "  2x = 3001 check\n"
        "  4x = 3002 check\n"
        "  8x = 3003 check\n"
        "  16x = 3004 check\n"
        " -\n"
        " Старт = 3005\n"
        " Пауза = 3006\n"
        "Информация\n"
        " О программе... = %d\n"),
        wxID_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, wxID_ABOUT).utf8_string();
    EXPECT_EQ(outline, expected);

    wxAcceleratorTable* accelerators = frame->GetAcceleratorTable();
    wxKeyEvent f6(wxEVT_KEY_DOWN);
    f6.m_keyCode = WXK_F6;
    EXPECT_EQ(accelerators->GetCommand(f6), 57680);
    f6.m_shiftDown = true;
    EXPECT_EQ(accelerators->GetCommand(f6), 57681);
}

TEST_F(ShellTest, ToolbarAndStatusBarPromptsAndTooltips)
{
    wxToolBar* toolbar = frame->GetToolBar();
    ASSERT_EQ(toolbar->GetToolsCount(), 4u);
    const int expectedIds[] = {ID_START, ID_PAUSE, wxID_SEPARATOR, wxID_ABOUT};
    for (size_t i = 0; i < 4; ++i) {
        const wxToolBarToolBase* tool = toolbar->GetToolByPos(static_cast<int>(i));
        if (expectedIds[i] == wxID_SEPARATOR) {
            EXPECT_TRUE(tool->IsSeparator());
            continue;
        }
        EXPECT_EQ(tool->GetId(), expectedIds[i]);
        EXPECT_EQ(tool->GetNormalBitmap().GetSize(), wxSize(16, 16));
        EXPECT_TRUE(tool->GetNormalBitmap().GetMask()) << "the grey background must be transparent";
    }
    EXPECT_EQ(toolbar->FindById(ID_START)->GetShortHelp(), U("Старт"));
    EXPECT_EQ(toolbar->FindById(ID_PAUSE)->GetShortHelp(), U("Пауза"));
    EXPECT_EQ(toolbar->FindById(wxID_ABOUT)->GetShortHelp(), "About");

    wxStatusBar* status = frame->GetStatusBar();
    ASSERT_EQ(status->GetFieldsCount(), 4);
    EXPECT_EQ(status->GetStatusText(kMessagePane), "Ready");

    toolbar->OnMouseEnter(ID_START);
    EXPECT_EQ(status->GetStatusText(kMessagePane), U("Старт"));
    toolbar->OnMouseEnter(wxID_ABOUT);
    EXPECT_EQ(status->GetStatusText(kMessagePane), "Display program information, version number and copyright");
    toolbar->OnMouseEnter(wxID_ANY);
    EXPECT_EQ(status->GetStatusText(kMessagePane), "Ready");

    wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, ID_VIEW_STATUS_BAR);
    highlight.SetEventObject(frame);
    frame->HandleWindowEvent(highlight);
    EXPECT_EQ(status->GetStatusText(kMessagePane), "Show or hide the status bar");
    wxMenuEvent highlightPause(wxEVT_MENU_HIGHLIGHT, ID_PAUSE);
    highlightPause.SetEventObject(frame);
    frame->HandleWindowEvent(highlightPause);
    EXPECT_EQ(status->GetStatusText(kMessagePane), U("Пауза"));
    wxMenuEvent close(wxEVT_MENU_CLOSE, 0, frame->GetMenuBar()->GetMenu(2));
    close.SetEventObject(frame);
    frame->HandleWindowEvent(close);
    EXPECT_EQ(status->GetStatusText(kMessagePane), "Ready");
}

TEST_F(ShellTest, CommandStatesFollowRunningAndTheFormatTable)
{
    wxToolBar* toolbar = frame->GetToolBar();
    const int levels[][2] = {{ID_MULTISAMPLING_OFF, 0}, {ID_MULTISAMPLING_2X, 2}, {ID_MULTISAMPLING_4X, 4},
                             {ID_MULTISAMPLING_8X, 8}, {ID_MULTISAMPLING_16X, 16}};
    const auto expectPaused = [&] {
        UpdateMenus();
        toolbar->UpdateWindowUI();
        for (auto [id, samples] : levels) {
            EXPECT_EQ(MenuItem(id)->IsEnabled(), Formats().IsSupported(samples)) << samples;
            EXPECT_EQ(MenuItem(id)->IsChecked(), samples == View().SampleCount()) << samples;
        }
        EXPECT_TRUE(MenuItem(ID_START)->IsEnabled());
        EXPECT_FALSE(MenuItem(ID_PAUSE)->IsEnabled());
        EXPECT_TRUE(toolbar->GetToolEnabled(ID_START));
        EXPECT_FALSE(toolbar->GetToolEnabled(ID_PAUSE));
        EXPECT_TRUE(toolbar->GetToolEnabled(wxID_ABOUT));
    };
    expectPaused();

    // Started from the toolbar: the frame hands the command to the view.
    ASSERT_TRUE(ClickTool(ID_START));
    EXPECT_TRUE(View().IsRunning());
    UpdateMenus();
    toolbar->UpdateWindowUI();
    for (auto [id, samples] : levels) {
        EXPECT_FALSE(MenuItem(id)->IsEnabled()) << "multisampling changes only while paused: " << samples;
        EXPECT_EQ(MenuItem(id)->IsChecked(), samples == View().SampleCount());
    }
    EXPECT_FALSE(MenuItem(ID_START)->IsEnabled());
    EXPECT_TRUE(MenuItem(ID_PAUSE)->IsEnabled());
    EXPECT_FALSE(toolbar->GetToolEnabled(ID_START));
    EXPECT_TRUE(toolbar->GetToolEnabled(ID_PAUSE));
    EXPECT_FALSE(ClickMenu(ID_MULTISAMPLING_OFF));

    // Paused from the menu.
    ASSERT_TRUE(ClickMenu(ID_PAUSE));
    EXPECT_FALSE(View().IsRunning());
    expectPaused();
}

TEST_F(ShellTest, TimerRunsOnlyWhileRunningAndEachTickPaintsAFrame)
{
    const int startFrame = g_model.frameCounter;
    ASSERT_TRUE(ClickMenu(ID_START));
    EXPECT_TRUE(View().IsTimerRunning());
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 5 && g_model.frameCounter >= startFrame + 5; }));
    // Ticks merge into pending paints, never the other way round.
    EXPECT_LE(g_model.frameCounter - startFrame, ticks);

    ASSERT_TRUE(ClickTool(ID_PAUSE));
    EXPECT_FALSE(View().IsTimerRunning());
    const int pausedFrame = g_model.frameCounter;
    int counters[kCounterCount];
    std::memcpy(counters, g_model.counterValues, sizeof counters);
    const int phase = g_model.phase;

    // Pause paints once more without advancing the animated values.
    const int paintsAtPause = paints.count;
    ASSERT_TRUE(PumpUntil([&] { return paints.count > paintsAtPause; }));
    EXPECT_EQ(g_model.frameCounter, pausedFrame);
    EXPECT_EQ(g_model.phase, phase);
    EXPECT_EQ(std::memcmp(counters, g_model.counterValues, sizeof counters), 0);

    const int ticksAtPause = ticks;
    RepaintOnce();
    RepaintOnce();
    EXPECT_EQ(ticks, ticksAtPause);
    EXPECT_EQ(g_model.frameCounter, pausedFrame);
}

TEST_F(ShellTest, EveryOfferedMultisamplingLevelRecreatesTheViewKeepingTheAnimation)
{
    RunFrames(3);
    SettlePanels();
    for (const PixelFormatEntry& entry : Formats().Entries()) {
        const int id = CommandOfSamples(entry.samples);
        const DisplayModel model = g_model;
        PanelLayout panels[kPanelCount];
        std::memcpy(panels, g_panels, sizeof panels);

        ASSERT_TRUE(ClickMenu(id)) << entry.samples;
        ASSERT_NE(View().Window(), nullptr);
        EXPECT_EQ(View().SampleCount(), entry.samples);
        EXPECT_EQ(CanvasFormat(*View().Window()), entry.format);
        EXPECT_EQ(View().Window()->GetClientSize(), frame->GetClientSize());
        paints.Watch(View().Window());
        ASSERT_TRUE(PumpUntil([&] { return paints.count > 0; }));

        EXPECT_EQ(glXGetCurrentDrawable(), View().Window()->GetXWindow());
        EXPECT_EQ(SampleCountOfCurrentContext(), entry.samples);
        UpdateMenus();
        EXPECT_TRUE(MenuItem(id)->IsChecked());
        for (int other = ID_MULTISAMPLING_OFF; other <= ID_MULTISAMPLING_16X; ++other)
            if (other != id) {
                EXPECT_FALSE(MenuItem(other)->IsChecked()) << other;
            }

        EXPECT_EQ(g_model.frameCounter, model.frameCounter);
        EXPECT_EQ(g_model.phase, model.phase);
        EXPECT_EQ(std::memcmp(g_model.counterValues, model.counterValues, sizeof model.counterValues), 0);
        EXPECT_EQ(std::memcmp(g_panels, panels, sizeof panels), 0);
    }
    EXPECT_TRUE(g_dialogs->messages.empty());

    // The animation goes on in the last window made.
    RunFrames(2);
}

TEST_F(ShellTest, ASampleCountTheTableLacksIsRefusedAndTheViewStays)
{
    ASSERT_FALSE(Formats().IsSupported(16)) << "the test screen's driver offers 16 samples";
    UpdateMenus();
    EXPECT_FALSE(ClickMenu(ID_MULTISAMPLING_16X));
    const int before = View().SampleCount();

    View().SetSampleCount(16);
    ASSERT_EQ(g_dialogs->messages.size(), 1u);
    EXPECT_EQ(g_dialogs->messages[0].text, wxString::Format(U(kRecreateFailedFormat), 16));
    EXPECT_EQ(g_dialogs->messages[0].caption, U("Ошибка"));
    EXPECT_TRUE(g_dialogs->messages[0].style & wxICON_ERROR);
    EXPECT_EQ(g_dialogs->messages[0].parent, frame);

    ASSERT_NE(View().Window(), nullptr);
    EXPECT_EQ(View().SampleCount(), before);
    EXPECT_EQ(CanvasFormat(*View().Window()), Formats().FormatFor(before));
    UpdateMenus();
    EXPECT_TRUE(MenuItem(CommandOfSamples(before))->IsChecked());
    paints.Watch(View().Window());
    RunFrames(2);
    EXPECT_GT(paints.count, 0);

    // The drawing library's load failures reach the user the same way.
    CanvasSurface surface(View().Window());
    surface.ReportError(kFontLoadFailedText, kErrorCaption);
    ASSERT_EQ(g_dialogs->messages.size(), 2u);
    EXPECT_EQ(g_dialogs->messages[1].text, U("Ошибка загрузки шрифтов."));
    EXPECT_EQ(g_dialogs->messages[1].caption, U("Ошибка"));
    EXPECT_TRUE(g_dialogs->messages[1].style & wxICON_ERROR);
    EXPECT_EQ(g_dialogs->messages[1].parent, frame);
}

TEST_F(ShellTest, BarsShowAndHideWithTheirCheckMarks)
{
    wxToolBar* toolbar = frame->GetToolBar();
    wxStatusBar* status = frame->GetStatusBar();
    const int fullHeight = View().Window()->GetClientSize().y;

    ASSERT_TRUE(ClickMenu(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(toolbar->IsShown());
    UpdateMenus();
    EXPECT_FALSE(MenuItem(ID_VIEW_TOOLBAR)->IsChecked());
    EXPECT_TRUE(MenuItem(ID_VIEW_STATUS_BAR)->IsChecked());
    // The view takes the toolbar's room.
    EXPECT_TRUE(PumpUntil([&] { return View().Window()->GetClientSize().y > fullHeight; }));
    EXPECT_EQ(View().Window()->GetClientSize(), frame->GetClientSize());

    // Start and pause stay available from the menu.
    RunFrames(2);

    ASSERT_TRUE(ClickMenu(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(status->IsShown());
    UpdateMenus();
    EXPECT_FALSE(MenuItem(ID_VIEW_STATUS_BAR)->IsChecked());

    ASSERT_TRUE(ClickMenu(ID_VIEW_TOOLBAR));
    ASSERT_TRUE(ClickMenu(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(toolbar->IsShown());
    EXPECT_TRUE(status->IsShown());
    UpdateMenus();
    EXPECT_TRUE(MenuItem(ID_VIEW_TOOLBAR)->IsChecked());
    EXPECT_TRUE(MenuItem(ID_VIEW_STATUS_BAR)->IsChecked());
    ASSERT_TRUE(PumpUntil([&] { return View().Window()->GetClientSize().y == fullHeight; }));
}

TEST_F(ShellTest, AboutBoxIsModalAndTheAnimationRunsUnderIt)
{
    ASSERT_TRUE(ClickMenu(ID_START));
    wxDialog* about = nullptr;
    int ticksAtOpen = 0;
    int ticksWhileOpen = 0;
    wxTimer closer;
    closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (about && about->IsModal() && ticks >= ticksAtOpen + 3) {
            ticksWhileOpen = ticks - ticksAtOpen;
            about->EndModal(wxID_OK);
        }
    });
    g_dialogs->onOtherDialog = [&](wxDialog* dialog) {
        about = dialog;
        ticksAtOpen = ticks;
        EXPECT_EQ(dialog->GetTitle(), U("О программе"));
        EXPECT_EQ(dialog->GetParent(), frame);
        std::vector<wxString> texts;
        for (wxWindow* child : dialog->GetChildren())
            if (auto* text = dynamic_cast<wxStaticText*>(child))
                texts.push_back(text->GetLabelText());
        // Wrapping the description breaks it into lines at blanks.
        for (wxString& text : texts)
            text.Replace("\n", " ");
        EXPECT_EQ(texts, (std::vector<wxString>{U(kAboutDescription), U(kAboutDeveloper)}));
        auto* ok = dynamic_cast<wxButton*>(dialog->FindWindow(wxID_OK));
        EXPECT_TRUE(ok && dialog->GetDefaultItem() == ok);
        closer.Start(20);
        return wxID_NONE;
    };
    ASSERT_TRUE(ClickTool(wxID_ABOUT));
    closer.Stop();
    ASSERT_NE(about, nullptr) << "About did not open";
    EXPECT_GE(ticksWhileOpen, 3);
    ASSERT_TRUE(ClickMenu(ID_PAUSE));
}

TEST_F(ShellTest, LockPanesShowTheirTextWhileTheLockIsOn)
{
    wxStatusBar* status = frame->GetStatusBar();
    const bool capsWasOn = wxGetKeyState(WXK_CAPITAL);
    wxUIActionSimulator keyboard;
    const auto toggleCaps = [&] {
        keyboard.KeyDown(WXK_CAPITAL);
        keyboard.KeyUp(WXK_CAPITAL);
    };
    toggleCaps();
    const wxString expected = capsWasOn ? wxString() : wxString("CAP");
    EXPECT_TRUE(PumpUntil([&] { return status->GetStatusText(1) == expected; }))
        << "CAP pane shows '" << status->GetStatusText(1) << "'";
    toggleCaps();
    EXPECT_TRUE(PumpUntil([&] { return status->GetStatusText(1) == (capsWasOn ? "CAP" : ""); }));
    EXPECT_EQ(status->GetStatusText(2), wxGetKeyState(WXK_NUMLOCK) ? "NUM" : "");
}

TEST_F(ShellTest, ExitClosesTheWindowAndReleasesTheView)
{
    ASSERT_TRUE(ClickMenu(ID_START));
    ASSERT_TRUE(ClickMenu(wxID_EXIT));
    EXPECT_TRUE(PumpUntil(NoTopLevelWindowsLeft));
}

TEST(ShellStartUp, AFailedProbeOrConfigurationLeavesNoWindow)
{
    FailingProbe noFormats;
    auto* frame = new CMainFrame;
    EXPECT_FALSE(frame->Create(noFormats));
    EXPECT_EQ(frame->View().Window(), nullptr);
    frame->Destroy();
    EXPECT_TRUE(PumpUntil(NoTopLevelWindowsLeft));

    FailingProbe madeUpPlainFormat;
    madeUpPlainFormat.plainOk = true;
    madeUpPlainFormat.plainFormat = 0x7fff0001;
    frame = new CMainFrame;
    EXPECT_FALSE(frame->Create(madeUpPlainFormat));
    EXPECT_EQ(frame->View().Window(), nullptr);
    EXPECT_EQ(frame->GetToolBar(), nullptr) << "no bar is made without a view";
    frame->Destroy();
    EXPECT_TRUE(PumpUntil(NoTopLevelWindowsLeft));
    EXPECT_TRUE(g_dialogs->messages.empty());
}

TEST(ShellStartUp, AConfigurationThatCannotBeCreatedFallsBackToThePreviousLevel)
{
    g_dialogs->messages.clear();
    UnusableTwoSampleProbe probe(wxGetX11Display());
    auto* frame = new CMainFrame;
    ASSERT_TRUE(frame->Create(probe));
    CChildView& view = frame->View();
    ASSERT_TRUE(view.Renderer().Formats().IsSupported(2));
    const int before = view.SampleCount();
    ASSERT_NE(before, 2);

    frame->GetMenuBar()->UpdateMenus();
    ASSERT_TRUE(frame->GetMenuBar()->FindItem(ID_MULTISAMPLING_2X)->IsEnabled());
    frame->ProcessCommand(ID_MULTISAMPLING_2X);

    ASSERT_EQ(g_dialogs->messages.size(), 1u);
    EXPECT_EQ(g_dialogs->messages[0].text, wxString::Format(U(kRecreateFailedFormat), 2));
    EXPECT_TRUE(g_dialogs->messages[0].style & wxICON_ERROR);
    ASSERT_NE(view.Window(), nullptr);
    EXPECT_EQ(view.SampleCount(), before);
    EXPECT_EQ(CanvasFormat(*view.Window()), view.Renderer().Formats().FormatFor(before));
    frame->GetMenuBar()->UpdateMenus();
    EXPECT_FALSE(frame->GetMenuBar()->FindItem(ID_MULTISAMPLING_2X)->IsChecked());

    DestroyAllFrames();
}

void FailOnAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                  const wxString& message)
{
    ADD_FAILURE() << "toolkit assertion at " << file << ":" << line << " in " << function << ": " << condition
                  << " " << message;
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    PreferX11Backend();
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "test_shell: the toolkit cannot start (no X display?)\n");
        return 1;
    }
    wxSetAssertHandler(FailOnAssert);
    wxTheApp->SetExitOnFrameDelete(false);
    wxEventLoop loop;
    wxEventLoopBase::SetActive(&loop);
    DialogRecorder dialogs;
    dialogs.Register();
    g_dialogs = &dialogs;

    const int result = RUN_ALL_TESTS();

    wxEventLoopBase::SetActive(nullptr);
    wxEntryCleanup();
    return result;
}
