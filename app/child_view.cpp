#include "child_view.h"

#include <wx/dcclient.h>
#include <wx/glcanvas.h>
#include <wx/msgdlg.h>

#include "canvas_surface.h"
#include "cpu_window_surface.h"
#include "data_option.h"
#include "display_input.h"
#include "resource_ids.h"
#include "shell_strings.h"
#include "view_logic.h"
#include "window_options.h"

#include <GL/glx.h>

namespace {

// Exactly one framebuffer configuration: GLX ignores every other attribute
// next to GLX_FBCONFIG_ID.
wxGLAttributes ConfigAttributes(int format)
{
    wxGLAttributes attributes;
    attributes.AddAttribute(GLX_FBCONFIG_ID);
    attributes.AddAttribute(format);
    attributes.EndList();
    return attributes;
}

}  // namespace

// The shared view rules name the commands by the numbers the menu uses.
static_assert(ID_MULTISAMPLING_OFF == kCommandMultisamplingOff && ID_MULTISAMPLING_2X == kCommandMultisampling2x &&
                  ID_MULTISAMPLING_4X == kCommandMultisampling4x && ID_MULTISAMPLING_8X == kCommandMultisampling8x &&
                  ID_MULTISAMPLING_16X == kCommandMultisampling16x && ID_START == kCommandStart &&
                  ID_PAUSE == kCommandPause && ID_MULTISAMPLING_EXACT == kCommandMultisamplingExact,
              "command numbers of the view rules and of the resources differ");

CChildView::CChildView()
{
    m_timer.SetOwner(this, kViewTimerId);
    Bind(wxEVT_TIMER, &CChildView::OnTimer, this, kViewTimerId);
    Bind(wxEVT_MENU, &CChildView::OnViewCommand, this, ID_MULTISAMPLING_OFF, ID_MULTISAMPLING_EXACT);
    Bind(wxEVT_UPDATE_UI, &CChildView::OnUpdateViewCommand, this, ID_MULTISAMPLING_OFF, ID_MULTISAMPLING_EXACT);
}

// The frame's members go before its child windows, so the view takes its
// window down itself while the window and its context still work.
CChildView::~CChildView() { DestroyDisplayWindow(); }

bool CChildView::PrepareRenderer(PixelFormatProbe& probe, ProgramRenderer renderer)
{
    m_kind = renderer;
    if (m_kind == ProgramRenderer::Cpu)
        m_renderer.UseCpuBackend();
    if (!m_renderer.Init(probe))
        return false;
    m_state.Prepare(m_renderer.Formats());
    m_renderer.SetBeforeUpdate([] { programFeed().BeforeUpdate(programFeedClockMs()); });
    m_renderer.SetAfterModel([] { programOutputs().AfterModel(); });
    const GrDisplay& display = *m_renderer.Display().descriptor;
    m_placement = DisplayPlacement(display.width, display.height, kDisplayMargin, programWindowOptions().placement);
    m_renderer.SetPlacement([this](int width, int height) {
        m_placed = m_placement.Place(width, height);
        return m_placed.Gr();
    });
    return true;
}

bool CChildView::CreateDisplayWindow(wxWindow* parent)
{
    m_parent = parent;
    if (!CreateWithSamples(m_state.Samples()))
        return false;
    // Live data is shown as it comes: a fed display starts running.
    if (programFeed().Attached())
        m_state.Execute(kCommandStart, m_renderer.Formats(), *this);
    return true;
}

bool CChildView::CreateWithSamples(int samples)
{
    const int format = m_renderer.Formats().FormatFor(samples);
    if (format < 0)
        return false;
    // Arrow keys and Tab reach a display that has the focus.
    constexpr long kStyle = wxFULL_REPAINT_ON_RESIZE | wxBORDER_NONE | wxWANTS_CHARS;
    if (m_kind == ProgramRenderer::Cpu) {
        m_window = new wxWindow(m_parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, kStyle);
        // Every pixel comes from the frame: the toolkit paints no background.
        m_window->SetBackgroundStyle(wxBG_STYLE_PAINT);
        m_surface = std::make_unique<CpuWindowSurface>(m_window);
    } else {
        const wxGLAttributes attributes = ConfigAttributes(format);
        if (!wxGLCanvas::IsDisplaySupported(attributes))
            return false;
        auto* canvas = new wxGLCanvas(m_parent, attributes, wxID_ANY, wxDefaultPosition, wxDefaultSize, kStyle);
        m_window = canvas;
        m_surface = std::make_unique<CanvasSurface>(canvas);
    }
    m_window->SetCursor(*wxSTANDARD_CURSOR);
    m_window->Bind(wxEVT_PAINT, &CChildView::OnPaint, this);
    m_window->Bind(wxEVT_ERASE_BACKGROUND, &CChildView::OnEraseBackground, this);
    m_window->Bind(wxEVT_SIZE, &CChildView::OnSize, this);
    bindDisplayInput(m_window, &m_renderer, [this]() -> const ViewPlacement& { return m_placed; });
    if (m_renderer.Create(m_surface.get(), samples))
        return true;
    DestroyDisplayWindow();
    return false;
}

void CChildView::DestroyDisplayWindow()
{
    if (!m_window)
        return;
    // The drawing library deletes its textures in the context.
    m_surface->MakeCurrent();
    m_renderer.Destroy();
    m_window->Destroy();
    m_window = nullptr;
    m_surface.reset();
}

// Lays the new window out between the bars, which also sizes its viewport.
void CChildView::Relayout() { m_parent->SendSizeEvent(); }

void CChildView::CloseProgram() { m_parent->Close(true); }

void CChildView::Invalidate()
{
    if (m_window)
        m_window->Refresh(false);
}

void CChildView::ReportRecreateFailure(int samples, bool restored)
{
    wxString text;
    if (!restored)
        text = wxString::FromUTF8(kRestoreFailedText);
    else if (samples > 0)
        text = wxString::Format(wxString::FromUTF8(kRecreateFailedFormat), samples);
    else
        text = wxString::FromUTF8(kRecreatePlainFailedText);
    wxMessageBox(text, wxString::FromUTF8(kErrorCaption), wxOK | wxICON_ERROR, m_parent);
}

void CChildView::ResizeToWindow()
{
    const wxSize size = m_window->GetClientSize() * m_window->GetContentScaleFactor();
    m_renderer.Resize(size.x, size.y);
}

void CChildView::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(m_window);
    if (!m_surface->MakeCurrent())
        return;
    ResizeToWindow();
    // Only a tick advances the animation: the toolkit also paints for its
    // own reasons (an expose; the bars redrawn over a view that has no X
    // window of its own, as the CPU view has not), and those paints show
    // the current values.
    const bool advance = m_state.Running() && m_tickPending;
    m_tickPending = false;
    m_renderer.Paint(advance);
    m_surface->ShowFrame(dc);
}

// Every pixel comes from the renderer: erasing would only flicker.
void CChildView::OnEraseBackground(wxEraseEvent&) {}

void CChildView::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (m_surface && m_surface->MakeCurrent())
        ResizeToWindow();
}

// Invalidation is cumulative, so ticks during a slow frame merge into one
// paint and the animation counts frames, not time.
void CChildView::OnTimer(wxTimerEvent&)
{
    m_tickPending = true;
    if (m_window)
        m_window->Refresh(false);
}

void CChildView::OnViewCommand(wxCommandEvent& event)
{
    if (m_window)
        m_state.Execute(event.GetId(), m_renderer.Formats(), *this);
}

void CChildView::OnUpdateViewCommand(wxUpdateUIEvent& event)
{
    CommandUi ui = {};
    if (!ViewCommandUi(event.GetId(), m_state.Running(), m_state.Samples(), m_renderer.Formats(), &ui))
        return;
    event.Enable(ui.enabled);
    // Start and Pause are plain buttons: only the levels carry check marks.
    if (ui.checked || CommandSampleCount(event.GetId()) >= 0)
        event.Check(ui.checked);
}
