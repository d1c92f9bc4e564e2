// The pixel-format probe on WGL: a hidden window with the plain format and
// a temporary context, and the ARB pixel-format query for multisampled
// formats. Everything it made goes with the probe object.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "pixel_format_table.h"

// The integer attributes every multisampled format must match, as
// wglChoosePixelFormatARB takes them: pairs ending in 0, 0.
std::vector<int> multisampleAttributes(bool swapExchange);

class WglProbe : public PixelFormatProbe {
public:
    WglProbe() = default;
    ~WglProbe() override;
    WglProbe(const WglProbe&) = delete;
    WglProbe& operator=(const WglProbe&) = delete;

    bool ChoosePlainFormat(int* format) override;
    bool HasMultisampleExtension() override;
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override;
    bool QuerySamples(int format, int* samples) override;
    const std::string& Error() const { return error_; }

    // Whether the device context's extension string names the extension.
    bool HasWglExtension(HDC dc, const char* name);

private:
    void Release();

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    std::string error_;
};

// The descriptor of the plain double-buffered RGBA format with stencil.
PIXELFORMATDESCRIPTOR plainFormatDescriptor();

// The window class of windows that need nothing from it (no style, cursor,
// brush or icon); registered once.
const wchar_t* plainWindowClass();
