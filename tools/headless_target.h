// The frame a headless tool draws into: an off-screen GL surface for the GL
// backends, or for the CPU backend the library's own frame in memory, with
// no GL at all (no display connection, no context, no driver loaded).
#pragma once

#include <memory>
#include <string>

#include "cpu_formats.h"
#include "cpu_frame_surface.h"
#include "display_renderer.h"
#include "headless.h"
#include "png_file.h"

class HeadlessTarget {
public:
    // choice: a --gl value the tools take (kToolChoiceNames).
    explicit HeadlessTarget(std::string choice) : choice_(std::move(choice)) {}

    bool UsesGl() const { return choice_ != kCpuChoice; }
    const std::string& Choice() const { return choice_; }
    // Probes the sample counts the target offers into renderer's table;
    // false with the reason in *error.
    bool Init(DisplayRenderer& renderer, std::string* error);
    // Makes the width x height surface (once; later calls keep it) and
    // points renderer at the backend; false with the reason where the
    // platform has no context of the kind the backend needs.
    bool Prepare(DisplayRenderer& renderer, int width, int height, std::string* error);
    RenderSurface* Surface();
    // The GL surface; null on the CPU backend.
    HeadlessSurface* GlSurface() { return glSurface_.get(); }
    // Waits until the frame is drawn.
    void FinishFrame();
    // The oldest GL error not read yet, forgotten now (GL_NO_ERROR, 0, when
    // none; always on the CPU backend, which counts refusals in grDiagnostics).
    unsigned TakeGlError();
    // Reads and counts the GL errors raised since the last call.
    int DrainGlErrors();
    // Why the renderer's Create failed, when the surface knows more.
    std::string CreateError() const;
    // Whether the surface has told the user about a start-up failure.
    bool Reported() const;
    // The last frame, top row first and opaque, as a window shows it.
    bool Read(int width, int height, RgbaImage* image) const;

private:
    std::string choice_;
    std::unique_ptr<HeadlessSurface> glSurface_;
    std::unique_ptr<CpuFrameSurface> cpuSurface_;
};
