#include "canvas_surface.h"

#include <wx/glcanvas.h>

#include "error_box.h"
#include "native_window.h"

// After the toolkit's headers: Xlib's macros (Status, None, ...) would
// clash with names in them.
#include <GL/glx.h>

CanvasSurface::CanvasSurface(wxGLCanvas* canvas) : canvas_(canvas) {}

CanvasSurface::~CanvasSurface() = default;

bool CanvasSurface::Bind()
{
    RealizeNativeWindow(canvas_);
    return canvas_->GetXWindow() != 0;
}

bool CanvasSurface::CreateContext(int format)
{
    if (CanvasFormat(*canvas_) != format)
        return false;
    context_ = std::make_unique<wxGLContext>(canvas_);
    return context_->IsOK();
}

bool CanvasSurface::MakeCurrent()
{
    return context_ && canvas_->GetXWindow() != 0 && context_->SetCurrent(*canvas_);
}

void CanvasSurface::DeleteContext()
{
    if (context_)
        glXMakeCurrent(wxGetX11Display(), None, nullptr);
    context_.reset();
}

bool CanvasSurface::Exists() const { return !canvas_->IsBeingDeleted(); }

// The X window belongs to the canvas and goes with it: nothing to give back.
void CanvasSurface::Release() {}

void CanvasSurface::SwapBuffers() { canvas_->SwapBuffers(); }

void CanvasSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    ShowErrorBox(canvas_, text, detail, caption);
}

int CanvasFormat(const wxGLCanvas& canvas)
{
    GLXFBConfig* configs = canvas.GetGLXFBConfig();
    int id = -1;
    if (!configs || glXGetFBConfigAttrib(wxGetX11Display(), configs[0], GLX_FBCONFIG_ID, &id) != Success)
        return -1;
    return id;
}
