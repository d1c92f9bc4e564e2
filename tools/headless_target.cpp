#include "headless_target.h"

#include <GL/gl.h>

#include "gr_display.h"
#include "snapshot.h"

namespace {

// Errors read after a frame at most: without a context every call errs.
constexpr int kMaxErrorsPerFrame = 64;

}  // namespace

bool HeadlessTarget::Init(DisplayRenderer& renderer, std::string* error)
{
    if (!UsesGl()) {
        CpuFormatProbe probe;
        return renderer.Init(probe);
    }
    HeadlessProbe probe;
    if (renderer.Init(probe))
        return true;
    *error = probe.Error();
    return false;
}

bool HeadlessTarget::Prepare(DisplayRenderer& renderer, int width, int height, std::string* error)
{
    if (!UsesGl()) {
        renderer.UseCpuBackend();
        if (!cpuSurface_)
            cpuSurface_ = std::make_unique<CpuFrameSurface>();
        return true;
    }
    // The surface outlives contexts made again on it: it keeps each
    // configuration's pbuffer (see EglPbufferSurface).
    if (!glSurface_)
        glSurface_ = std::make_unique<HeadlessSurface>(width, height);
    renderer.UseBackend(choice_, headlessProcLoader());
    GlContextKind kind = GlContextKind::Compatibility;
    glContextKindFor(choice_, &kind);
    if (useHeadlessContext(*glSurface_, kind))
        return true;
    *error = "--gl " + choice_ + " is not available on this platform";
    return false;
}

RenderSurface* HeadlessTarget::Surface()
{
    if (glSurface_)
        return glSurface_.get();
    return cpuSurface_.get();
}

void HeadlessTarget::FinishFrame()
{
    // A pbuffer's swap does not wait for the GL: unless each frame is
    // finished here, the driver queues the work of all of them.
    if (UsesGl())
        glFinish();
}

unsigned HeadlessTarget::TakeGlError() { return UsesGl() ? glGetError() : GL_NO_ERROR; }

int HeadlessTarget::DrainGlErrors()
{
    int errors = 0;
    while (errors < kMaxErrorsPerFrame && TakeGlError() != GL_NO_ERROR)
        ++errors;
    return errors;
}

std::string HeadlessTarget::CreateError() const
{
    if (glSurface_ && !glSurface_->Error().empty())
        return glSurface_->Error();
    return UsesGl() ? "cannot create the GL context" : "the CPU backend did not start";
}

bool HeadlessTarget::Reported() const
{
    return glSurface_ ? glSurface_->Reported() : cpuSurface_ && cpuSurface_->Reported();
}

bool HeadlessTarget::Read(int width, int height, RgbaImage* image) const
{
    // The library reads bottom row first; a GL frame drawn upside down (as
    // a window stores it) is top row first already.
    const bool storedTopRowFirst = glSurface_ && glSurface_->TopRowFirst();
    return readFrame(width, height, storedTopRowFirst, image);
}
