#include "cpu_window_surface.h"

#include <wx/dc.h>
#include <wx/graphics.h>
#include <wx/window.h>

#include <cairo.h>

#include <cstdio>

#include "error_box.h"
#include "gr_display.h"
#include "xrgb_rows.h"

CpuWindowSurface::CpuWindowSurface(wxWindow* window) : window_(window) {}

CpuWindowSurface::~CpuWindowSurface()
{
    if (image_)
        cairo_surface_destroy(image_);
}

bool CpuWindowSurface::Bind() { return window_->GetHandle() != nullptr; }

bool CpuWindowSurface::Exists() const { return !window_->IsBeingDeleted(); }

bool CpuWindowSurface::SizeImage(int width, int height)
{
    if (image_ && cairo_image_surface_get_width(image_) == width && cairo_image_surface_get_height(image_) == height)
        return true;
    if (image_)
        cairo_surface_destroy(image_);
    image_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    // The library reads back tightly packed rows, so cairo's must be too.
    if (cairo_surface_status(image_) != CAIRO_STATUS_SUCCESS || cairo_image_surface_get_stride(image_) != 4 * width) {
        cairo_surface_destroy(image_);
        image_ = nullptr;
        return false;
    }
    const double scale = window_->GetContentScaleFactor();
    cairo_surface_set_device_scale(image_, scale, scale);
    return true;
}

void CpuWindowSurface::SwapBuffers()
{
    const wxSize size = window_->GetClientSize() * window_->GetContentScaleFactor();
    if (size.x <= 0 || size.y <= 0)
        return;
    if (!SizeImage(size.x, size.y)) {
        Complain("no image of the view's size can be made");
        return;
    }
    cairo_surface_flush(image_);
    uint8_t* data = cairo_image_surface_get_data(image_);
    if (grReadPixels(size.x, size.y, data))
        flipRgbaIntoXrgb(data, size.x, size.y, cairo_image_surface_get_stride(image_));
    else
        Complain("the drawn frame cannot be read");
    cairo_surface_mark_dirty(image_);
}

// Once: the same failure would otherwise be said every 40 ms.
void CpuWindowSurface::Complain(const char* failure)
{
    if (complained_)
        return;
    complained_ = true;
    std::fprintf(stderr, "instrument-panel: %s (%d x %d)\n", failure, window_->GetClientSize().x,
                 window_->GetClientSize().y);
}

void CpuWindowSurface::ShowFrame(wxDC& dc)
{
    wxGraphicsContext* context = dc.GetGraphicsContext();
    auto* cr = context ? static_cast<cairo_t*>(context->GetNativeContext()) : nullptr;
    if (!cr || !image_)
        return;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image_, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

void CpuWindowSurface::ReportError(const char* text, const char* detail, const char* caption)
{
    ShowErrorBox(window_, text, detail, caption);
}
