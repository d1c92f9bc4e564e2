#include "canvas2d_surface.h"

#include <emscripten/emscripten.h>

#include <cstring>

#include "display_renderer.h"
#include "gr_display.h"
#include "page_bridge.h"

namespace {

// The canvas's 2-D context, opaque as the WebGL canvas is; false without one.
EM_JS(int, jsHasCanvas2d, (), {
    const canvas = document.getElementById('canvas');
    return canvas && canvas.getContext('2d', {alpha : false}) ? 1 : 0;
});

// Puts width x height RGBA pixels, top row first, from the module's memory
// onto the canvas: a view on the memory, not a copy (ImageData takes
// unpremultiplied colour, which opaque pixels are either way).
EM_JS(void, jsPutFrame, (const uint8_t* rgba, int width, int height), {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    document.getElementById('canvas').getContext('2d').putImageData(new ImageData(pixels, width, height), 0, 0);
});

// Copies the canvas's width x height pixels, top row first, into rgba.
EM_JS(int, jsReadCanvas, (uint8_t* rgba, int width, int height), {
    const context = document.getElementById('canvas').getContext('2d');
    if (!context)
        return 0;
    HEAPU8.set(context.getImageData(0, 0, width, height).data, rgba);
    return 1;
});

// The library's rows come bottom first with the clear's alpha (0, the view
// needs none); the canvas takes them top first and opaque, or an
// unpremultiplied transparent pixel would lose its colour.
void uprightOpaque(const uint8_t* stored, int width, int height, uint8_t* shown)
{
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = stored + static_cast<size_t>(height - 1 - y) * row;
        uint8_t* to = shown + static_cast<size_t>(y) * row;
        std::memcpy(to, from, row);
        for (size_t alpha = 3; alpha < row; alpha += 4)
            to[alpha] = 255;
    }
}

}  // namespace

Canvas2dSurface::Canvas2dSurface(int width, int height)
    : width_(width), height_(height), stored_(static_cast<size_t>(width) * height * 4), shown_(stored_.size())
{
}

bool Canvas2dSurface::Bind()
{
    if (!exists_)
        pageMakeCanvas(width_, height_);
    exists_ = jsHasCanvas2d() != 0;
    if (!exists_)
        pageShowError(kErrorCaption, "the browser gives the page's canvas no 2-D context to draw on");
    return exists_;
}

void Canvas2dSurface::SwapBuffers()
{
    if (!grReadPixels(width_, height_, stored_.data())) {
        // Once: the same failure would otherwise be said every 40 ms.
        if (!complained_)
            pageShowError(kErrorCaption, "the drawn frame cannot be read from the drawing library");
        complained_ = true;
        return;
    }
    uprightOpaque(stored_.data(), width_, height_, shown_.data());
    jsPutFrame(shown_.data(), width_, height_);
}

std::vector<uint8_t> Canvas2dSurface::ReadFrame() const
{
    std::vector<uint8_t> frame(shown_.size());
    if (!exists_ || !jsReadCanvas(frame.data(), width_, height_))
        return {};
    return frame;
}
