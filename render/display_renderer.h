// Everything OpenGL for one view: the probed formats (once per run), the
// context of the current surface, viewport and projection, and the frame.
#pragma once

#include <string>
#include <functional>

#include "display_events.h"
#include "display_module.h"
#include "gr_display.h"
#include "pixel_format_table.h"
#include "render_surface.h"

struct GrTables;

// Texts of the start-up failures of the drawing library.
extern const char* const kImageLoadFailedText;
extern const char* const kFontLoadFailedText;
extern const char* const kErrorCaption;

// The line stderr gets for a start-up failure: "CAPTION: TEXT DETAIL", the
// detail (the file and the cause) left out when empty.
std::string startupFailureLine(const char* text, const char* detail);

// The display's origin lies this many pixels right of and above the view's
// lower left corner.
constexpr double kDisplayMargin = 10.0;

// Viewport and projection for a view of width x height pixels: one unit a
// pixel, y upwards, origin kDisplayMargin pixels in from the lower left.
void setDisplayProjection(int width, int height);

// The clear every frame starts with: colour to the view's grey, stencil to 0.
void clearFrame();

class DisplayRenderer {
public:
    // Probes the pixel formats, sets the character-type locale and seeds the
    // random generator; once per program run.
    bool Init(PixelFormatProbe& probe);
    // Shows display from the next Create on; the selected display until then.
    void SetDisplay(const HostedDisplay& display) { display_ = display; }
    // Draws through the named backend of the drawing library ("gl1" by
    // default; see grSelectBackend) from the next Create on; loader finds
    // the context's GL entry points.
    void UseBackend(const std::string& name, GrProcLoader loader)
    {
        backend_ = name;
        loader_ = loader;
        cpu_ = false;
    }
    // Draws through the library's CPU backend from the next Create on, with
    // that Create's sample count (see cpu_formats.h); the surface then needs
    // no GL context.
    void UseCpuBackend()
    {
        loader_ = nullptr;
        cpu_ = true;
    }
    const HostedDisplay& Display() const { return display_; }
    // Creates the context on surface with the table's format for samples and
    // starts the drawing library in it with tables (null: the display's).
    bool Create(RenderSurface* surface, int samples, const GrTables* tables = nullptr);
    // Releases the drawing library and the context; safe to call repeatedly.
    void Destroy();
    void Resize(int width, int height);
    // Runs one frame; the animated values advance while running and on the
    // first paint of the program run.
    void Paint(bool running);
    const PixelFormatTable& Formats() const { return formats_; }
    // Where the display goes in a view of a given size, from the next Resize
    // on; without one the display sits 1:1 kDisplayMargin pixels in from the
    // lower left corner.
    void SetPlacement(std::function<GrPlacement(int width, int height)> place) { place_ = std::move(place); }
    // Runs before each UpdateDisplayModel: where a host feeds the inputs.
    void SetBeforeUpdate(std::function<void()> hook) { beforeUpdate_ = std::move(hook); }
    // Runs after the display has drawn, in the same frame and projection:
    // where a host draws over it (a status the display knows nothing of).
    void SetAfterDraw(std::function<void()> hook) { afterDraw_ = std::move(hook); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Runs on every paint after the events and the update, before the
    // drawing: where a host collects the display's outputs.
    void SetAfterModel(std::function<void()> hook) { afterModel_ = std::move(hook); }
    // Whether the display takes events at all.
    bool TakesEvents() const { return displayEventEntry(*display_.descriptor) != nullptr; }
    // Any thread: an event for the display, delivered at the next Paint
    // before the update, paused or not. The host repaints to deliver it.
    void QueueEvent(const GrEvent& event) { events_.Queue(event); }
    const DisplayEvents& Events() const { return events_; }
    // Gets, at delivery, each event the display returned 0 for: where a
    // host keeps a key for itself unless the display uses it.
    void SetUnusedEvent(std::function<void(const GrEvent&)> hook) { unusedEvent_ = std::move(hook); }

private:
    RenderSurface* surface_ = nullptr;
    bool hasContext_ = false;
    PixelFormatTable formats_;
    HostedDisplay display_ = selectedDisplay();
    std::string backend_ = "gl1";
    GrProcLoader loader_ = nullptr;
    bool cpu_ = false;
    std::function<void()> beforeUpdate_;
    std::function<void()> afterModel_;
    DisplayEvents events_;
    std::function<void(const GrEvent&)> unusedEvent_;
    std::function<GrPlacement(int, int)> place_;
    std::function<void()> afterDraw_;
    int width_ = 0;
    int height_ = 0;
};
