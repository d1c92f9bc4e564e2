// The program's start-up on Windows: the display module of --display, common
// controls, OLE, the main frame with its view first, then the message loop
// with idle-time updates.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <new>
#include <string>
#include <vector>

#include "data_option.h"
#include "display_option.h"
#include "main_frame.h"
#include "resource.h"
#include "shell_text.h"

namespace {

void outOfMemory() { throw std::bad_alloc(); }

// A program started from a script or a redirected console has a standard
// error to write to; one started from Explorer gets a message box instead.
void reportStartupError(const std::string& message)
{
    const std::string line = "instrument-panel: " + message + "\n";
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (error && error != INVALID_HANDLE_VALUE &&
        WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return;
    MessageBoxW(nullptr, WideFromUtf8(message).c_str(), ResourceString(AFX_IDS_APP_TITLE).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

// Takes --display MODULE out of the command line and selects the module's
// display, then attaches the --data sources to it; the exit status on
// failure (2 for a bad option, 1 for a refused module or source, as on
// Linux), 0 otherwise.
int selectDisplayFromCommandLine()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        reportStartupError("cannot read the command line");
        return 2;
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
    std::string error;
    int status = selectDisplayOfOption(&argc, argv.data(), &error);
    if (status == 0)
        status = attachDataOfOptions(&argc, argv.data(), &error);
    if (status != 0)
        reportStartupError(error);
    return status;
}

int runMessageLoop(CMainFrame* frame)
{
    MSG message;
    for (;;) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && frame->Window())
            frame->OnIdle();
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0)
            return got == 0 ? static_cast<int>(message.wParam) : 1;
        HWND window = frame->Window();
        if (window && TranslateAcceleratorW(window, frame->Accelerators(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::set_new_handler(outOfMemory);
    if (const int status = selectDisplayFromCommandLine())
        return status;
    InitCommonControls();
    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxW(nullptr, ResourceString(IDP_OLE_INIT_FAILED).c_str(), ResourceString(AFX_IDS_APP_TITLE).c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    // The frame deletes itself with its window.
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(true)) {
        OleUninitialize();
        return 1;
    }
    // SW_SHOW whatever show state the program was started with.
    ShowWindow(frame->Window(), SW_SHOW);
    UpdateWindow(frame->Window());
    const int result = runMessageLoop(frame);
    OleUninitialize();
    std::string error;
    if (!programFeed().Detach(&error)) {
        reportStartupError(error);
        return result == 0 ? 1 : result;
    }
    return result;
}
