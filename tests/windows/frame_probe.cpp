// frame_probe.exe: what the program's running frame shows, for the scripts
// that drive it under Wine. Prints, as UTF-8 lines,
//   status: TEXT        the status bar's message pane
//   view: X Y W H       the view's client area in screen pixels
// and exits 1 when no frame of the program is open.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

}  // namespace

int main()
{
    HWND frame = FindWindowW(L"InstrumentPanelFrame", nullptr);
    if (!frame) {
        std::fprintf(stderr, "frame_probe: no frame of instrument-panel is open\n");
        return 1;
    }
    // WM_GETTEXT is carried between processes; a status bar answers it with
    // its first pane.
    HWND bar = FindWindowExW(frame, nullptr, STATUSCLASSNAMEW, nullptr);
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!bar || !SendMessageTimeoutW(bar, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                                     &copied)) {
        std::fprintf(stderr, "frame_probe: the frame has no status bar that answers\n");
        return 1;
    }
    std::printf("status: %s\n", utf8(text).c_str());
    HWND view = FindWindowExW(frame, nullptr, L"InstrumentPanelView", nullptr);
    RECT client = {};
    POINT origin = {0, 0};
    if (!view || !GetClientRect(view, &client) || !ClientToScreen(view, &origin)) {
        std::fprintf(stderr, "frame_probe: the frame has no view\n");
        return 1;
    }
    std::printf("view: %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
}
