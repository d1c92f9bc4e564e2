#include "decoder_startup.h"

#include "gdiplus_flat.h"

// GDI+ stays started until the process ends.
bool startImageDecoder()
{
    static bool started = false;
    if (started)
        return true;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    return started;
}
