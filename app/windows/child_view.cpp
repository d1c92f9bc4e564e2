#include "child_view.h"

#include <string>

#include "cpu_formats.h"
#include "data_option.h"
#include "display_input.h"
#include "display_option.h"
#include "renderer_option.h"
#include "resource.h"
#include "shell_text.h"
#include "wgl_probe.h"
#include "window_options.h"

// The shared view rules name the commands by the numbers the menu uses.
static_assert(ID_MULTISAMPLING_OFF == kCommandMultisamplingOff && ID_MULTISAMPLING_2X == kCommandMultisampling2x &&
                  ID_MULTISAMPLING_4X == kCommandMultisampling4x && ID_MULTISAMPLING_8X == kCommandMultisampling8x &&
                  ID_MULTISAMPLING_16X == kCommandMultisampling16x && ID_START == kCommandStart &&
                  ID_PAUSE == kCommandPause && ID_MULTISAMPLING_EXACT == kCommandMultisamplingExact,
              "command numbers of the view rules and of the resources differ");

namespace {

const wchar_t kViewClass[] = L"InstrumentPanelView";

// Wine's ntdll exports its version; Windows' does not.
bool runsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// No background brush: erasing paints nothing, every pixel comes from GL.
bool registerViewClass()
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kViewClass;
    registered = RegisterClassW(&windowClass) != 0;
    return registered;
}

}  // namespace

bool CChildView::PrepareRenderer()
{
    WglProbe glProbe;
    CpuFormatProbe cpuProbe;
    if (!m_renderer.Init(programRenderer() == ProgramRenderer::Cpu ? static_cast<PixelFormatProbe&>(cpuProbe) : glProbe))
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

bool CChildView::CreateDisplayWindow(HWND parent)
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
    if (!registerViewClass())
        return false;
    m_window = CreateWindowExW(WS_EX_CLIENTEDGE, kViewClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(AFX_IDW_PANE_FIRST)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!m_window)
        return false;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Fingers come as WM_TOUCH, each its own, instead of as one mouse.
    RegisterTouchWindow(m_window, 0);
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CChildView::WindowProc));
    RenderSurface* surface = &m_ownSurface;
    if (programRenderer() == ProgramRenderer::Cpu) {
        m_dibSurface.SetWindow(m_window);
        surface = &m_dibSurface;
        m_renderer.UseCpuBackend();
    } else if (runsUnderWine()) {
        m_presentedSurface.SetView(m_window);
        surface = &m_presentedSurface;
    } else {
        m_ownSurface.SetWindow(m_window);
    }
    if (m_renderer.Create(surface, samples))
        return true;
    DestroyWindow();
    return false;
}

void CChildView::DestroyWindow()
{
    if (m_window)
        ::DestroyWindow(m_window);  // WM_DESTROY releases the renderer
    m_window = nullptr;
}

void CChildView::StartTimer() { SetTimer(m_window, kViewTimerId, kViewTimerPeriodMs, nullptr); }

void CChildView::StopTimer() { KillTimer(m_window, kViewTimerId); }

void CChildView::Invalidate() { InvalidateRect(m_window, nullptr, FALSE); }

// The frame lays its children out on WM_SIZE.
void CChildView::Relayout()
{
    RECT client = {};
    GetClientRect(m_parent, &client);
    SendMessageW(m_parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void CChildView::ReportRecreateFailure(int samples, bool restored)
{
    std::wstring text;
    if (!restored) {
        text = ResourceString(IDS_RESTORE_FAILED);
    } else if (samples > 0) {
        const std::wstring format = ResourceString(IDS_RECREATE_FAILED);
        wchar_t buffer[512] = {};
        _snwprintf(buffer, 511, format.c_str(), samples);
        text = buffer;
    } else {
        text = ResourceString(IDS_RECREATE_PLAIN_FAILED);
    }
    MessageBoxW(m_parent, text.c_str(), ResourceString(IDS_ERROR_CAPTION).c_str(), MB_OK | MB_ICONERROR);
}

void CChildView::CloseProgram() { PostMessageW(m_parent, WM_CLOSE, 0, 0); }

bool CChildView::OnCommand(int id) { return m_state.Execute(id, m_renderer.Formats(), *this) || UpdateCommand(id, nullptr); }

bool CChildView::UpdateCommand(int id, CommandUi* ui) const
{
    CommandUi state = {};
    if (!ViewCommandUi(id, m_state.Running(), m_state.Samples(), m_renderer.Formats(), &state))
        return false;
    if (ui)
        *ui = state;
    return true;
}

LRESULT CALLBACK CChildView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = reinterpret_cast<CChildView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!view || view->m_window != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return view->Handle(message, wParam, lParam);
}

LRESULT CChildView::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(m_window, &paint);
        m_renderer.Paint(m_state.Running());
        EndPaint(m_window, &paint);
        if (m_frameDrawn)
            m_frameDrawn();
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    // Invalidation is cumulative, so ticks during a slow frame merge into
    // one paint and the animation counts frames, not time.
    case WM_TIMER:
        InvalidateRect(m_window, nullptr, FALSE);
        break;
    case WM_SIZE:
        DefWindowProcW(m_window, message, wParam, lParam);
        m_renderer.Resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        m_renderer.Destroy();
        break;
    default:
        if (takeDisplayInput(m_window, message, wParam, lParam, m_renderer, m_placed))
            return 0;
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}
