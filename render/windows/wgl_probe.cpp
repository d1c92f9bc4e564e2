#include "wgl_probe.h"

#include <GL/gl.h>
#include <GL/wglext.h>

#include <algorithm>

#include "wgl_extensions.h"

namespace {

constexpr int kMaxFormats = kMaxMultisampleFormats;

template <typename Function>
Function wglEntry(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

}  // namespace

std::vector<int> multisampleAttributes(bool swapExchange)
{
    return {
        WGL_DRAW_TO_WINDOW_ARB, 1,
        WGL_SUPPORT_OPENGL_ARB, 1,
        WGL_ACCELERATION_ARB, WGL_FULL_ACCELERATION_ARB,
        WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_ARB,
        WGL_COLOR_BITS_ARB, 24,
        WGL_ALPHA_BITS_ARB, 8,
        WGL_ACCUM_BITS_ARB, 0,
        WGL_DEPTH_BITS_ARB, 0,
        WGL_STENCIL_BITS_ARB, 1,
        WGL_DOUBLE_BUFFER_ARB, 1,
        WGL_SWAP_METHOD_ARB, swapExchange ? WGL_SWAP_EXCHANGE_ARB : WGL_SWAP_COPY_ARB,
        WGL_SAMPLE_BUFFERS_ARB, 1,
        0, 0,
    };
}

PIXELFORMATDESCRIPTOR plainFormatDescriptor()
{
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cAlphaBits = 8;
    descriptor.cStencilBits = 1;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

const wchar_t* plainWindowClass()
{
    static const wchar_t* const kName = L"InstrumentPanelPlain";
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kName;
        registered = RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return kName;
}

WglProbe::~WglProbe() { Release(); }

void WglProbe::Release()
{
    if (context_) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
        context_ = nullptr;
    }
    if (window_) {
        if (dc_)
            ReleaseDC(window_, dc_);
        DestroyWindow(window_);
    }
    window_ = nullptr;
    dc_ = nullptr;
}

bool WglProbe::ChoosePlainFormat(int* format)
{
    Release();
    window_ = CreateWindowExW(0, plainWindowClass(), L"", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        error_ = "cannot create the probe's hidden window";
        return false;
    }
    dc_ = GetDC(window_);
    const PIXELFORMATDESCRIPTOR descriptor = plainFormatDescriptor();
    const int chosen = dc_ ? ChoosePixelFormat(dc_, &descriptor) : 0;
    if (chosen == 0 || !SetPixelFormat(dc_, chosen, &descriptor)) {
        error_ = "no plain pixel format can be chosen and set";
        Release();
        return false;
    }
    context_ = wglCreateContext(dc_);
    if (!context_ || !wglMakeCurrent(dc_, context_)) {
        error_ = "no GL context can be made current on the plain pixel format";
        Release();
        return false;
    }
    *format = chosen;
    return true;
}

bool WglProbe::HasWglExtension(HDC dc, const char* name)
{
    const auto query = wglEntry<PFNWGLGETEXTENSIONSSTRINGARBPROC>("wglGetExtensionsStringARB");
    const char* wglText = query ? query(dc) : nullptr;
    const char* glText = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return wglExtensionListed(query != nullptr, wglText, glText, name);
}

bool WglProbe::HasMultisampleExtension()
{
    return dc_ && HasWglExtension(dc_, "WGL_ARB_pixel_format") && HasWglExtension(dc_, "WGL_ARB_multisample");
}

bool WglProbe::ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats)
{
    const auto choose = wglEntry<PFNWGLCHOOSEPIXELFORMATARBPROC>("wglChoosePixelFormatARB");
    const auto query = wglEntry<PFNWGLGETPIXELFORMATATTRIBIVARBPROC>("wglGetPixelFormatAttribivARB");
    if (!dc_ || !choose || !query)
        return false;
    const std::vector<int> integers = multisampleAttributes(swapExchange);
    const FLOAT floats[2] = {0.0f, 0.0f};
    int found[kMaxFormats] = {};
    UINT count = 0;
    if (!choose(dc_, integers.data(), floats, kMaxFormats, found, &count))
        return false;
    formats->assign(found, found + std::min<UINT>(count, kMaxFormats));
    return true;
}

bool WglProbe::QuerySamples(int format, int* samples)
{
    const auto query = wglEntry<PFNWGLGETPIXELFORMATATTRIBIVARBPROC>("wglGetPixelFormatAttribivARB");
    const int attribute = WGL_SAMPLES_ARB;
    return dc_ && query && query(dc_, format, 0, 1, &attribute, samples);
}
