// The host shell in-process on a real X display (the test runs under its
// own Xvfb): start-up, the commands as menu and toolbar send them, the frame
// timer and paints, multisampling re-creation, bars, About box, failures.
// What the view draws with is tested for both renderers: the GL window and
// the CPU backend's frames shown as a bitmap.
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

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app.h"
#include "canvas_surface.h"
#include "cpu_formats.h"
#include "cpu_window_surface.h"
#include "differing_pixels.h"
#include "frame_comparison.h"
#include "display_state.h"
#include "glx_probe.h"
#include "gr.h"
#include "layout.h"
#include "main_frame.h"
#include "model.h"
#include "multisampling_commands.h"
#include "png_file.h"
#include "renderer_option.h"
#include "resource_ids.h"
#include "shell_strings.h"
#include "status_panes.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

wxIMPLEMENT_APP_NO_MAIN(App);

namespace {

wxString U(const char* text) { return wxString::FromUTF8(text); }

// Runs the toolkit's events until done holds; false after a generous wait.
bool PumpUntil(const std::function<bool()>& done)
{
    wxStopWatch watch;
    while (!done()) {
        if (watch.Time() > 15000)
            return false;
        wxEventLoopBase::GetActive()->Yield();
        wxTheApp->ProcessIdle();
        wxMilliSleep(1);
    }
    return true;
}

bool NoTopLevelWindowsLeft() { return wxTopLevelWindows.empty(); }

void DestroyAllFrames()
{
    for (wxWindow* window : wxTopLevelWindows)
        window->Destroy();
    EXPECT_TRUE(PumpUntil(NoTopLevelWindowsLeft));
}

struct ShownMessage {
    wxString text;
    wxString detail;
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
            messages.push_back({box->GetMessage(), box->GetExtendedMessage(), box->GetTitle(),
                                box->GetMessageDialogStyle(), box->GetParent()});
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

void ExpectErrorBox(const ShownMessage& message, const wxString& text)
{
    EXPECT_EQ(message.text, text);
    EXPECT_EQ(message.caption, U("Ошибка"));
    EXPECT_TRUE(message.style & wxICON_ERROR);
}

// What the X server shows of the screen at x, y, as RGBA rows top first.
RgbaImage ScreenPixels(int x, int y, int width, int height)
{
    RgbaImage image;
    Display* display = wxGetX11Display();
    XSync(display, False);
    XImage* shot =
        XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
    if (!shot)
        return image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    auto channel = [](unsigned long pixel, unsigned long mask) {
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return static_cast<uint8_t>(((pixel >> shift) & mask) * 255 / (mask ? mask : 1));
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            uint8_t* out = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
            out[0] = channel(pixel, shot->red_mask);
            out[1] = channel(pixel, shot->green_mask);
            out[2] = channel(pixel, shot->blue_mask);
            out[3] = 255;
        }
    XDestroyImage(shot);
    return image;
}

// What the view shows, whichever renderer draws it.
RgbaImage ViewPixels(const CChildView& view)
{
    const wxPoint at = view.Window()->GetScreenPosition();
    const wxSize size = view.Window()->GetClientSize();
    return ScreenPixels(at.x, at.y, size.x, size.y);
}

// The view's GL window; null when the view draws on the processor.
wxGLCanvas* GlCanvas(const CChildView& view) { return dynamic_cast<wxGLCanvas*>(view.Window()); }

// A driver that offers a configuration no window can be created with: the
// real configurations plus a made-up 2x one.
class UnusableTwoSampleProbe : public PixelFormatProbe {
public:
    static constexpr int kMadeUpFormat = 0x7fff0002;
    explicit UnusableTwoSampleProbe(Display* display) : real_(display) {}
    bool ChoosePlainFormat(int* format) override { return real_.ChoosePlainFormat(format); }
    bool HasMultisampleExtension() override { return true; }
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override
    {
        // Left out of the first answer when that has no real one, so the
        // table still asks for the other swap method.
        const bool found = real_.ChooseMultisampleFormats(swapExchange, formats) && !formats->empty();
        if (!found && swapExchange)
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

// Only a plain format, or none.
class PlainOnlyProbe : public PixelFormatProbe {
public:
    PlainOnlyProbe(bool found, int format) : found_(found), format_(format) {}
    bool ChoosePlainFormat(int* format) override
    {
        *format = format_;
        return found_;
    }
    bool HasMultisampleExtension() override { return false; }
    bool ChooseMultisampleFormats(bool, std::vector<int>*) override { return false; }
    bool QuerySamples(int, int*) override { return false; }

private:
    bool found_;
    int format_;
};

int CommandOfSamples(int samples)
{
    for (const MultisamplingCommand& command : kMultisamplingCommands)
        if (command.samples == samples)
            return command.id;
    return -1;
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
        // These cases drive the GL view unless a case asks for the CPU one:
        // on Xvfb's llvmpipe auto would choose the processor.
        if (programRenderer() == ProgramRenderer::Auto)
            programRenderer() = ProgramRenderer::Gl;
        ASSERT_TRUE(wxGetApp().OnInit());
        frame = dynamic_cast<CMainFrame*>(wxGetApp().GetTopWindow());
        ASSERT_TRUE(frame && View().Window());
        WatchPaints();
        RepaintOnce();
        View().Bind(wxEVT_TIMER, [this](wxTimerEvent& event) {
            ++ticks;
            timerId = event.GetId();
            timerInterval = event.GetInterval();
            event.Skip();
        });
        g_dialogs->messages.clear();
        g_dialogs->onOtherDialog = nullptr;
    }

    void TearDown() override { DestroyAllFrames(); }

    CChildView& View() { return frame->View(); }
    const PixelFormatTable& Formats() { return View().Renderer().Formats(); }

    // Counts the paints of the current view window; the view still paints.
    void WatchPaints()
    {
        paints = 0;
        View().Window()->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            ++paints;
            event.Skip();
        });
    }

    wxMenuItem* MenuItem(int id)
    {
        frame->GetMenuBar()->UpdateMenus();
        return frame->GetMenuBar()->FindItem(id);
    }

    // A menu command the way a click sends it: only when the item is enabled.
    bool ClickMenu(int id)
    {
        if (!MenuItem(id)->IsEnabled())
            return false;
        frame->ProcessCommand(id);
        return true;
    }

    bool ToolEnabled(int id)
    {
        frame->GetToolBar()->UpdateWindowUI();
        return frame->GetToolBar()->GetToolEnabled(id);
    }

    bool ClickTool(int id)
    {
        if (!ToolEnabled(id))
            return false;
        frame->GetToolBar()->OnLeftClick(id, false);
        return true;
    }

    wxString StatusText(int pane) { return frame->GetStatusBar()->GetStatusText(pane); }

    void RepaintOnce()
    {
        const int before = paints;
        View().Window()->Refresh(false);
        ASSERT_TRUE(PumpUntil([&] { return paints > before; })) << "the view did not paint";
    }

    void RunFrames(int frames)
    {
        const int start = g_model.frameCounter;
        ASSERT_TRUE(ClickMenu(ID_START));
        ASSERT_TRUE(PumpUntil([&] { return g_model.frameCounter >= start + frames; }));
        ASSERT_TRUE(ClickMenu(ID_PAUSE));
    }

    CMainFrame* frame = nullptr;
    int paints = 0;
    int ticks = 0;
    int timerId = 0;
    int timerInterval = 0;
};

// The same program with each renderer of --renderer.
class RendererShellTest : public ShellTest, public testing::WithParamInterface<ProgramRenderer> {
protected:
    void SetUp() override
    {
        programRenderer() = GetParam();
        ShellTest::SetUp();
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        programRenderer() = ProgramRenderer::Gl;
    }
    bool Cpu() const { return GetParam() == ProgramRenderer::Cpu; }
};

std::string RendererName(const testing::TestParamInfo<ProgramRenderer>& info)
{
    return info.param == ProgramRenderer::Cpu ? "Cpu" : "Gl";
}

TEST_F(ShellTest, OpensTheMainWindowShowingTheWholeDisplayArea)
{
    EXPECT_EQ(frame->GetTitle(), U(ShellString(IDR_MAINFRAME)));
    EXPECT_EQ(frame->GetIcons().GetIconCount(), 4u);
    // The test screen (1280 x 1200) has room for it.
    EXPECT_EQ(View().Window()->GetClientSize() * View().Window()->GetContentScaleFactor(),
              wxSize(kViewWidth, kViewHeight));
    EXPECT_EQ(View().Window()->GetClientSize(), frame->GetClientSize());
    EXPECT_EQ(View().SampleCount(), Formats().DefaultSampleCount());
    EXPECT_EQ(CanvasFormat(*GlCanvas(View())), Formats().FormatFor(View().SampleCount()));
    EXPECT_FALSE(View().IsRunning());
    EXPECT_FALSE(View().IsTimerRunning());
    // The first paint computed the initial values.
    EXPECT_GE(g_model.frameCounter, 0);
}

TEST_F(ShellTest, MenuTreeAndAccelerators)
{
    wxMenuBar* bar = frame->GetMenuBar();
    std::string outline;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        outline += bar->GetMenuLabel(i).utf8_string() + '\n' + MenuOutline(bar->GetMenu(i), " ");
    EXPECT_EQ(outline, wxString::Format(U("Файл\n"
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
                                          "  -\n"
                                          "  Точное покрытие = 3007 check\n"
                                          " -\n"
                                          " Старт = 3005\n"
                                          " Пауза = 3006\n"
                                          "Информация\n"
                                          " О программе... = %d\n"),
                                        wxID_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, wxID_ABOUT)
                           .utf8_string());

    wxKeyEvent f6(wxEVT_KEY_DOWN);
    f6.m_keyCode = WXK_F6;
    EXPECT_EQ(frame->GetAcceleratorTable()->GetCommand(f6), 57680);
    f6.m_shiftDown = true;
    EXPECT_EQ(frame->GetAcceleratorTable()->GetCommand(f6), 57681);
}

TEST_F(ShellTest, ToolbarStatusPromptsAndTooltips)
{
    wxToolBar* toolbar = frame->GetToolBar();
    ASSERT_EQ(toolbar->GetToolsCount(), 4u);
    EXPECT_TRUE(toolbar->GetToolByPos(2)->IsSeparator());
    struct Expected {
        int position, id;
        const char *tooltip, *prompt;
    };
    const Expected tools[] = {{0, ID_START, "Старт", "Старт"},
                              {1, ID_PAUSE, "Пауза", "Пауза"},
                              {3, wxID_ABOUT, "About", "Display program information, version number and copyright"}};
    ASSERT_EQ(frame->GetStatusBar()->GetFieldsCount(), 4);
    EXPECT_EQ(StatusText(kMessagePane), "Ready");
    for (const Expected& expected : tools) {
        const wxToolBarToolBase* tool = toolbar->GetToolByPos(expected.position);
        EXPECT_EQ(tool->GetId(), expected.id);
        EXPECT_EQ(tool->GetNormalBitmap().GetSize(), wxSize(16, 16));
        EXPECT_TRUE(tool->GetNormalBitmap().GetMask()) << "the grey background must be transparent";
        EXPECT_EQ(tool->GetShortHelp(), U(expected.tooltip));
        toolbar->OnMouseEnter(expected.id);
        EXPECT_EQ(StatusText(kMessagePane), U(expected.prompt));
    }
    toolbar->OnMouseEnter(wxID_ANY);
    EXPECT_EQ(StatusText(kMessagePane), "Ready");

    const std::pair<int, const char*> highlighted[] = {{ID_VIEW_STATUS_BAR, "Show or hide the status bar"},
                                                       {ID_PAUSE, "Пауза"}};
    for (auto [id, prompt] : highlighted) {
        wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, id);
        frame->HandleWindowEvent(highlight);
        EXPECT_EQ(StatusText(kMessagePane), U(prompt));
    }
    wxMenuEvent close(wxEVT_MENU_CLOSE, 0, frame->GetMenuBar()->GetMenu(2));
    frame->HandleWindowEvent(close);
    EXPECT_EQ(StatusText(kMessagePane), "Ready");
}

TEST_P(RendererShellTest, CommandStatesFollowRunningAndTheFormatTable)
{
    const auto expectStates = [&](bool running) {
        for (const MultisamplingCommand& command : kMultisamplingCommands) {
            EXPECT_EQ(MenuItem(command.id)->IsEnabled(), !running && Formats().IsSupported(command.samples))
                << command.samples << (running ? " while running" : " while paused");
            EXPECT_EQ(MenuItem(command.id)->IsChecked(), command.samples == View().SampleCount());
        }
        EXPECT_EQ(MenuItem(ID_START)->IsEnabled(), !running);
        EXPECT_EQ(MenuItem(ID_PAUSE)->IsEnabled(), running);
        EXPECT_EQ(ToolEnabled(ID_START), !running);
        EXPECT_EQ(ToolEnabled(ID_PAUSE), running);
        EXPECT_TRUE(ToolEnabled(wxID_ABOUT));
    };
    expectStates(false);
    // From the toolbar: the frame hands the command to the view.
    ASSERT_TRUE(ClickTool(ID_START));
    EXPECT_TRUE(View().IsRunning());
    expectStates(true);
    ASSERT_TRUE(ClickMenu(ID_PAUSE));
    EXPECT_FALSE(View().IsRunning());
    expectStates(false);
}

TEST_P(RendererShellTest, TimerRunsOnlyWhileRunningAndEachTickPaintsAFrame)
{
    const int startFrame = g_model.frameCounter;
    ASSERT_TRUE(ClickMenu(ID_START));
    EXPECT_TRUE(View().IsTimerRunning());
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 5 && g_model.frameCounter >= startFrame + 5; }));
    EXPECT_EQ(timerId, 1);
    EXPECT_EQ(timerInterval, 40);
    // Ticks merge into pending paints, never the other way round.
    EXPECT_LE(g_model.frameCounter - startFrame, ticks);

    ASSERT_TRUE(ClickTool(ID_PAUSE));
    EXPECT_FALSE(View().IsTimerRunning());
    const DisplayModel paused = g_model;
    // Pause paints once more, without advancing the animated values.
    const int paintsAtPause = paints;
    ASSERT_TRUE(PumpUntil([&] { return paints > paintsAtPause; }));
    const int ticksAtPause = ticks;
    RepaintOnce();
    EXPECT_EQ(ticks, ticksAtPause);
    EXPECT_EQ(g_model.frameCounter, paused.frameCounter);
    EXPECT_EQ(g_model.phase, paused.phase);
    EXPECT_EQ(std::memcmp(g_model.counterValues, paused.counterValues, sizeof paused.counterValues), 0);
}

// The toolkit paints for reasons of its own as well (exposes; on the CPU
// view, which has no X window, every redraw of the bars): those paints show
// the current values, and only ticks advance them.
TEST_P(RendererShellTest, PaintsNoTickAskedForDoNotAdvanceTheAnimation)
{
    ASSERT_TRUE(ClickMenu(ID_START));
    const int startFrame = g_model.frameCounter;
    const int startTicks = ticks;
    for (int i = 0; i < 20; ++i)
        RepaintOnce();
    EXPECT_GT(paints, 20);
    EXPECT_LE(g_model.frameCounter - startFrame, ticks - startTicks);
    ASSERT_TRUE(PumpUntil([&] { return g_model.frameCounter >= startFrame + 2; })) << "ticks still advance it";
}

// On the CPU each level draws through the backend of its sample count, and
// the levels offered are the ones that backend has.
TEST_P(RendererShellTest, EveryOfferedMultisamplingLevelRecreatesTheViewKeepingTheAnimation)
{
    RunFrames(3);
    for (const PixelFormatEntry& entry : Formats().Entries()) {
        const int id = CommandOfSamples(entry.samples);
        const DisplayModel model = g_model;
        PanelLayout panels[kPanelCount];
        std::memcpy(panels, g_panels, sizeof panels);

        ASSERT_TRUE(ClickMenu(id)) << entry.samples;
        ASSERT_NE(View().Window(), nullptr);
        EXPECT_EQ(View().SampleCount(), entry.samples);
        EXPECT_EQ(View().Window()->GetClientSize(), frame->GetClientSize());
        WatchPaints();
        ASSERT_TRUE(PumpUntil([&] { return paints > 0; }));
        if (Cpu()) {
            EXPECT_EQ(GlCanvas(View()), nullptr);
            EXPECT_EQ(grBackendName(), cpuBackendName(entry.samples));
        } else {
            EXPECT_EQ(CanvasFormat(*GlCanvas(View())), entry.format);
            GLint samples = -1;
            glGetIntegerv(GL_SAMPLES, &samples);
            EXPECT_EQ(glXGetCurrentDrawable(), GlCanvas(View())->GetXWindow());
            EXPECT_EQ(samples, entry.samples);
        }
        for (const MultisamplingCommand& command : kMultisamplingCommands)
            EXPECT_EQ(MenuItem(command.id)->IsChecked(), command.id == id) << command.samples;

        EXPECT_EQ(g_model.frameCounter, model.frameCounter);
        EXPECT_EQ(g_model.phase, model.phase);
        EXPECT_EQ(std::memcmp(g_model.counterValues, model.counterValues, sizeof model.counterValues), 0);
        EXPECT_EQ(std::memcmp(g_panels, panels, sizeof panels), 0);
    }
    EXPECT_TRUE(g_dialogs->messages.empty());
    RunFrames(2);
}

// On the window's own (GLX) formats, multisampled ones included, batched
// submission paints exactly the pixels of exact submission.
constexpr uint8_t kNearWhite = 224;
TEST_P(RendererShellTest, BatchedFramesMatchExactFramesOnEveryWindowFormat)
{
    auto paintAndRead = [this](bool batched) {
        grSetBatching(batched);
        RepaintOnce();
        grSetBatching(false);
        return ViewPixels(View());
    };
    for (const PixelFormatEntry& entry : Formats().Entries()) {
        ASSERT_TRUE(ClickMenu(CommandOfSamples(entry.samples))) << entry.samples;
        WatchPaints();
        ASSERT_TRUE(PumpUntil([&] { return paints > 0; }));
        for (int frame = 0; frame < 3; ++frame) {
            RunFrames(7);  // the panels move on between compared frames
            const DisplayState before;
            const RgbaImage exact = paintAndRead(false);
            before.restore();
            const RgbaImage batched = paintAndRead(true);
            ASSERT_FALSE(exact.pixels.empty()) << "the view window could not be read";
            ASSERT_EQ(exact.pixels.size(), batched.pixels.size());
            EXPECT_EQ(differingPixels(exact, batched), 0) << entry.samples << " samples, frame " << g_model.frameCounter;
            // Near white, not 255 alone: exact coverage leaves fewer pixels
            // of a thin needle wholly covered than the sample levels do.
            int white = 0;
            for (size_t i = 0; i < exact.pixels.size(); i += 4)
                white += exact.pixels[i] >= kNearWhite && exact.pixels[i + 1] >= kNearWhite &&
                         exact.pixels[i + 2] >= kNearWhite;
            EXPECT_GT(white, 1000) << "white needles and texts were read, " << entry.samples << " samples";
        }
    }
}

TEST_P(RendererShellTest, LoadFailuresAreErrorBoxesOwnedByTheWindow)
{
    std::unique_ptr<ViewSurface> surface;
    if (Cpu())
        surface = std::make_unique<CpuWindowSurface>(View().Window());
    else
        surface = std::make_unique<CanvasSurface>(GlCanvas(View()));
    surface->ReportError(kFontLoadFailedText, "font 2 (\"X\", 9 pt): why", kErrorCaption);
    ASSERT_EQ(g_dialogs->messages.size(), 1u);
    ExpectErrorBox(g_dialogs->messages[0], U("Ошибка загрузки шрифтов."));
    EXPECT_EQ(g_dialogs->messages[0].detail, U("font 2 (\"X\", 9 pt): why")) << "the entry and the cause as the detail";
    EXPECT_EQ(g_dialogs->messages[0].parent, frame);
}

TEST_F(ShellTest, BarsShowAndHideWithTheirCheckMarks)
{
    wxToolBar* toolbar = frame->GetToolBar();
    wxStatusBar* status = frame->GetStatusBar();
    const int fullHeight = View().Window()->GetClientSize().y;

    ASSERT_TRUE(ClickMenu(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(toolbar->IsShown());
    EXPECT_FALSE(MenuItem(ID_VIEW_TOOLBAR)->IsChecked());
    EXPECT_TRUE(MenuItem(ID_VIEW_STATUS_BAR)->IsChecked());
    // The view takes the toolbar's room; start and pause stay in the menu.
    EXPECT_TRUE(PumpUntil([&] { return View().Window()->GetClientSize().y > fullHeight; }));
    EXPECT_EQ(View().Window()->GetClientSize(), frame->GetClientSize());
    RunFrames(2);

    ASSERT_TRUE(ClickMenu(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(status->IsShown());
    EXPECT_FALSE(MenuItem(ID_VIEW_STATUS_BAR)->IsChecked());

    ASSERT_TRUE(ClickMenu(ID_VIEW_TOOLBAR));
    ASSERT_TRUE(ClickMenu(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(toolbar->IsShown() && status->IsShown());
    EXPECT_TRUE(MenuItem(ID_VIEW_TOOLBAR)->IsChecked() && MenuItem(ID_VIEW_STATUS_BAR)->IsChecked());
    EXPECT_TRUE(PumpUntil([&] { return View().Window()->GetClientSize().y == fullHeight; }));
}

TEST_F(ShellTest, AboutBoxIsModalAndTheAnimationRunsUnderIt)
{
    ASSERT_TRUE(ClickMenu(ID_START));
    wxDialog* about = nullptr;
    int ticksAtOpen = 0;
    int ticksWhileOpen = 0;
    wxTimer closer;
    closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (about->IsModal() && ticks >= ticksAtOpen + 3) {
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
        for (wxString& text : texts)
            text.Replace("\n", " ");  // wrapped at blanks
        // The last line says what draws and why: here the GL, as asked.
        EXPECT_EQ(texts, (std::vector<wxString>{U(kAboutDescription), U(kAboutDeveloper),
                                                U("Отрисовка: OpenGL (задано параметром --renderer gl)")}));
        auto* ok = dynamic_cast<wxButton*>(dialog->FindWindow(wxID_OK));
        EXPECT_TRUE(ok && dialog->GetDefaultItem() == ok);
        closer.Start(20);
        return wxID_NONE;
    };
    ASSERT_TRUE(ClickTool(wxID_ABOUT));
    closer.Stop();
    ASSERT_NE(about, nullptr) << "About did not open";
    EXPECT_GE(ticksWhileOpen, 3);
}

TEST_F(ShellTest, LockPanesShowTheirTextWhileTheLockIsOn)
{
    const bool capsWasOn = wxGetKeyState(WXK_CAPITAL);
    wxUIActionSimulator keyboard;
    for (bool capsOn : {!capsWasOn, capsWasOn}) {
        keyboard.KeyDown(WXK_CAPITAL);
        keyboard.KeyUp(WXK_CAPITAL);
        EXPECT_TRUE(PumpUntil([&] { return StatusText(1) == (capsOn ? "CAP" : ""); }))
            << "Caps Lock " << capsOn << ", the pane shows '" << StatusText(1) << "'";
    }
    EXPECT_EQ(StatusText(2), wxGetKeyState(WXK_NUMLOCK) ? "NUM" : "");
}

// A view frame and how close it must come to panel-snapshot's gl1 frame:
// pixels off by more than tolerance in a channel, at most share of them.
struct ViewFrame {
    const char* name;
    ProgramRenderer renderer;
    int samples;
    int tolerance;
    double share;
};

void PrintTo(const ViewFrame& frame, std::ostream* out) { *out << frame.name; }

// The GL window is the snapshot to two levels; the CPU backend's frames are
// held to gl1's as the goldens hold every backend.
const ViewFrame kViewFrames[] = {
    {"Gl4", ProgramRenderer::Gl, 4, 2, 0.0},
    {"Cpu0", ProgramRenderer::Cpu, 0, 2, 0.001},
    {"Cpu4", ProgramRenderer::Cpu, 4, kChannelTolerance, kDifferingShare},
};

class WindowVsSnapshotTest : public ShellTest, public testing::WithParamInterface<ViewFrame> {
protected:
    void SetUp() override
    {
        programRenderer() = GetParam().renderer;
        ShellTest::SetUp();
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        programRenderer() = ProgramRenderer::Gl;
    }
};

// panel-snapshot is the window's picture: same frame, same sample count.
// The window runs in the Russian locale of the program's users, the snapshot
// in the C locale, so the readouts' decimal points are compared too.
TEST_P(WindowVsSnapshotTest, TheWindowShowsWhatPanelSnapshotRendersOfTheSameFrame)
{
    const ViewFrame& shown = GetParam();
    const int kSamples = shown.samples;
    ASSERT_TRUE(Formats().IsSupported(kSamples));
    const std::string previousLocale = std::setlocale(LC_ALL, nullptr);
    struct RestoreLocale {
        std::string name;
        ~RestoreLocale() { std::setlocale(LC_ALL, name.c_str()); }
    } restore{previousLocale};
    ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr) << "./build.sh test generates ru_RU.UTF-8";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    ASSERT_TRUE(ClickMenu(CommandOfSamples(kSamples)));
    WatchPaints();
    // From the program's start values to a frame halfway through the panels'
    // first move, where a repaint that stepped the layout again would show
    // the next frame's places: paused ahead of the paint that would go past
    // it, however late the test gets to see the paints.
    constexpr int kFrameCounter = 10;
    View().Window()->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
        if (g_model.frameCounter >= kFrameCounter && View().IsRunning()) {
            wxCommandEvent pause(wxEVT_MENU, ID_PAUSE);
            View().ProcessEvent(pause);
        }
        event.Skip();
    });
    resetDisplayModel();
    ASSERT_TRUE(ClickMenu(ID_START));
    ASSERT_TRUE(PumpUntil([&] { return !View().IsRunning(); }));
    const int frame = g_model.frameCounter;
    ASSERT_EQ(frame, kFrameCounter);
    ASSERT_EQ(g_model.frameCounter, frame);
    const RgbaImage window = ViewPixels(View());
    ASSERT_EQ(window.width, kViewWidth);

    // Frame k of the program run has counter k - 1.
    const std::string output = std::string(PANEL_TEST_OUTPUT) + "/window_vs_snapshot_" + shown.name;
    const std::string command = "LC_ALL=C " + std::string(PANEL_SNAPSHOT) + " --frames " + std::to_string(frame + 1) +
                                " --samples " + std::to_string(kSamples) + " -o " + output + "_snapshot.png";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    RgbaImage snapshot;
    std::string error;
    ASSERT_TRUE(readPng(output + "_snapshot.png", &snapshot, &error)) << error;
    ASSERT_EQ(snapshot.width, window.width);
    ASSERT_EQ(snapshot.height, window.height);

    const FrameComparison result = compareFrames(window, snapshot, shown.tolerance, shown.share);
    if (!result.Agrees()) {
        EXPECT_TRUE(writePng(output + "_window.png", window, &error)) << error;
        EXPECT_TRUE(writePng(output + "_diff.png", result.difference, &error)) << error;
    }
    EXPECT_LE(result.differing, result.allowed)
        << "pixels more than " << shown.tolerance << " levels apart at frame " << frame + 1 << "; see " << output
        << "_diff.png";
}

INSTANTIATE_TEST_SUITE_P(Renderers, WindowVsSnapshotTest, testing::ValuesIn(kViewFrames),
                         [](const testing::TestParamInfo<ViewFrame>& info) { return std::string(info.param.name); });

// The X server keeps Scroll Lock as the lock of the modifier the key is
// bound to (xmodmap's "add mod3 = Scroll_Lock"); the pane follows that lock,
// not whether the key is held.
TEST_F(ShellTest, ScrollLockPaneFollowsTheLock)
{
    Display* display = wxGetX11Display();
    const KeyCode key = XKeysymToKeycode(display, XK_Scroll_Lock);
    ASSERT_NE(key, 0);
    XModifierKeymap* original = XGetModifierMapping(display);
    XModifierKeymap* bound = XInsertModifiermapEntry(XGetModifierMapping(display), key, Mod3MapIndex);
    ASSERT_EQ(XSetModifierMapping(display, bound), MappingSuccess);
    XFreeModifiermap(bound);
    for (bool on : {true, false}) {
        XkbLockModifiers(display, XkbUseCoreKbd, Mod3Mask, on ? Mod3Mask : 0);
        XSync(display, False);
        EXPECT_TRUE(PumpUntil([&] { return StatusText(3) == (on ? "SCRL" : ""); }))
            << "Scroll Lock " << on << ", the pane shows '" << StatusText(3) << "'";
    }
    XSetModifierMapping(display, original);
    XFreeModifiermap(original);
    XSync(display, False);
}

// Each lock pane has room for its text inside the toolkit's margins, the
// last one beside the square size grip too.
TEST_F(ShellTest, LockPanesAreWideEnoughForTheirTexts)
{
    wxStatusBar* bar = frame->GetStatusBar();
    const int ids[] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    for (int pane = 1; pane <= 3; ++pane) {
        wxRect field;
        ASSERT_TRUE(bar->GetFieldRect(pane, field));
        int room = field.width - 2 * kPaneTextMargin;
        if (pane == 3 && bar->HasFlag(wxSTB_SIZEGRIP))
            room -= bar->GetClientSize().y;  // the grip is as wide as the bar is high
        EXPECT_GE(room, bar->GetTextExtent(U(ShellString(ids[pane - 1]))).x) << "pane " << pane;
    }
}

TEST_P(RendererShellTest, ExitClosesTheWindowAndReleasesTheView)
{
    ASSERT_TRUE(ClickMenu(ID_START));
    ASSERT_TRUE(ClickMenu(wxID_EXIT));
    EXPECT_TRUE(PumpUntil(NoTopLevelWindowsLeft));
}

INSTANTIATE_TEST_SUITE_P(Renderers, RendererShellTest, testing::Values(ProgramRenderer::Gl, ProgramRenderer::Cpu),
                         RendererName);

TEST(ShellStartUp, AFailedProbeOrConfigurationLeavesNoWindow)
{
    // No plain format at all, and one that no window can be created with.
    for (PlainOnlyProbe probe : {PlainOnlyProbe(false, 0), PlainOnlyProbe(true, 0x7fff0001)}) {
        auto* frame = new CMainFrame;
        EXPECT_FALSE(frame->Create(probe));
        EXPECT_EQ(frame->View().Window(), nullptr);
        EXPECT_EQ(frame->GetToolBar(), nullptr) << "no bar is made without a view";
        EXPECT_FALSE(frame->IsShown());
        frame->Destroy();
        EXPECT_TRUE(PumpUntil(NoTopLevelWindowsLeft));
    }
}

// The view goes back to the level it had, and says so.
TEST(ShellStartUp, AConfigurationThatCannotBeCreatedFallsBackToThePreviousLevel)
{
    g_dialogs->messages.clear();
    UnusableTwoSampleProbe probe(wxGetX11Display());
    auto* frame = new CMainFrame;
    ASSERT_TRUE(frame->Create(probe));
    CChildView& view = frame->View();
    const int before = view.SampleCount();
    ASSERT_NE(before, 2);
    frame->GetMenuBar()->UpdateMenus();
    ASSERT_TRUE(frame->GetMenuBar()->FindItem(ID_MULTISAMPLING_2X)->IsEnabled());

    frame->ProcessCommand(ID_MULTISAMPLING_2X);
    ASSERT_EQ(g_dialogs->messages.size(), 1u);
    ExpectErrorBox(g_dialogs->messages[0], wxString::Format(U(kRecreateFailedFormat), 2));
    ASSERT_NE(view.Window(), nullptr);
    EXPECT_EQ(view.SampleCount(), before);
    EXPECT_EQ(CanvasFormat(*GlCanvas(view)), view.Renderer().Formats().FormatFor(before));
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
