// The page's canvas as the renderer's surface: a WebGL 2 context on a fresh
// canvas element per context, and a multisampled framebuffer of the chosen
// sample count, drawn upside down, that each frame is resolved from and
// turned upright onto the canvas (WebGL's own antialiasing lets the browser
// pick the count).
#pragma once

#include <emscripten/html5_webgl.h>

#include <cstdint>
#include <vector>

#include "page_surface.h"
#include "pixel_format_table.h"

// The pixel formats of the browser's WebGL 2: the plain canvas, and one
// multisampled format per sample count the browser offers for colour and
// stencil renderbuffers together; a format's id is its sample count.
class WebGlProbe : public PixelFormatProbe {
public:
    bool ChoosePlainFormat(int* format) override;
    bool HasMultisampleExtension() override { return !counts_.empty(); }
    bool ChooseMultisampleFormats(bool swapExchange, std::vector<int>* formats) override;
    bool QuerySamples(int format, int* samples) override;

private:
    std::vector<int> counts_;
};

// The backend that draws on WebGL 2 (OpenGL ES 3.0), and where it finds
// the context's entry points.
constexpr const char* kWebGlBackend = "es3";
void* webGlProcAddress(const char* name);

class WebGlSurface : public PageSurface {
public:
    WebGlSurface(int width, int height) : width_(width), height_(height) {}
    ~WebGlSurface() override { DeleteContext(); }

    bool Bind() override;
    bool CreateContext(int format) override;
    bool MakeCurrent() override;
    void DeleteContext() override;
    bool Exists() const override { return exists_; }
    void Release() override { exists_ = false; }
    void SwapBuffers() override;
    void Finish() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::vector<uint8_t> ReadFrame() const override;

private:
    bool CreateMultisampleTarget(int samples);
    void DeleteMultisampleTarget();

    int width_;
    int height_;
    bool exists_ = false;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_ = 0;
    unsigned framebuffer_ = 0;  // 0: the frame is drawn on the canvas itself
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
    unsigned resolved_ = 0;  // the multisampled frame resolved, still upside down
    unsigned resolvedColour_ = 0;
};
