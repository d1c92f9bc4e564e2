#include "display_renderer.h"

#include <clocale>
#include <cstdio>
#include <ctime>

#include "cpu_formats.h"
#include "gr.h"
#include "gr_display.h"

const char* const kImageLoadFailedText = "Ошибка загрузки символов.";
const char* const kFontLoadFailedText = "Ошибка загрузки шрифтов.";
const char* const kErrorCaption = "Ошибка";

std::string startupFailureLine(const char* text, const char* detail)
{
    std::string line = std::string(kErrorCaption) + ": " + text;
    if (detail && *detail)
        line += std::string(" ") + detail;
    return line;
}

namespace {

// True until the first paint of the program run, which computes the initial
// animated values even while paused.
bool firstPaint = true;

constexpr float kScratchGrowth = 1.5f;
constexpr float kPixelOffset = 0.375f;
constexpr float kViewGrey = 0.082f;

}  // namespace

bool DisplayRenderer::Init(PixelFormatProbe& probe)
{
    surface_ = nullptr;
    hasContext_ = false;
    if (!formats_.Probe(probe))
        return false;
    std::setlocale(LC_CTYPE, "");
    grSeedRandom(static_cast<uint32_t>(std::time(nullptr)));
    return true;
}

bool DisplayRenderer::Create(RenderSurface* surface, int samples, const GrTables* tables)
{
    if (!surface || !surface->Bind())
        return false;
    surface_ = surface;
    const int format = formats_.FormatFor(samples);
    if (format < 0 || !surface->CreateContext(format))
        return false;
    hasContext_ = true;
    if (!surface->MakeCurrent())
        return false;

    const std::string backend = cpu_ ? cpuBackendName(samples) : backend_;
    if (!grSelectBackend(backend.c_str(), loader_)) {
        surface->ReportError(("No drawing backend is called " + backend + ".").c_str(), "", kErrorCaption);
        Destroy();
        return false;
    }
    grUseTables(tables ? tables : display_.descriptor->tables);
    grSetImageFolder(display_.imageFolder.empty() ? nullptr : display_.imageFolder.c_str());
    const int result = grInit(kScratchGrowth);
    if (result == GR_INIT_OK)
        return true;
    if (result == GR_INIT_IMAGES_FAILED || result == GR_INIT_FONTS_FAILED) {
        const bool images = result == GR_INIT_IMAGES_FAILED;
        const char* text = images ? kImageLoadFailedText : kFontLoadFailedText;
        const char* detail = images ? grImageError() : grFontError();
        // Whatever the surface shows, a terminal or a log learns the file.
        std::fprintf(stderr, "%s\n", startupFailureLine(text, detail).c_str());
        surface->ReportError(text, detail, kErrorCaption);
    } else if (result == GR_INIT_BACKEND_FAILED) {
        std::fprintf(stderr, "%s\n", grBackendError());
        surface->ReportError(grBackendError(), "", kErrorCaption);
    }
    Destroy();
    return false;
}

void DisplayRenderer::Destroy()
{
    // The library deletes its textures in the context, so it goes first.
    if (hasContext_)
        grShutdown();
    if (!surface_)
        return;
    if (hasContext_) {
        surface_->DeleteContext();
        hasContext_ = false;
    }
    if (surface_->Exists()) {
        surface_->Release();
        surface_ = nullptr;
    }
}

void DisplayRenderer::Resize(int width, int height)
{
    width_ = width;
    height_ = height;
    if (!hasContext_)
        return;
    if (!place_) {
        setDisplayProjection(width, height);
        return;
    }
    const GrPlacement placement = place_(width, height);
    grSetPlacedProjection(width, height, &placement, kPixelOffset);
}

void setDisplayProjection(int width, int height)
{
    // The shift puts primitives' half-unit edges clear of pixel centres.
    grSetProjection(width, height, kDisplayMargin, kDisplayMargin, kPixelOffset);
}

void clearFrame()
{
    grClearFrame(kViewGrey, kViewGrey, kViewGrey, 0.0f);
}

void DisplayRenderer::Paint(bool running)
{
    events_.Deliver(displayEventEntry(*display_.descriptor), unusedEvent_);
    if (firstPaint || running) {
        if (beforeUpdate_)
            beforeUpdate_();
        display_.descriptor->updateDisplayModel();
    }
    firstPaint = false;
    if (afterModel_)
        afterModel_();
    if (!hasContext_)
        return;
    clearFrame();
    grBeginFrame();
    display_.descriptor->drawDisplay();
    if (afterDraw_)
        afterDraw_();
    grEndFrame();
    surface_->SwapBuffers();
}
