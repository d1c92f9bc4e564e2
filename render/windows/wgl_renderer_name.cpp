#include "wgl_renderer_name.h"

#include <windows.h>
#include <GL/gl.h>

namespace {

// Everything made for the question, released in reverse order.
struct ThrowawayContext {
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    ~ThrowawayContext()
    {
        if (context) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context);
        }
        if (dc)
            ReleaseDC(window, dc);
        if (window)
            DestroyWindow(window);
    }
};

}  // namespace

bool wglRendererName(std::string* name, std::string* error)
{
    ThrowawayContext made;
    made.window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    made.dc = made.window ? GetDC(made.window) : nullptr;
    if (!made.dc) {
        *error = "no window to ask the GL with";
        return false;
    }
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 32;
    const int format = ChoosePixelFormat(made.dc, &wanted);
    if (format == 0 || !SetPixelFormat(made.dc, format, &wanted)) {
        *error = "no OpenGL pixel format for a window";
        return false;
    }
    made.context = wglCreateContext(made.dc);
    if (!made.context || !wglMakeCurrent(made.dc, made.context)) {
        *error = "WGL cannot make a context current";
        return false;
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer) {
        *error = "the GL names no renderer";
        return false;
    }
    *name = renderer;
    return true;
}
