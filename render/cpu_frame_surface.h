// What the renderer draws into with the drawing library's CPU backend: the
// library keeps the frame in its own memory, so there is no drawable, no
// context and no GL; the "formats" are the backend's sample counts
// (cpu_formats.h).
#pragma once

#include "render_surface.h"

class CpuFrameSurface : public RenderSurface {
public:
    bool Bind() override { return true; }
    bool CreateContext(int format) override { return format >= 0; }
    bool MakeCurrent() override { return true; }
    void DeleteContext() override {}
    bool Exists() const override { return true; }
    void Release() override {}
    // The library's grEndFrame has finished the frame already.
    void SwapBuffers() override {}
    // Headless: the renderer has written the failure to stderr.
    void ReportError(const char*, const char*, const char*) override { reported_ = true; }

    bool Reported() const { return reported_; }

private:
    bool reported_ = false;
};
