// The program's start-up on Windows: the display module of --display, common
// controls, OLE, the main frame with its view first, then the message loop
// with idle-time updates.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <atomic>
#include <new>
#include <string>
#include <vector>

#include "data_option.h"
#include "display_option.h"
#include "main_frame.h"
#include "renderer_option.h"
#include "resource.h"
#include "shell_text.h"
#include "threads_option.h"
#include "wgl_renderer_name.h"
#include "window_options.h"

namespace {

void outOfMemory() { throw std::bad_alloc(); }

// A program started from a script or a redirected console has a standard
// output and error to write to; one started from Explorer gets a message box
// instead.
void tellUser(DWORD stream, const std::string& line, UINT icon)
{
    HANDLE handle = GetStdHandle(stream);
    DWORD written = 0;
    if (handle && handle != INVALID_HANDLE_VALUE &&
        WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return;
    MessageBoxW(nullptr, WideFromUtf8(line).c_str(), ResourceString(AFX_IDS_APP_TITLE).c_str(), MB_OK | icon);
}

void reportStartupError(const std::string& message)
{
    tellUser(STD_ERROR_HANDLE, "instrument-panel: " + message + (message.back() == '\n' ? "" : "\n"),
             MB_ICONEXCLAMATION);
}

// Reads the command line as on Linux: kStartProgram, or the exit status
// (0 for --help, 1 for a refused module or data source, 2 for a bad option).
int readCommandLine()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        reportStartupError("cannot read the command line");
        return kExitUsage;
    }
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
        args.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int argc = count;
    std::string out, error;
    DataOptions data;
    int status = kStartProgram;
    if (!takeDataOptions(&argc, argv.data(), &data, &error) ||
        !takeRendererOption(&argc, argv.data(), &programRenderer(), &error) ||
        !takeWindowOptions(&argc, argv.data(), &programWindowOptions(), &error) ||
        !takeThreadsOption(&argc, argv.data(), &error)) {
        error += std::string("\n") + kProgramUsage;
        status = kExitUsage;
    } else {
        status = readProgramCommandLine(&argc, argv.data(), &out, &error);
        if (status == kStartProgram && attachDataOfOptions(data, &error) != 0)
            status = kExitRefused;
    }
    if (!out.empty())
        tellUser(STD_OUTPUT_HANDLE, out, MB_ICONINFORMATION);
    if (!error.empty())
        reportStartupError(error);
    return status;
}

// The frame's window, for the console's stop events (they come on a thread
// of their own).
std::atomic<HWND> g_frameWindow{nullptr};

// Ctrl+C, Ctrl+Break or the console closing, for a program started from a
// console: the window is asked to close, as File > Exit does, so that the
// recording ends whole. On the console's close the system ends the process
// when the handler returns: it waits a while for the program to finish.
BOOL WINAPI closeOnConsoleStop(DWORD event)
{
    HWND window = g_frameWindow;
    if (!window || !PostMessageW(window, WM_CLOSE, 0, 0))
        return FALSE;
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        Sleep(4000);
    return TRUE;
}

int runMessageLoop(CMainFrame* frame)
{
    // The frame deletes itself with its window: once the window is gone,
    // messages still queued ahead of WM_QUIT are dispatched without it.
    const HWND frameWindow = frame->Window();
    MSG message = {};
    for (;;) {
        // A frame slower than the timer's period leaves the queue never
        // empty (the next tick is due when the paint ends): the bars are
        // brought up to date after every paint as well.
        const bool painted = message.message == WM_PAINT;
        if ((painted || !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) && IsWindow(frameWindow))
            frame->OnIdle();
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0)
            return got == 0 ? static_cast<int>(message.wParam) : 1;
        if (IsWindow(frameWindow)) {
            if (frame->HandleWindowKey(message))
                continue;
            if (TranslateAcceleratorW(frameWindow, frame->Accelerators(), &message))
                continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::set_new_handler(outOfMemory);
    if (const int status = readCommandLine(); status != kStartProgram)
        return status;
    InitCommonControls();
    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxW(nullptr, ResourceString(IDP_OLE_INIT_FAILED).c_str(), ResourceString(AFX_IDS_APP_TITLE).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    // auto asks the GL its name first: a software rasteriser ("GDI Generic")
    // draws slower than the CPU backend.
    std::string glName, glError;
    const bool glReady = programRenderer() != ProgramRenderer::Auto || wglRendererName(&glName, &glError);
    const RendererChoice choice = chooseRenderer(programRenderer(), glReady, glName, glError);
    programRenderer() = choice.renderer;
    programRendererReason() = choice.why;
    // The frame deletes itself with its window.
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(true)) {
        OleUninitialize();
        return kExitRefused;
    }
    // SW_SHOW whatever show state the program was started with.
    ShowWindow(frame->Window(), SW_SHOW);
    frame->ShowAsAsked();
    UpdateWindow(frame->Window());
    g_frameWindow = frame->Window();
    SetConsoleCtrlHandler(closeOnConsoleStop, TRUE);
    const int result = runMessageLoop(frame);
    g_frameWindow = nullptr;
    programOutputs().Detach();
    OleUninitialize();
    std::string error;
    if (!programFeed().Detach(&error)) {
        reportStartupError(error);
        return result == 0 ? 1 : result;
    }
    return result;
}
