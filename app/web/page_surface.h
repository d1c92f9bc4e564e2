// What the page's host draws into: the canvas, by WebGL 2 (webgl_surface.h)
// or by the drawing library's CPU backend put onto a 2-D canvas
// (canvas2d_surface.h).
#pragma once

#include <cstdint>
#include <vector>

#include "render_surface.h"

class PageSurface : public RenderSurface {
public:
    // Returns once the last frame is on the canvas, so that timing the
    // frames counts all of their work.
    virtual void Finish() = 0;
    // The frame on the canvas, top row first, RGBA with alpha opaque as the
    // page shows it; empty without a frame.
    virtual std::vector<uint8_t> ReadFrame() const = 0;
    // The page shows the detail (the file and the cause) under the message.
    void ReportError(const char* text, const char* detail, const char* caption) override;
};
