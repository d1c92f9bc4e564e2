// The program's start-up on Windows: common controls, OLE, the main frame
// with its view first, then the message loop with idle-time updates.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <new>

#include "main_frame.h"
#include "resource.h"
#include "shell_text.h"

namespace {

void outOfMemory() { throw std::bad_alloc(); }

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
    return result;
}
