// What puts the display's frames on the kiosk's surface. The GL through EGL
// is one presenter; one drawing on the processor into shared-memory buffers
// sits beside it behind the same steps, and the view never knows which.
#pragma once

#include <functional>
#include <string>

#include "gr_display.h"
#include "pixel_format_table.h"

class FramePresenter {
public:
    virtual ~FramePresenter() = default;
    // Finds what the presenter can draw with; once, before Start. False with
    // the reason in *error.
    virtual bool Prepare(std::string* error) = 0;
    // The sample counts it offers (known after Prepare).
    virtual const PixelFormatTable& Formats() const = 0;
    // Makes the drawing target for samples at width x height and starts the
    // drawing library in it. False with the reason in *error (empty when
    // the user has been told already).
    virtual bool Start(int samples, int width, int height, std::string* error) = 0;
    // Ends the drawing library and releases the target; safe to repeat.
    virtual void Stop() = 0;
    virtual bool Started() const = 0;
    virtual void Resize(int width, int height) = 0;
    // Where the display goes in a surface of a given size, from the next
    // Start or Resize on.
    virtual void SetPlacement(std::function<GrPlacement(int width, int height)> place) = 0;
    // Draws one frame (the animated values advance while running and on the
    // first frame of the run) and hands it to the compositor.
    virtual void Present(bool running) = 0;
};
