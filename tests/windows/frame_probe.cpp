// frame_probe.exe: what the program's running frame shows, for the scripts
// that drive it under Wine. Prints, as UTF-8 lines,
//   status: TEXT        the status bar's message pane
//   view: X Y W H       the view's client area in screen pixels
// and exits 1 when no frame of the program is open.
//   frame_probe --until REGEX SECONDS
// prints "watching" once it reads the status pane, then reads it every
// 5 ms until it matches REGEX, and prints "matched: TIME FRAME TEXT", TIME
// the system's clock in seconds since 1970 when it first matched, FRAME the
// longest between two readings (seconds: the program answers between
// frames, so this holds its longest frame meanwhile, and how late the probe
// itself may have seen the match); exits 1 after SECONDS without a match.
// Started before an event, it times what the program shows without the
// time Wine takes to start a probe.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>
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

// WM_GETTEXT is carried between processes; a status bar answers it with
// its first pane.
bool statusText(HWND frame, std::string* out)
{
    HWND bar = FindWindowExW(frame, nullptr, STATUSCLASSNAMEW, nullptr);
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!bar || !SendMessageTimeoutW(bar, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                                     &copied)) {
        std::fprintf(stderr, "frame_probe: the frame has no status bar that answers\n");
        return false;
    }
    *out = utf8(text);
    return true;
}

double secondsSince1970()
{
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr unsigned long long kTicksTo1970 = 116444736000000000ULL;  // 100 ns ticks from 1601
    return static_cast<double>(ticks - kTicksTo1970) / 1e7;
}

int watch(HWND frame, const std::regex& wanted, double seconds)
{
    std::string text;
    const double until = secondsSince1970() + seconds;
    bool first = true;
    double longest = 0.0;
    for (double read = secondsSince1970(); statusText(frame, &text);) {
        const double now = secondsSince1970();
        longest = std::max(longest, now - read);
        read = now;
        if (first) {
            std::printf("watching\n");
            std::fflush(stdout);
            first = false;
        }
        if (std::regex_search(text, wanted)) {
            std::printf("matched: %.3f %.3f %s\n", now, longest, text.c_str());
            return 0;
        }
        if (now > until) {
            std::fprintf(stderr, "frame_probe: the status pane shows \"%s\" after %.0f s\n", text.c_str(), seconds);
            return 1;
        }
        Sleep(5);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    HWND frame = FindWindowW(L"InstrumentPanelFrame", nullptr);
    if (!frame) {
        std::fprintf(stderr, "frame_probe: no frame of instrument-panel is open\n");
        return 1;
    }
    if (argc == 4 && std::string(argv[1]) == "--until")
        return watch(frame, std::regex(argv[2]), std::atof(argv[3]));
    std::string text;
    if (!statusText(frame, &text))
        return 1;
    std::printf("status: %s\n", text.c_str());
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
